// The surveyor's settings, remembered in the browser from one visit to the next: the core's
// settings (tolerances, switches, layout, checks, sheets) over its start values, and the page's
// own choices (the two layers, the sheets of a run).

import type { Catalogue } from "./catalogue";
import type { SettingsValues } from "./protocol";

const KEY = "qorvel.settings";

export interface PageChoices {
  labelLayer: string;
  lineLayer: string;
  plotKind: string; // "", "svg", "dxf", "pdf"
}

export class SettingsStore {
  values: SettingsValues;
  choices: PageChoices = { labelLayer: "", lineLayer: "", plotKind: "" };
  private readonly listeners = new Set<() => void>();

  constructor(private readonly catalogue: Catalogue) {
    this.values = { ...catalogue.defaults };
    try {
      const stored = JSON.parse(localStorage.getItem(KEY) ?? "{}") as { values?: SettingsValues; choices?: Partial<PageChoices> };
      for (const [name, value] of Object.entries(stored.values ?? {}))
        if (name in this.values && typeof value === typeof this.values[name]) this.values[name] = value;
      this.choices = { ...this.choices, ...stored.choices };
    } catch {
      // A store another version left unreadable: the start values.
    }
  }

  set(name: string, value: number | boolean | string): void {
    this.values[name] = value;
    this.save();
  }

  choose<K extends keyof PageChoices>(name: K, value: PageChoices[K]): void {
    this.choices[name] = value;
    this.save();
  }

  restoreDefaults(): void {
    this.values = { ...this.catalogue.defaults };
    this.save();
  }

  onChange(listener: () => void): void {
    this.listeners.add(listener);
  }

  private save(): void {
    try {
      localStorage.setItem(KEY, JSON.stringify({ values: this.values, choices: this.choices }));
    } catch {
      // A browser that keeps nothing (private window, full store): the settings last this visit.
    }
    for (const listener of this.listeners) listener();
  }
}

/** A tolerance as the settings dialog takes it: a plain number above 0 (the avoid distance may be any). */
export function readTolerance(text: string, anyNumber: boolean): number | null {
  if (!/^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*$/.test(text)) return null;
  const value = Number(text);
  if (!Number.isFinite(value)) return null;
  if (!anyNumber && !(value > 0)) return null;
  return value;
}
