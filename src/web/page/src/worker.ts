// The worker that runs QORVEL's core (the WebAssembly module) beside the page, so that the page
// keeps drawing while a survey of a million points is computed. Each file the surveyor chose is
// put into the module's file system under its own name, in the folder the steps run in, so that
// every message names it as the surveyor knows it; the run's files are written into a folder
// of their own and handed back to the page with their sizes and records.

import createQorvel from "#module";
import wasmUrl from "#module-wasm?url";
import type { Qorvel, QorvelModule, QorvelReporter } from "#module";
import type { Answer, Event, NamedFile, Request, ResultFile, WorkerMessage } from "./protocol";

const PROJECT = "/project";
const RUN_FOLDER = "断面成果";
const STEP_FOLDER = "单步成果";
const EXPORT_FOLDER = "断面图";

const scope = self as unknown as DedicatedWorkerGlobalScope;

function post(message: WorkerMessage, transfer: Transferable[] = []): void {
  scope.postMessage(message, transfer);
}

function event(message: Event): void {
  post({ type: "event", ...message });
}

const reporter: QorvelReporter = {
  progress: (percent, detail) => event({ kind: "progress", percent, detail }),
  status: (text) => event({ kind: "status", text }),
  message: (kind, text) => event({ kind: "message", level: kind as "error", text }),
  line: (text) => event({ kind: "line", text }),
};

let module: QorvelModule;
let core: Qorvel;

/** Lines that hold more than blanks: the records of a data file. */
function countRecords(bytes: Uint8Array): number {
  let records = 0;
  let filled = false;
  for (let k = 0; k < bytes.length; ++k) {
    const byte = bytes[k]!;
    if (byte === 10) {
      if (filled) ++records;
      filled = false;
    } else if (byte !== 32 && byte !== 13) {
      filled = true;
    }
  }
  return filled ? records + 1 : records;
}

function put(files: NamedFile[]): void {
  for (const file of files)
    if (file.bytes) module.FS.writeFile(`${PROJECT}/${file.name}`, new Uint8Array(file.bytes));
}

function removeFolder(folder: string): void {
  const path = `${PROJECT}/${folder}`;
  if (!module.FS.analyzePath(path).exists) return;
  for (const name of module.FS.readdir(path)) {
    if (name === "." || name === "..") continue;
    const inner = `${path}/${name}`;
    if (module.FS.isDir(module.FS.stat(inner).mode)) removeFolder(`${folder}/${name}`);
    else module.FS.unlink(inner);
  }
  module.FS.rmdir(path);
}

function take(path: string): ResultFile {
  const bytes = module.FS.readFile(`${PROJECT}/${path}`);
  const name = path.slice(path.lastIndexOf("/") + 1);
  return { name, bytes, records: countRecords(bytes) };
}

function answer(id: number, result: unknown, files: ResultFile[] = []): void {
  const message: Answer = { id, result };
  if (files.length > 0) message.files = files;
  post({ type: "answer", ...message }, files.map((file) => file.bytes.buffer as ArrayBuffer));
}

// The files of the last completed run, by role, which the viewer opens.
let lastRun: Map<number, string> | null = null;
let catalogue: { viewerInputs: { role: number }[]; roles: { points: number } };

function handle(id: number, request: Request): void {
  switch (request.kind) {
    case "catalogue":
      answer(id, catalogue);
      return;
    case "attach":
      put([request.drawing]);
      answer(id, JSON.parse(core.attachDrawing(request.drawing.name, reporter)));
      return;
    case "run": {
      put(request.files);
      lastRun = null;
      const result = JSON.parse(
        core.runPipeline({ ...request.request, outputFolder: RUN_FOLDER }, request.settings, reporter),
      ) as { completed: boolean; files: { role: number; path: string }[] };
      const files = result.completed ? result.files.map((file) => take(file.path)) : [];
      if (result.completed) {
        lastRun = new Map(result.files.map((file) => [file.role, file.path]));
        lastRun.set(catalogue.roles.points, request.request.points);
      }
      answer(id, result, files);
      return;
    }
    case "step": {
      put(request.files);
      if (!module.FS.analyzePath(`${PROJECT}/${STEP_FOLDER}`).exists) module.FS.mkdir(`${PROJECT}/${STEP_FOLDER}`);
      const output = request.output ? `${STEP_FOLDER}/${request.output}` : "";
      const result = JSON.parse(core.runStep(request.command, request.inputs, output, request.settings, reporter)) as {
        outcome: string;
        output: string;
      };
      const files = result.outcome === "completed" && result.output ? [take(result.output)] : [];
      if (files.length > 0) module.FS.unlink(`${PROJECT}/${result.output}`);
      answer(id, result, files);
      return;
    }
    case "open":
      put(request.files);
      answer(id, JSON.parse(core.openSections(request.inputs, request.settings, reporter)));
      return;
    case "openRun": {
      if (!lastRun) {
        answer(id, { opened: false });
        return;
      }
      // The run's own four files, as step 10 read them.
      const inputs: Record<number, string> = {};
      for (const { role } of catalogue.viewerInputs) inputs[role] = lastRun.get(role) ?? "";
      answer(id, JSON.parse(core.openSections(inputs, request.settings, reporter)));
      return;
    }
    case "figure": {
      const text = core.sectionFigure(request.index, request.roomAcross, request.roomUp, request.zoom, request.exaggeration);
      answer(id, text ? JSON.parse(text) : null);
      return;
    }
    case "plan": {
      const text = core.sectionPlan(request.index);
      answer(id, text ? JSON.parse(text) : null);
      return;
    }
    case "find":
      answer(id, core.findStation(request.text));
      return;
    case "export": {
      removeFolder(EXPORT_FOLDER);
      module.FS.mkdir(`${PROJECT}/${EXPORT_FOLDER}`);
      const path = `${EXPORT_FOLDER}/${request.name}`;
      const result = JSON.parse(core.exportSheets(request.indices, path, request.exaggeration, reporter)) as {
        completed: boolean;
      };
      answer(id, result, result.completed ? [take(path)] : []);
      return;
    }
  }
}

/** The module's WebAssembly: a file beside the worker, or inlined in qorvel.html. */
async function wasmBytes(): Promise<ArrayBuffer> {
  if (wasmUrl.startsWith("data:")) {
    const text = atob(wasmUrl.slice(wasmUrl.indexOf(",") + 1));
    const bytes = new Uint8Array(text.length);
    for (let k = 0; k < text.length; ++k) bytes[k] = text.charCodeAt(k);
    return bytes.buffer;
  }
  return (await fetch(wasmUrl)).arrayBuffer();
}

const ready = wasmBytes()
  .then((wasmBinary) => createQorvel({ wasmBinary }))
  .then((loaded) => {
  module = loaded;
  module.FS.mkdir(PROJECT);
  module.FS.chdir(PROJECT);
  core = new module.Qorvel();
  catalogue = JSON.parse(core.catalogue());
  post({ type: "ready" });
});

scope.onmessage = (message: MessageEvent<{ id: number; request: Request }>) => {
  const { id, request } = message.data;
  void ready.then(() => {
    try {
      handle(id, request);
    } catch (error) {
      post({ type: "answer", id, result: null, failure: `内部错误：${String(error)}` });
    }
  });
};
