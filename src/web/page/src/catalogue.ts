// What the core says of its steps, layouts and settings (its step catalogue), from which the
// page builds its forms: nothing here repeats a caption, a role or a default of the core.

export interface FileRoleSpec {
  role: number;
  name: string; // "碎步点文件"
  filter: string; // "全图碎步点数据_dat文件(*.dat)|*.dat"
}

export interface StepEntry {
  command: string;
  number: number;
  caption: string;
  help: string;
  inputs: FileRoleSpec[];
  output: { role: number; name: string; usualName: string };
  settings: number[];
}

export interface Layout {
  id: string;
  caption: string;
  extension: string;
  heightSwitches: boolean;
}

export interface Tolerance {
  id: number;
  name: string;
  caption: string;
}

export interface Catalogue {
  steps: StepEntry[];
  layouts: Layout[];
  tolerances: Tolerance[];
  pipeline: string[];
  viewerInputs: FileRoleSpec[];
  roles: { drawing: number; points: number };
  defaults: Record<string, number | boolean | string>;
}

/** The description of a dialog filter ("全图碎步点数据_dat文件(*.dat)|*.dat" → its extensions). */
export function acceptOf(filter: string): string {
  const patterns = filter.split("|")[1] ?? "";
  return patterns
    .split(";")
    .map((pattern) => pattern.trim().replace(/^\*/, ""))
    .filter((extension) => extension.startsWith("."))
    .join(",");
}
