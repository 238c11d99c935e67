// The files a run or a step wrote: listed with name, size and records, each with its download,
// all of them in one zip, and, where the browser can (Edge, Chrome), written into a folder the
// surveyor picks, asking before a file there is replaced.

import { zipSync } from "fflate";
import { download, element, sizeText } from "./dom";
import type { ResultFile } from "./protocol";

interface DirectoryHandle {
  name: string;
  getFileHandle(name: string, options?: { create?: boolean }): Promise<{
    createWritable(): Promise<{ write(data: BufferSource | Blob): Promise<void>; close(): Promise<void> }>;
  }>;
}
type DirectoryPicker = (options?: { mode?: "readwrite"; id?: string }) => Promise<DirectoryHandle>;

export function canSaveToFolder(): boolean {
  return typeof (window as unknown as { showDirectoryPicker?: DirectoryPicker }).showDirectoryPicker === "function";
}

export function listResults(list: HTMLElement, files: ResultFile[]): void {
  list.replaceChildren(
    ...files.map((file) => {
      const button = element("button", { type: "button", class: "download" }, "下载");
      button.addEventListener("click", () => download(file.name, file.bytes));
      return element(
        "li",
        { "data-file": file.name },
        element("span", { class: "name" }, file.name),
        element("span", { class: "size" }, sizeText(file.bytes.length)),
        element("span", { class: "records" }, `${file.records} 行`),
        button,
      );
    }),
  );
}

export function zipOf(files: ResultFile[]): Uint8Array {
  const entries: Record<string, Uint8Array> = {};
  for (const file of files) entries[file.name] = file.bytes;
  return zipSync(entries, { level: 6, mtime: new Date() });
}

/** Writes the files into a folder the surveyor picks; false when nothing was written. */
export async function saveToFolder(files: ResultFile[], say: (text: string) => void): Promise<boolean> {
  const picker = (window as unknown as { showDirectoryPicker: DirectoryPicker }).showDirectoryPicker;
  let folder: DirectoryHandle;
  try {
    folder = await picker({ mode: "readwrite", id: "qorvel-results" });
  } catch {
    return false; // the surveyor closed the picker
  }
  const existing: string[] = [];
  for (const file of files) {
    try {
      await folder.getFileHandle(file.name);
      existing.push(file.name);
    } catch {
      // not there yet
    }
  }
  if (existing.length > 0 && !window.confirm(`文件夹“${folder.name}”中已有以下文件，继续将替换它们：\n${existing.join("\n")}\n\n要继续吗？`))
    return false;
  for (const file of files) {
    const handle = await folder.getFileHandle(file.name, { create: true });
    const writable = await handle.createWritable();
    await writable.write(file.bytes as BufferSource);
    await writable.close();
  }
  say(`已写入文件夹“${folder.name}”：${files.map((file) => file.name).join("、")}`);
  return true;
}
