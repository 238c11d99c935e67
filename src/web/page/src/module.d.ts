// The module built from src/web (emscripten, embind): what the worker calls.
export interface QorvelReporter {
  progress(percent: number, detail: string): void;
  status(text: string): void;
  message(kind: string, text: string): void;
  line(text: string): void;
}

export interface Qorvel {
  catalogue(): string;
  attachDrawing(path: string, reporter: QorvelReporter): string;
  runPipeline(request: object, settings: object, reporter: QorvelReporter): string;
  runStep(command: string, inputs: object, output: string, settings: object, reporter: QorvelReporter): string;
  openSections(inputs: object, settings: object, reporter: QorvelReporter): string;
  sectionFigure(index: number, roomAcross: number, roomUp: number, zoom: number, exaggeration: number): string;
  sectionPlan(index: number): string;
  findStation(text: string): number;
  exportSheets(indices: number[], path: string, exaggeration: number, reporter: QorvelReporter): string;
}

export interface EmscriptenFS {
  mkdir(path: string): void;
  chdir(path: string): void;
  writeFile(path: string, data: Uint8Array): void;
  readFile(path: string): Uint8Array;
  readdir(path: string): string[];
  unlink(path: string): void;
  rmdir(path: string): void;
  analyzePath(path: string): { exists: boolean };
  isDir(mode: number): boolean;
  stat(path: string): { mode: number; size: number };
}

export interface QorvelModule {
  Qorvel: new () => Qorvel;
  FS: EmscriptenFS;
}

declare const createQorvel: (options: { wasmBinary?: ArrayBuffer | Uint8Array; print?: (text: string) => void; printErr?: (text: string) => void }) => Promise<QorvelModule>;
export default createQorvel;
