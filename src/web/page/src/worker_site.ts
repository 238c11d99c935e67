// The worker of the page served from a folder: its own file beside the page.
export function startWorker(): Worker {
  return new Worker(new URL("./worker.ts", import.meta.url), { type: "module" });
}
