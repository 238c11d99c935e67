// The messages between the page and its worker. The page asks; the worker answers each request
// once (by its id) and, while a step runs, sends what the command line would print as it goes.

/** A file the surveyor chose, by its own name (every message names it so); without bytes when
 * the worker already holds it as it is. */
export interface NamedFile {
  name: string;
  bytes: ArrayBuffer | null;
}

/** Settings by the names of the core's Settings members. */
export type SettingsValues = Record<string, number | boolean | string>;

export interface RunRequest {
  drawing: string;
  points: string;
  labelLayer: string;
  lineLayer: string;
  plotKind: string; // "", "svg" or "dxf"
}

export type Request =
  | { kind: "catalogue" }
  | { kind: "attach"; drawing: NamedFile }
  | { kind: "run"; files: NamedFile[]; request: RunRequest; settings: SettingsValues }
  | { kind: "step"; command: string; files: NamedFile[]; inputs: Record<number, string>; output: string; settings: SettingsValues }
  | { kind: "open"; files: NamedFile[]; inputs: Record<number, string>; settings: SettingsValues }
  | { kind: "openRun"; settings: SettingsValues }
  | { kind: "figure"; index: number; roomAcross: number; roomUp: number; zoom: number; exaggeration: number }
  | { kind: "plan"; index: number }
  | { kind: "find"; text: string }
  | { kind: "export"; indices: number[]; name: string; exaggeration: number };

export type Event =
  | { kind: "progress"; percent: number; detail: string }
  | { kind: "status"; text: string }
  | { kind: "message"; level: MessageLevel; text: string }
  | { kind: "line"; text: string };

export type MessageLevel = "error" | "warning" | "note" | "notice";

export interface ResultFile {
  name: string;
  bytes: Uint8Array;
  records: number;
}

export interface Answer {
  id: number;
  result: unknown;
  files?: ResultFile[];
  failure?: string; // the worker itself failed (not a step): shown as it is
}

export type WorkerMessage = ({ type: "event" } & Event) | ({ type: "answer" } & Answer) | { type: "ready" };
