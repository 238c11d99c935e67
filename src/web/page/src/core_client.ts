// The page's side of the worker: each request a promise of its answer, and the events a step
// sends while it runs handed to whoever listens (the progress bar, the step lines, the
// messages). One request runs at a time in the worker; further ones wait their turn there.

import { startWorker } from "#worker-factory";
import type { Event, Request, ResultFile, WorkerMessage } from "./protocol";

export interface Reply<T> {
  result: T;
  files: ResultFile[];
}

export class CoreClient {
  private readonly worker = startWorker();
  private nextId = 1;
  private readonly waiting = new Map<number, { resolve: (reply: Reply<unknown>) => void; reject: (error: Error) => void }>();
  private readonly listeners = new Set<(event: Event) => void>();

  constructor() {
    this.worker.onmessage = (message: MessageEvent<WorkerMessage>) => {
      const data = message.data;
      if (data.type === "event") {
        for (const listener of this.listeners) listener(data);
      } else if (data.type === "answer") {
        const waiter = this.waiting.get(data.id);
        this.waiting.delete(data.id);
        if (!waiter) return;
        if (data.failure) waiter.reject(new Error(data.failure));
        else waiter.resolve({ result: data.result, files: data.files ?? [] });
      }
    };
    this.worker.onerror = (error) => {
      const failure = new Error(`内部错误：${error.message || "计算模块无法运行"}`);
      for (const waiter of this.waiting.values()) waiter.reject(failure);
      this.waiting.clear();
    };
  }

  listen(listener: (event: Event) => void): () => void {
    this.listeners.add(listener);
    return () => this.listeners.delete(listener);
  }

  ask<T>(request: Request, transfer: Transferable[] = []): Promise<Reply<T>> {
    const id = this.nextId++;
    return new Promise<Reply<T>>((resolve, reject) => {
      this.waiting.set(id, { resolve: resolve as (reply: Reply<unknown>) => void, reject });
      this.worker.postMessage({ id, request }, transfer);
    });
  }
}
