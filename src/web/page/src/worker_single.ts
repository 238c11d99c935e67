// The worker of qorvel.html, the page in one file: inlined, so that the page opens from the disk.
import InlineWorker from "./worker.ts?worker&inline";

export function startWorker(): Worker {
  return new InlineWorker();
}
