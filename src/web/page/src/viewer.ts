// 断面查看: the section viewer as the desktop has it. The list of sections in chainage order with
// each one's points and problems (only those with problems, if asked), the section drawn as on
// the sheets over a grid of offsets and elevations (the core builds the figure, the page paints
// it), the wheel zooming about the pointer, a drag panning, a double click showing it whole, the
// point under the pointer named with its code, the heights stretched, the plan of the line, keys
// to step (PgDn ↓ → next, PgUp ↑ ← previous, Home, End), a box to jump to a station, and the
// shown section or all of them exported as sheets.

import { acceptOf, type Catalogue } from "./catalogue";
import type { CoreClient } from "./core_client";
import { byId, download, element } from "./dom";
import type { Messages } from "./messages";
import { printSheets } from "./print_sheets";
import type { Project } from "./project";
import type { SettingsStore } from "./settings_store";

interface SectionEntry {
  station: string;
  chainage: number | null;
  left: number;
  right: number;
  problems: string[];
}

interface Primitive {
  kind: "line" | "polyline" | "mark" | "text";
  layer: number;
  points: number[];
  closed?: boolean;
  height?: number;
  align?: number;
  baseline?: number;
  text?: string;
}

interface Figure {
  bounds: [number, number, number, number];
  across: number;
  up: number;
  datum: number;
  clipped: boolean;
  primitives: Primitive[];
  marks: { x: number; y: number; right: boolean; point: { name: string; code: string; distance: number; elevation: number } }[];
}

interface Plan {
  stake: [number, number];
  line: [number, number, number, number];
  members: [number, number, number][];
}

const ROW_HEIGHT = 22;
const MARGIN = 44; // pixels for the grid's labels
const TEXT_BAND = 28; // millimetres of texts under the datum
const PIXELS_PER_MM = 96 / 25.4;
const HOVER_REACH = 7;
const COLOURS = ["rgb(0,120,60)", "rgb(200,30,30)", "rgb(50,50,90)", "rgb(128,128,128)"];

function roundStep(least: number): number {
  if (!(least > 0) || !Number.isFinite(least)) return 1;
  const power = 10 ** Math.floor(Math.log10(least));
  for (const factor of [1, 2, 5, 10]) if (factor * power >= least) return factor * power;
  return 10 * power;
}

function metres(value: number, decimals: number): string {
  return (value === 0 ? 0 : value).toFixed(decimals);
}

export class Viewer {
  private sections: SectionEntry[] = [];
  private shown: number[] = []; // places in `sections` that the list shows
  private current = -1; // place in `sections`
  private figure: Figure | null = null;
  private plan: Plan | null = null;
  private zoom = 1;
  private pan = { x: 0, y: 0 };
  private drag: { x: number; y: number } | null = null;
  private exaggeration = 1;
  private request = 0;

  private readonly root = byId("viewer");
  private readonly list = element("div", { class: "section-list", tabindex: "0", "data-testid": "section-list" });
  private readonly rows = element("div", { class: "rows" });
  private readonly canvas = element("canvas", { class: "section-plot", "data-testid": "section-plot" });
  private readonly planCanvas = element("canvas", { class: "plan", width: "220", height: "180", "data-testid": "plan" });
  private readonly position = element("span", { "data-testid": "section-position" });
  private readonly problems = element("div", { class: "section-problems", "data-testid": "section-problems" });
  private readonly pointInfo = element("div", { class: "point-info", "data-testid": "point-info" });
  private readonly jump = element("input", { type: "text", placeholder: "桩号，回车跳转", "data-testid": "jump", size: "12" });
  private readonly problemsOnly = element("input", { type: "checkbox", "data-testid": "problems-only" });
  private readonly stretch = element("select", { "data-testid": "exaggeration" });
  private readonly summary = element("div", { class: "check-summary", "data-testid": "check-summary" });

  constructor(
    private readonly catalogue: Catalogue,
    private readonly project: Project,
    private readonly settings: SettingsStore,
    private readonly core: CoreClient,
    private readonly messages: Messages,
  ) {
    this.buildOpenForm();
    this.stretch.replaceChildren(...[1, 2, 5, 10].map((times) => element("option", { value: String(times) }, `${times} 倍`)));
    const remembered = Number(settings.values["exaggeration"]);
    this.exaggeration = [1, 2, 5, 10].includes(remembered) ? remembered : 1;
    this.stretch.value = String(this.exaggeration);
    const exportShown = element("button", { type: "button", "data-testid": "export-shown" }, "导出本断面…");
    const exportAll = element("button", { type: "button", "data-testid": "export-all" }, "导出全部…");
    const previous = element("button", { type: "button", "data-testid": "previous" }, "上一个");
    const next = element("button", { type: "button", "data-testid": "next" }, "下一个");
    this.list.append(this.rows);
    this.root.replaceChildren(
      element(
        "div",
        { class: "viewer-bar" },
        element("label", {}, "跳到：", this.jump),
        element("label", {}, this.problemsOnly, "只看有问题的断面"),
        element("label", {}, "竖向放大：", this.stretch),
        previous,
        next,
        this.position,
        exportShown,
        exportAll,
      ),
      element(
        "div",
        { class: "viewer-body" },
        element("div", { class: "viewer-side" }, this.summary, this.list, this.planCanvas),
        element("div", { class: "viewer-main" }, this.canvas, this.problems, this.pointInfo),
      ),
    );
    this.list.addEventListener("scroll", () => this.renderRows());
    this.list.addEventListener("click", (event) => {
      const row = (event.target as HTMLElement).closest<HTMLElement>("[data-index]");
      if (row) this.select(Number(row.dataset["index"]));
    });
    const keys = (event: KeyboardEvent) => this.key(event);
    this.list.addEventListener("keydown", keys);
    this.canvas.tabIndex = 0;
    this.canvas.addEventListener("keydown", keys);
    previous.addEventListener("click", () => this.step(-1));
    next.addEventListener("click", () => this.step(1));
    this.jump.addEventListener("keydown", (event) => {
      if (event.key === "Enter") void this.jumpTo(this.jump.value);
    });
    this.problemsOnly.addEventListener("change", () => this.filter());
    this.stretch.addEventListener("change", () => {
      this.exaggeration = Number(this.stretch.value);
      this.settings.set("exaggeration", this.exaggeration);
      void this.drawSection();
    });
    exportShown.addEventListener("click", () => void this.exportSheets(this.current >= 0 ? [this.current] : []));
    exportAll.addEventListener("click", () => void this.exportSheets([]));
    this.canvas.addEventListener("wheel", (event) => this.wheel(event), { passive: false });
    this.canvas.addEventListener("mousedown", (event) => (this.drag = { x: event.clientX, y: event.clientY }));
    window.addEventListener("mouseup", () => (this.drag = null));
    this.canvas.addEventListener("mousemove", (event) => this.move(event));
    this.canvas.addEventListener("dblclick", () => {
      this.zoom = 1;
      this.pan = { x: 0, y: 0 };
      void this.drawSection();
    });
    new ResizeObserver(() => {
      if (this.figure) void this.drawSection();
      this.renderRows();
    }).observe(this.canvas);
  }

  /** The four files of step 10 chosen here, for sections not made by this page's run. */
  private buildOpenForm(): void {
    const boxes = this.catalogue.viewerInputs.map((input) => {
      if (input.role === this.catalogue.roles.points)
        return { input, box: null as HTMLInputElement | null };
      return { input, box: element("input", { type: "file", accept: acceptOf(input.filter), "data-role": String(input.role) }) };
    });
    const open = element("button", { type: "button", "data-testid": "open-sections" }, "打开断面");
    open.addEventListener("click", () => void this.openChosen(boxes));
    byId("viewer-open").replaceChildren(
      element(
        "details",
        {},
        element("summary", {}, "打开其他断面（第 10 步的四个文件）"),
        ...boxes.map(({ input, box }) =>
          element("label", {}, `${input.name}：`, box ?? element("span", {}, "工程页的碎步点文件")),
        ),
        open,
      ),
    );
  }

  private async openChosen(boxes: { input: { role: number; name: string }; box: HTMLInputElement | null }[]): Promise<void> {
    this.messages.clear();
    const chosen: File[] = [];
    const inputs: Record<number, string> = {};
    const missing: string[] = [];
    for (const { input, box } of boxes) {
      const file = box ? (box.files?.[0] ?? null) : this.project.points;
      if (!file) missing.push(input.name);
      else {
        chosen.push(file);
        inputs[input.role] = file.name;
      }
    }
    if (missing.length > 0) {
      this.messages.show("warning", `请选择：${missing.join("、")}。`);
      return;
    }
    const { files, transfer } = await this.project.files.prepare(chosen);
    await this.open({ kind: "open", files, inputs, settings: this.settings.values }, transfer);
  }

  /** The sections of the run that has just completed. */
  openRun(): Promise<void> {
    return this.open({ kind: "openRun", settings: this.settings.values });
  }

  private async open(request: Parameters<CoreClient["ask"]>[0], transfer: Transferable[] = []): Promise<void> {
    const stop = this.core.listen((event) => {
      if (event.kind === "message") this.messages.show(event.level, event.text);
    });
    try {
      const reply = await this.core.ask<{ opened: boolean; summary?: string; sections?: SectionEntry[] }>(request, transfer);
      if (!reply.result.opened) return;
      this.sections = reply.result.sections ?? [];
      this.summary.textContent = `${reply.result.summary ?? ""}（共 ${this.sections.length} 个断面）`;
      this.root.dataset["sections"] = String(this.sections.length);
      this.problemsOnly.checked = false;
      this.filter();
      this.list.focus();
    } finally {
      stop();
    }
  }

  private filter(): void {
    this.shown = [];
    for (let k = 0; k < this.sections.length; ++k)
      if (!this.problemsOnly.checked || this.sections[k]!.problems.length > 0) this.shown.push(k);
    this.rows.style.height = `${this.shown.length * ROW_HEIGHT}px`;
    if (this.shown.length === 0) {
      this.current = -1;
      this.figure = null;
      this.renderRows();
      this.paint();
      return;
    }
    this.select(this.shown.includes(this.current) ? this.current : this.shown[0]!);
  }

  /** Only the rows in sight exist: a list of 25,000 sections scrolls as one of 25. */
  private renderRows(): void {
    const first = Math.max(0, Math.floor(this.list.scrollTop / ROW_HEIGHT) - 5);
    const last = Math.min(this.shown.length, first + Math.ceil((this.list.clientHeight || 400) / ROW_HEIGHT) + 10);
    const made: HTMLElement[] = [];
    for (let k = first; k < last; ++k) {
      const index = this.shown[k]!;
      const section = this.sections[index]!;
      const row = element(
        "div",
        {
          class: `row${index === this.current ? " selected" : ""}${section.problems.length > 0 ? " problem" : ""}`,
          "data-index": String(index),
          "data-station": section.station,
          title: section.problems.join("；"),
        },
        element("span", { class: "station" }, section.station),
        element("span", {}, `${section.left} | ${section.right}`),
        element("span", { class: "problems" }, section.problems.join("；")),
      );
      row.style.top = `${k * ROW_HEIGHT}px`;
      made.push(row);
    }
    this.rows.replaceChildren(...made);
  }

  private select(index: number): void {
    if (index < 0 || index >= this.sections.length) return;
    this.current = index;
    this.zoom = 1;
    this.pan = { x: 0, y: 0 };
    const place = this.shown.indexOf(index);
    const top = place * ROW_HEIGHT;
    if (top < this.list.scrollTop || top + ROW_HEIGHT > this.list.scrollTop + this.list.clientHeight)
      this.list.scrollTop = top - this.list.clientHeight / 2;
    this.renderRows();
    const section = this.sections[index]!;
    this.position.textContent = `第 ${place + 1} / ${this.shown.length} 个`;
    this.root.dataset["station"] = section.station;
    this.problems.textContent = section.problems.join("；");
    void this.drawSection();
    void this.drawPlan();
  }

  private step(by: number): void {
    if (this.shown.length === 0) return;
    const place = this.shown.indexOf(this.current);
    this.select(this.shown[Math.max(0, Math.min(this.shown.length - 1, place + by))]!);
  }

  private key(event: KeyboardEvent): void {
    const moves: Record<string, number> = { PageDown: 1, ArrowDown: 1, ArrowRight: 1, PageUp: -1, ArrowUp: -1, ArrowLeft: -1 };
    if (event.key in moves) this.step(moves[event.key]!);
    else if (event.key === "Home" && this.shown.length > 0) this.select(this.shown[0]!);
    else if (event.key === "End" && this.shown.length > 0) this.select(this.shown[this.shown.length - 1]!);
    else return;
    event.preventDefault();
  }

  private async jumpTo(text: string): Promise<void> {
    if (!text.trim()) return;
    const reply = await this.core.ask<number>({ kind: "find", text });
    if (reply.result < 0) {
      this.messages.show("warning", `找不到桩号“${text.trim()}”`);
      return;
    }
    if (!this.shown.includes(reply.result)) {
      this.problemsOnly.checked = false;
      this.filter();
    }
    this.select(reply.result);
  }

  private size(): { width: number; height: number } {
    const width = Math.max(200, this.canvas.clientWidth);
    const height = Math.max(150, this.canvas.clientHeight);
    return { width, height };
  }

  private async drawSection(): Promise<void> {
    if (this.current < 0) return;
    const ticket = ++this.request;
    const { width, height } = this.size();
    const reply = await this.core.ask<Figure | null>({
      kind: "figure",
      index: this.current,
      roomAcross: (width - 2 * MARGIN) / PIXELS_PER_MM,
      roomUp: (height - 2 * MARGIN) / PIXELS_PER_MM - TEXT_BAND,
      zoom: this.zoom,
      exaggeration: this.exaggeration,
    });
    if (ticket !== this.request) return; // a later section is on its way
    this.figure = reply.result;
    this.paint();
  }

  private toPixels(x: number, y: number): [number, number] {
    const figure = this.figure!;
    const [left, bottom, right, top] = figure.bounds;
    const { width, height } = this.size();
    const cornerX = (width - (right - left) * PIXELS_PER_MM) / 2 + this.pan.x;
    const cornerY = (height - (top - bottom) * PIXELS_PER_MM) / 2 + this.pan.y;
    return [cornerX + (x - left) * PIXELS_PER_MM, cornerY + (top - y) * PIXELS_PER_MM];
  }

  private toMillimetres(px: number, py: number): [number, number] {
    const figure = this.figure!;
    const [left, bottom, right, top] = figure.bounds;
    const { width, height } = this.size();
    const cornerX = (width - (right - left) * PIXELS_PER_MM) / 2 + this.pan.x;
    const cornerY = (height - (top - bottom) * PIXELS_PER_MM) / 2 + this.pan.y;
    return [left + (px - cornerX) / PIXELS_PER_MM, top - (py - cornerY) / PIXELS_PER_MM];
  }

  private paint(): void {
    const { width, height } = this.size();
    const ratio = window.devicePixelRatio || 1;
    this.canvas.width = Math.round(width * ratio);
    this.canvas.height = Math.round(height * ratio);
    const context = this.canvas.getContext("2d")!;
    context.setTransform(ratio, 0, 0, ratio, 0, 0);
    context.fillStyle = "#fff";
    context.fillRect(0, 0, width, height);
    const figure = this.figure;
    if (!figure) {
      context.fillStyle = "gray";
      context.textAlign = "center";
      context.fillText("没有要显示的断面", width / 2, height / 2);
      return;
    }
    this.paintGrid(context, width, height);
    for (const primitive of figure.primitives) this.paintPrimitive(context, primitive);
    context.fillStyle = "#555";
    context.textAlign = "right";
    context.font = "12px sans-serif";
    context.fillText(`竖向放大 ${this.exaggeration} 倍${figure.clipped ? "  （有超出范围的值，已截断）" : ""}`, width - 8, 16);
  }

  private paintGrid(context: CanvasRenderingContext2D, width: number, height: number): void {
    const figure = this.figure!;
    const across = figure.across * PIXELS_PER_MM;
    const up = figure.up * PIXELS_PER_MM;
    if (!(across > 0) || !(up > 0) || !Number.isFinite(across) || !Number.isFinite(up)) return;
    const groundAt = (px: number, py: number): [number, number] => {
      const [x, y] = this.toMillimetres(px, py);
      return [x / figure.across, y / figure.up + figure.datum];
    };
    const [leftOffset, topElevation] = groundAt(0, 0);
    const [rightOffset, bottomElevation] = groundAt(width, height);
    const offsetStep = roundStep(64 / across);
    const elevationStep = roundStep(64 / up);
    context.font = "11px sans-serif";
    context.lineWidth = 1;
    const first = Math.ceil(leftOffset / offsetStep);
    const last = Math.floor(rightOffset / offsetStep);
    if (last - first < 500)
      for (let k = first; k <= last; ++k) {
        const [x] = this.toPixels(k * offsetStep * figure.across, 0);
        context.strokeStyle = "rgb(225,225,225)";
        context.beginPath();
        context.moveTo(x, 0);
        context.lineTo(x, height);
        context.stroke();
        context.fillStyle = "rgb(120,120,120)";
        context.textAlign = "left";
        context.fillText(metres(k * offsetStep, offsetStep < 1 ? 1 : 0), x + 2, height - 4);
      }
    const low = Math.ceil(bottomElevation / elevationStep);
    const high = Math.floor(topElevation / elevationStep);
    if (high - low < 500)
      for (let k = low; k <= high; ++k) {
        const [, y] = this.toPixels(0, (k * elevationStep - figure.datum) * figure.up);
        context.strokeStyle = "rgb(225,225,225)";
        context.beginPath();
        context.moveTo(0, y);
        context.lineTo(width, y);
        context.stroke();
        context.fillStyle = "rgb(120,120,120)";
        context.textAlign = "left";
        context.fillText(metres(k * elevationStep, elevationStep < 1 ? 1 : 0), 4, y - 2);
      }
  }

  private paintPrimitive(context: CanvasRenderingContext2D, primitive: Primitive): void {
    const colour = COLOURS[primitive.layer] ?? "black";
    const points = primitive.points;
    context.strokeStyle = colour;
    context.lineWidth = primitive.layer === 0 ? 2 : 1;
    if (primitive.kind === "line" || primitive.kind === "polyline") {
      context.beginPath();
      for (let k = 0; k + 1 < points.length; k += 2) {
        const [x, y] = this.toPixels(points[k]!, points[k + 1]!);
        if (k === 0) context.moveTo(x, y);
        else context.lineTo(x, y);
      }
      if (primitive.closed) context.closePath();
      context.stroke();
    } else if (primitive.kind === "mark") {
      const [x, y] = this.toPixels(points[0]!, points[1]!);
      context.lineWidth = 1;
      context.fillStyle = "#fff";
      context.beginPath();
      context.arc(x, y, Math.max(3, 0.4 * PIXELS_PER_MM), 0, 2 * Math.PI);
      context.fill();
      context.stroke();
    } else if (primitive.text) {
      const size = Math.min(22, Math.max(9, Math.round((primitive.height ?? 2.5) * 1.37 * PIXELS_PER_MM)));
      context.font = `${size}px "WenQuanYi Micro Hei","Microsoft YaHei",sans-serif`;
      context.fillStyle = colour;
      context.textAlign = (["left", "center", "right"] as const)[primitive.align ?? 0] ?? "left";
      context.textBaseline = (["alphabetic", "middle", "top"] as const)[primitive.baseline ?? 0] ?? "alphabetic";
      const [x, y] = this.toPixels(points[0]!, points[1]!);
      context.fillText(primitive.text, x, y);
      context.textBaseline = "alphabetic";
    }
  }

  private wheel(event: WheelEvent): void {
    if (!this.figure) return;
    event.preventDefault();
    const zoom = Math.min(200, Math.max(1, this.zoom * 1.25 ** (-event.deltaY / 100)));
    if (zoom === this.zoom) return;
    const figure = this.figure;
    const rect = this.canvas.getBoundingClientRect();
    const mouseX = event.clientX - rect.left;
    const mouseY = event.clientY - rect.top;
    const [mx, my] = this.toMillimetres(mouseX, mouseY);
    const offset = mx / figure.across;
    const elevation = my / figure.up + figure.datum;
    this.zoom = zoom;
    const ticket = ++this.request;
    const { width, height } = this.size();
    void this.core
      .ask<Figure | null>({
        kind: "figure",
        index: this.current,
        roomAcross: (width - 2 * MARGIN) / PIXELS_PER_MM,
        roomUp: (height - 2 * MARGIN) / PIXELS_PER_MM - TEXT_BAND,
        zoom: this.zoom,
        exaggeration: this.exaggeration,
      })
      .then((reply) => {
        if (ticket !== this.request || !reply.result) return;
        this.figure = reply.result;
        // The ground under the pointer stays under it.
        const [px, py] = this.toPixels(offset * reply.result.across, (elevation - reply.result.datum) * reply.result.up);
        this.pan = zoom === 1 ? { x: 0, y: 0 } : { x: this.pan.x + mouseX - px, y: this.pan.y + mouseY - py };
        this.paint();
      });
  }

  private move(event: MouseEvent): void {
    if (!this.figure) return;
    if (this.drag) {
      this.pan = { x: this.pan.x + event.clientX - this.drag.x, y: this.pan.y + event.clientY - this.drag.y };
      this.drag = { x: event.clientX, y: event.clientY };
      this.paint();
      return;
    }
    const rect = this.canvas.getBoundingClientRect();
    const px = event.clientX - rect.left;
    const py = event.clientY - rect.top;
    let nearest: Figure["marks"][number] | null = null;
    let reach = HOVER_REACH;
    for (const mark of this.figure.marks) {
      const [x, y] = this.toPixels(mark.x, mark.y);
      const distance = Math.hypot(x - px, y - py);
      if (distance <= reach) {
        nearest = mark;
        reach = distance;
      }
    }
    this.pointInfo.textContent = nearest
      ? `点名 ${nearest.point.name || "（无）"}  编码 ${nearest.point.code || "（无）"}  ${nearest.right ? "右" : "左"} ${metres(nearest.point.distance, 3)} m  高程 ${metres(nearest.point.elevation, 3)} m`
      : "";
  }

  private async drawPlan(): Promise<void> {
    const reply = await this.core.ask<Plan | null>({ kind: "plan", index: this.current });
    this.plan = reply.result;
    const context = this.planCanvas.getContext("2d")!;
    const width = this.planCanvas.width;
    const height = this.planCanvas.height;
    context.fillStyle = "rgb(250,250,245)";
    context.fillRect(0, 0, width, height);
    context.fillStyle = "#555";
    context.font = "12px sans-serif";
    context.textAlign = "left";
    context.fillText("平面", 6, 16);
    const plan = this.plan;
    if (!plan) return;
    const coordinates: [number, number][] = [plan.stake, [plan.line[0], plan.line[1]], [plan.line[2], plan.line[3]]];
    for (const member of plan.members) coordinates.push([member[0], member[1]]);
    const finite = coordinates.filter(([e, n]) => Number.isFinite(e) && Number.isFinite(n));
    if (finite.length === 0) return;
    const west = Math.min(...finite.map((c) => c[0]));
    const east = Math.max(...finite.map((c) => c[0]));
    const south = Math.min(...finite.map((c) => c[1]));
    const north = Math.max(...finite.map((c) => c[1]));
    const span = Math.max(east - west, north - south, 1);
    const scale = (Math.min(width, height) - 28) / span;
    const at = (e: number, n: number): [number, number] => [width / 2 + (e - (west + east) / 2) * scale, height / 2 - (n - (south + north) / 2) * scale];
    context.strokeStyle = "rgb(110,110,110)";
    context.lineWidth = 2;
    context.beginPath();
    context.moveTo(...at(plan.line[0], plan.line[1]));
    context.lineTo(...at(plan.line[2], plan.line[3]));
    context.stroke();
    for (const [e, n, side] of plan.members) {
      if (!Number.isFinite(e) || !Number.isFinite(n)) continue;
      const colour = side === 1 ? "rgb(30,90,170)" : side === 2 ? "rgb(210,110,0)" : "rgb(150,150,150)";
      context.strokeStyle = colour;
      context.fillStyle = colour;
      context.lineWidth = 1;
      context.beginPath();
      context.arc(...at(e, n), 3, 0, 2 * Math.PI);
      if (side === 0) context.stroke();
      else context.fill();
    }
    const [sx, sy] = at(plan.stake[0], plan.stake[1]);
    context.strokeStyle = "rgb(200,30,30)";
    context.lineWidth = 2;
    context.beginPath();
    context.moveTo(sx - 5, sy - 5);
    context.lineTo(sx + 5, sy + 5);
    context.moveTo(sx - 5, sy + 5);
    context.lineTo(sx + 5, sy - 5);
    context.stroke();
  }

  /** The sections at `indices` (all when empty) on sheets: SVG or DXF as 工程's 断面图 says, PDF by printing the SVG. */
  private async exportSheets(indices: number[]): Promise<void> {
    if (this.sections.length === 0) return;
    this.messages.clear();
    const kind = this.settings.choices.plotKind === "dxf" ? "dxf" : "svg";
    const station = indices.length === 1 ? this.sections[indices[0]!]!.station.replace(/[\\/:*?"<>|+]/g, "_") : "";
    const name = `${station ? `断面-${station}` : "10-sections"}.${kind}`;
    const stop = this.core.listen((event) => {
      if (event.kind === "message") this.messages.show(event.level, event.text);
    });
    try {
      const reply = await this.core.ask<{ completed: boolean; summary?: string; warning?: string }>({
        kind: "export",
        indices,
        name,
        exaggeration: this.exaggeration,
      });
      if (!reply.result.completed || reply.files.length === 0) return;
      this.messages.show("notice", reply.result.summary ?? "");
      if (reply.result.warning) this.messages.show("warning", reply.result.warning);
      const file = reply.files[0]!;
      if (this.settings.choices.plotKind === "pdf") printSheets(file.bytes);
      else download(file.name, file.bytes);
    } finally {
      stop();
    }
  }
}
