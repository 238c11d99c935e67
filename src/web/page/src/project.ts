// 工程: the drawing and the detail point file (chosen or dropped), the drawing's layers with
// what they hold, the two layers of the run (suggested: the layer whose texts read as stations,
// the layer with the most lines), and the settings of the settings dialog, remembered.

import type { Catalogue } from "./catalogue";
import { ChosenFiles } from "./chosen_files";
import type { CoreClient } from "./core_client";
import { byId, element } from "./dom";
import type { Messages } from "./messages";
import { readTolerance, type SettingsStore } from "./settings_store";

export interface LayerSummary {
  name: string;
  texts: number;
  stations: number;
  lines: number;
  polylines: number;
}

// The switches of the settings dialog, with its captions.
const SWITCHES: [string, string][] = [
  ["numericLabels", "桩号为纯数字（图上里程为数值）"],
  ["swapSides", "幅别颠倒生成"],
  ["negateHeights", "变换高差正负号"],
  ["stationText", "转换为字符型桩号"],
  ["blankLine", "断面桩号隔一行生成"],
  ["routeSides", "按路线前进方向区分左右"],
];

// The section check's tolerances and the sheets', as the command line names them.
const MORE: [string, string][] = [
  ["spikeHeight", "高程突变（米）"],
  ["gapDistance", "点距过大（米）"],
  ["skewAngle", "断面线斜交（度）"],
  ["sheetScale", "断面图横向比例 1:"],
  ["exaggeration", "竖向放大倍数"],
];

export class Project {
  drawing: File | null = null;
  points: File | null = null;
  layers: LayerSummary[] = [];
  readonly files = new ChosenFiles();
  private readonly labelLayer = byId<HTMLSelectElement>("label-layer");
  private readonly lineLayer = byId<HTMLSelectElement>("line-layer");

  constructor(
    private readonly catalogue: Catalogue,
    private readonly settings: SettingsStore,
    private readonly core: CoreClient,
    private readonly messages: Messages,
  ) {
    this.buildSettings();
    const drawingInput = byId<HTMLInputElement>("drawing-file");
    const pointsInput = byId<HTMLInputElement>("points-file");
    drawingInput.addEventListener("change", () => {
      const file = drawingInput.files?.[0];
      if (file) void this.chooseDrawing(file);
    });
    pointsInput.addEventListener("change", () => {
      this.points = pointsInput.files?.[0] ?? null;
    });
    const drop = byId("files");
    drop.addEventListener("dragover", (event) => {
      event.preventDefault();
      drop.classList.add("dragging");
    });
    drop.addEventListener("dragleave", () => drop.classList.remove("dragging"));
    drop.addEventListener("drop", (event) => {
      event.preventDefault();
      drop.classList.remove("dragging");
      for (const file of Array.from(event.dataTransfer?.files ?? [])) {
        if (/\.(dxf|dwg)$/i.test(file.name)) void this.chooseDrawing(file);
        else this.points = file;
      }
      this.showChosen();
    });
    this.labelLayer.addEventListener("change", () => this.settings.choose("labelLayer", this.labelLayer.value));
    this.lineLayer.addEventListener("change", () => this.settings.choose("lineLayer", this.lineLayer.value));
    this.fillLayerChoices();
  }

  get chosenLabelLayer(): string {
    return this.labelLayer.value;
  }
  get chosenLineLayer(): string {
    return this.lineLayer.value;
  }

  private showChosen(): void {
    byId("files").dataset["drawing"] = this.drawing?.name ?? "";
    byId("files").dataset["points"] = this.points?.name ?? "";
  }

  async chooseDrawing(file: File): Promise<void> {
    this.drawing = file;
    delete document.body.dataset["drawing"];
    this.showChosen();
    this.messages.clear();
    const { files, transfer } = await this.files.prepare([file]);
    const stop = this.core.listen((event) => {
      if (event.kind === "message") this.messages.show(event.level, event.text);
    });
    const reply = await this.core
      .ask<{ attached: boolean; layers?: LayerSummary[] }>({ kind: "attach", drawing: files[0]! }, transfer)
      .finally(stop);
    this.layers = reply.result.attached ? (reply.result.layers ?? []) : [];
    document.body.dataset["drawing"] = reply.result.attached ? "read" : "refused";
    this.showLayers();
    this.fillLayerChoices();
  }

  private showLayers(): void {
    const body = byId("layers").querySelector("tbody")!;
    body.replaceChildren(
      ...this.layers.map((layer) =>
        element(
          "tr",
          {},
          element("td", {}, layer.name),
          element("td", {}, String(layer.texts)),
          element("td", {}, String(layer.stations)),
          element("td", {}, String(layer.lines)),
          element("td", {}, String(layer.polylines)),
        ),
      ),
    );
  }

  /** The layer choices: the drawing's layers, the remembered ones kept where the drawing has them. */
  private fillLayerChoices(): void {
    const names = this.layers.map((layer) => layer.name);
    const fill = (select: HTMLSelectElement, remembered: string, suggested: string | undefined) => {
      const shown = names.length > 0 ? names : remembered ? [remembered] : [];
      select.replaceChildren(...shown.map((name) => element("option", { value: name }, name)));
      select.value = names.length === 0 || names.includes(remembered) ? remembered : (suggested ?? names[0]!);
    };
    const byStations = [...this.layers].sort((a, b) => b.stations - a.stations || b.texts - a.texts)[0];
    const byLines = [...this.layers].sort((a, b) => b.lines - a.lines)[0];
    fill(this.labelLayer, this.settings.choices.labelLayer, byStations && byStations.texts > 0 ? byStations.name : undefined);
    fill(this.lineLayer, this.settings.choices.lineLayer, byLines && byLines.lines > 0 ? byLines.name : undefined);
    this.settings.choose("labelLayer", this.labelLayer.value);
    this.settings.choose("lineLayer", this.lineLayer.value);
  }

  private buildSettings(): void {
    const values = this.settings.values;
    const tolerances = byId("tolerances");
    const numberBox = (name: string, caption: string, anyNumber: boolean) => {
      const box = element("input", { type: "text", name, inputmode: "decimal", size: "8", "data-setting": name });
      box.value = String(values[name]);
      box.addEventListener("change", () => {
        const value = readTolerance(box.value, anyNumber);
        if (value === null) {
          this.messages.show(
            "warning",
            anyNumber
              ? `“${caption}”只接受一个数（例如 ${String(this.catalogue.defaults[name])}，可为 0 或负数），“${box.value}”不行。\n请重新输入。`
              : `“${caption}”只接受大于 0 的数（例如 ${String(this.catalogue.defaults[name])}），“${box.value}”不行。\n请重新输入。`,
          );
          box.value = String(this.settings.values[name]);
          return;
        }
        this.settings.set(name, value);
      });
      return element("label", {}, caption, box, "米");
    };
    tolerances.replaceChildren(
      ...this.catalogue.tolerances.map((tolerance) => numberBox(tolerance.name, tolerance.caption, tolerance.name === "avoidDistance")),
    );
    const switches = byId("switches");
    switches.replaceChildren(
      ...SWITCHES.map(([name, caption]) => {
        const box = element("input", { type: "checkbox", name, "data-setting": name });
        box.checked = values[name] === true;
        box.addEventListener("change", () => {
          this.settings.set(name, box.checked);
          this.checkLayoutSwitches();
        });
        return element("label", { class: "switch" }, box, caption);
      }),
    );
    const layout = byId<HTMLSelectElement>("layout");
    layout.replaceChildren(...this.catalogue.layouts.map((item) => element("option", { value: item.id }, item.caption)));
    layout.value = String(values["layout"]);
    layout.addEventListener("change", () => {
      this.settings.set("layout", layout.value);
      this.checkLayoutSwitches();
    });
    const plotKind = byId<HTMLSelectElement>("plot-kind");
    plotKind.value = this.settings.choices.plotKind;
    plotKind.addEventListener("change", () => this.settings.choose("plotKind", plotKind.value));

    const more = byId("more-settings");
    const sheet = element("select", { name: "sheetSize", "data-setting": "sheetSize" });
    sheet.replaceChildren(...["A3", "A4", "A1"].map((size) => element("option", { value: size }, size)));
    sheet.value = String(values["sheetSize"]);
    sheet.addEventListener("change", () => this.settings.set("sheetSize", sheet.value));
    more.replaceChildren(
      ...MORE.map(([name, caption]) => {
        const box = element("input", { type: "text", name, size: "8", "data-setting": name });
        box.value = String(values[name]);
        box.addEventListener("change", () => {
          const value = readTolerance(box.value, false);
          if (value === null) {
            this.messages.show("warning", `“${caption}”只接受大于 0 的数，“${box.value}”不行。\n请重新输入。`);
            box.value = String(this.settings.values[name]);
          } else {
            this.settings.set(name, value);
          }
        });
        return element("label", {}, caption, box);
      }),
      element("label", {}, "图纸：", sheet),
    );
    byId("restore-defaults").addEventListener("click", () => {
      this.settings.restoreDefaults();
      this.buildSettings();
    });
    this.checkLayoutSwitches();
  }

  /** 变换高差正负号 and 断面桩号隔一行生成 only where the layout has a use for them. */
  private checkLayoutSwitches(): void {
    const layout = this.catalogue.layouts.find((item) => item.id === this.settings.values["layout"]);
    for (const name of ["negateHeights", "blankLine"]) {
      const box = document.querySelector<HTMLInputElement>(`#switches input[name=${name}]`);
      if (!box) continue;
      box.disabled = !(layout?.heightSwitches ?? true);
      if (box.disabled && box.checked) {
        box.checked = false;
        this.settings.set(name, false);
      }
    }
  }
}
