// 单步: every step of the catalogue for those who work step by step, each asking for its files
// by role as the window's dialogs do, with the settings of 工程, writing one file to download.

import { acceptOf, type Catalogue, type StepEntry } from "./catalogue";
import type { CoreClient } from "./core_client";
import { byId, element } from "./dom";
import type { Messages } from "./messages";
import { printSheets } from "./print_sheets";
import type { Project } from "./project";
import type { ResultFile } from "./protocol";
import { listResults } from "./results";
import type { SettingsStore } from "./settings_store";

interface StepAnswer {
  outcome: string;
  summary: string;
  count: number;
  problems: { reason: string; concerns: string }[];
  output: string;
}

export class StepsPanel {
  private readonly written: ResultFile[] = [];

  constructor(
    private readonly catalogue: Catalogue,
    private readonly project: Project,
    private readonly settings: SettingsStore,
    private readonly core: CoreClient,
    private readonly messages: Messages,
  ) {
    byId("step-list").replaceChildren(...catalogue.steps.map((step) => this.row(step)));
  }

  /** The name the step's file gets: its usual name, with the layout's or the sheets' extension. */
  private outputName(step: StepEntry): string {
    const usual = step.output.usualName;
    const stem = usual.replace(/\.[^.]*$/, "");
    if (step.command === "sections") {
      const layout = this.catalogue.layouts.find((item) => item.id === this.settings.values["layout"]);
      return stem + (layout?.extension ?? ".dat");
    }
    if (step.command === "plot") {
      const kind = this.settings.choices.plotKind;
      return `${stem}.${kind === "dxf" ? "dxf" : "svg"}`;
    }
    return usual;
  }

  private row(step: StepEntry): HTMLElement {
    const inputs = new Map<number, HTMLInputElement>();
    const readsDrawing = step.inputs.some((input) => input.role === this.catalogue.roles.drawing);
    const fields: HTMLElement[] = [];
    step.inputs.forEach((input, index) => {
      if (input.role === this.catalogue.roles.drawing) {
        fields.push(element("span", { class: "note" }, `（${index + 1}/${step.inputs.length}）${input.name}：工程页的路线图形`));
        return;
      }
      const box = element("input", { type: "file", accept: acceptOf(input.filter), "data-role": String(input.role) });
      inputs.set(input.role, box);
      fields.push(element("label", { title: input.filter.split("|")[0] ?? "" }, `（${index + 1}/${step.inputs.length}）${input.name}：`, box));
    });
    let layer: HTMLInputElement | null = null;
    if (readsDrawing) {
      layer = element("input", { type: "text", size: "10", "data-setting": "layerName", list: "layer-names" });
      layer.value = String(this.settings.values["layerName"]);
      fields.push(element("label", {}, "指定图层-", layer));
    }
    const button = element("button", { type: "button", "data-command": step.command }, "运行");
    const summary = element("span", { class: "summary" });
    button.addEventListener("click", () => void this.runStep(step, inputs, layer, button, summary));
    return element(
      "div",
      { class: "step", "data-step": step.command },
      element("h3", { title: step.help }, step.caption),
      ...fields,
      button,
      summary,
    );
  }

  private async runStep(
    step: StepEntry,
    inputs: Map<number, HTMLInputElement>,
    layer: HTMLInputElement | null,
    button: HTMLButtonElement,
    summary: HTMLElement,
  ): Promise<void> {
    this.messages.clear();
    summary.textContent = "";
    const chosen: File[] = [];
    const byRole: Record<number, string> = {};
    const missing: string[] = [];
    for (const input of step.inputs) {
      const file =
        input.role === this.catalogue.roles.drawing ? this.project.drawing : (inputs.get(input.role)?.files?.[0] ?? null);
      if (!file) {
        missing.push(input.name);
        continue;
      }
      chosen.push(file);
      byRole[input.role] = file.name;
    }
    if (missing.length > 0) {
      this.messages.show("warning", `请选择：${missing.join("、")}。`);
      return;
    }
    if (layer) this.settings.set("layerName", layer.value);
    button.disabled = true;
    const stop = this.core.listen((event) => {
      if (event.kind === "message") this.messages.show(event.level, event.text);
      else if (event.kind === "progress") summary.textContent = `${event.percent}%`;
    });
    try {
      const { files, transfer } = await this.project.files.prepare(chosen);
      const reply = await this.core.ask<StepAnswer>(
        { kind: "step", command: step.command, files, inputs: byRole, output: this.outputName(step), settings: this.settings.values },
        transfer,
      );
      const answer = reply.result;
      summary.textContent = answer.outcome === "completed" ? answer.summary : "";
      for (const problem of answer.problems) this.messages.show("notice", `${problem.reason}：${problem.concerns}`);
      for (const file of reply.files) {
        const earlier = this.written.findIndex((item) => item.name === file.name);
        if (earlier >= 0) this.written.splice(earlier, 1);
        this.written.push(file);
        if (step.command === "plot" && this.settings.choices.plotKind === "pdf") printSheets(file.bytes);
      }
      listResults(byId("step-results"), this.written);
    } catch (error) {
      this.messages.show("error", String(error instanceof Error ? error.message : error));
    } finally {
      stop();
      button.disabled = false;
    }
  }
}
