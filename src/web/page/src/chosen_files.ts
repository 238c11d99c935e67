// The files the surveyor chose, handed to the worker by name. A file the worker already holds
// as it is goes without its bytes: the drawing read for its layers is not read again by the
// run, and a million points cross once.

import type { NamedFile } from "./protocol";

export class ChosenFiles {
  private readonly sent = new Map<string, File>();

  /** The files for a request, and the buffers to hand over with it. */
  async prepare(files: File[]): Promise<{ files: NamedFile[]; transfer: ArrayBuffer[] }> {
    const named: NamedFile[] = [];
    const transfer: ArrayBuffer[] = [];
    for (const file of files) {
      if (this.sent.get(file.name) === file) {
        named.push({ name: file.name, bytes: null });
        continue;
      }
      const bytes = await file.arrayBuffer();
      this.sent.set(file.name, file);
      named.push({ name: file.name, bytes });
      transfer.push(bytes);
    }
    return { files: named, transfer };
  }
}
