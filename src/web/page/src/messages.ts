// The message area: what the command line would print on stderr (failures naming file, line
// and field; warnings; numbers read leniently), and what the page itself must say.

import { element } from "./dom";
import type { MessageLevel } from "./protocol";

const TITLES: Record<MessageLevel, string> = { error: "错误", warning: "注意", note: "警告", notice: "提示" };

export class Messages {
  constructor(private readonly area: HTMLElement) {}

  clear(): void {
    this.area.replaceChildren();
  }

  show(level: MessageLevel, text: string): void {
    const item = element("div", { class: `message ${level}`, role: level === "error" ? "alert" : "status" });
    item.append(element("strong", {}, TITLES[level]), element("pre", {}, text));
    this.area.append(item);
    item.scrollIntoView({ block: "nearest" });
  }
}
