// 一键生成断面成果: the run from drawing to result in the worker, with the progress bar, each
// stage's line as `qorvel run` prints it, the problems the checks found, and the files written.

import type { Catalogue } from "./catalogue";
import type { CoreClient } from "./core_client";
import { byId, download, element } from "./dom";
import type { Messages } from "./messages";
import { printSheets } from "./print_sheets";
import type { Project } from "./project";
import type { ResultFile } from "./protocol";
import { canSaveToFolder, listResults, saveToFolder, zipOf } from "./results";
import type { SettingsStore } from "./settings_store";

const SHOWN_PROBLEMS = 200;

interface RunAnswer {
  completed: boolean;
  outcome: string;
  lines: string[];
  problems: string[];
  summary: string;
}

export class RunPanel {
  files: ResultFile[] = [];
  private readonly button = byId<HTMLButtonElement>("run");
  private readonly progress = byId<HTMLProgressElement>("progress");
  private readonly status = byId("status");
  private readonly lines = byId("stage-lines");
  private readonly problems = byId("problems");
  /** Told when a run has completed (the viewer offers its sections). */
  onCompleted: () => void = () => {};

  constructor(
    catalogue: Catalogue,
    private readonly project: Project,
    private readonly settings: SettingsStore,
    private readonly core: CoreClient,
    private readonly messages: Messages,
  ) {
    byId("run-steps").textContent = `依次运行：${catalogue.steps
      .filter((step) => catalogue.pipeline.includes(step.command))
      .sort((a, b) => catalogue.pipeline.indexOf(a.command) - catalogue.pipeline.indexOf(b.command))
      .map((step) => (step.number > 0 ? String(step.number) : step.caption))
      .join("、")}`;
    this.button.addEventListener("click", () => void this.run());
    byId("download-all").addEventListener("click", () => download("断面成果.zip", zipOf(this.files)));
    const save = byId<HTMLButtonElement>("save-folder");
    save.hidden = !canSaveToFolder();
    save.addEventListener("click", () => void saveToFolder(this.files, (text) => this.messages.show("notice", text)));
    byId("print-sheets").addEventListener("click", () => {
      const sheets = this.files.find((file) => file.name.endsWith(".svg"));
      if (sheets) printSheets(sheets.bytes);
    });
  }

  private missing(): string[] {
    const missing: string[] = [];
    if (!this.project.drawing) missing.push("路线图形");
    if (!this.project.points) missing.push("碎步点文件");
    if (!this.project.chosenLabelLayer) missing.push("桩号文字图层");
    if (!this.project.chosenLineLayer) missing.push("横断面线图层");
    return missing;
  }

  async run(): Promise<void> {
    this.messages.clear();
    const missing = this.missing();
    if (missing.length > 0) {
      this.messages.show("warning", `请填写：${missing.join("、")}。`);
      return;
    }
    this.button.disabled = true;
    this.progress.value = 0;
    this.status.textContent = "";
    this.lines.textContent = "";
    this.problems.replaceChildren();
    byId("results-box").hidden = true;
    this.files = [];
    const stop = this.core.listen((event) => {
      if (event.kind === "progress") {
        this.progress.value = event.percent;
        if (event.detail) this.status.dataset["detail"] = event.detail;
      } else if (event.kind === "status") {
        this.status.textContent = event.text;
      } else if (event.kind === "line") {
        this.lines.textContent += `${event.text}\n`;
      } else {
        this.messages.show(event.level, event.text);
      }
    });
    try {
      const drawing = this.project.drawing!;
      const points = this.project.points!;
      const { files, transfer } = await this.project.files.prepare([drawing, points]);
      const plotKind = this.settings.choices.plotKind;
      const reply = await this.core.ask<RunAnswer>(
        {
          kind: "run",
          files,
          request: {
            drawing: drawing.name,
            points: points.name,
            labelLayer: this.project.chosenLabelLayer,
            lineLayer: this.project.chosenLineLayer,
            plotKind: plotKind === "pdf" ? "svg" : plotKind,
          },
          settings: this.settings.values,
        },
        transfer,
      );
      const answer = reply.result;
      if (answer.completed) {
        this.files = reply.files;
        this.progress.value = 100;
        this.status.textContent = "一键生成完成。";
        // The first problems (a big survey may have ten thousand); all of them are in the check files.
        const shown = answer.problems.slice(0, SHOWN_PROBLEMS);
        const more = answer.problems.length - shown.length;
        this.problems.replaceChildren(
          element("h2", {}, answer.problems.length > 0 ? `检查发现的问题（${answer.problems.length} 处）` : "检查没有发现问题"),
          element("ul", {}, ...shown.map((problem) => element("li", {}, problem))),
          ...(more > 0 ? [element("p", {}, `另有 ${more} 处，见各检查结果文件。`)] : []),
        );
        listResults(byId("results"), this.files);
        byId("results-box").hidden = false;
        byId("print-sheets").hidden = plotKind !== "pdf";
        this.onCompleted();
      } else {
        this.status.textContent = "一键生成没有完成。";
      }
    } catch (error) {
      this.messages.show("error", String(error instanceof Error ? error.message : error));
    } finally {
      stop();
      this.button.disabled = false;
    }
  }
}
