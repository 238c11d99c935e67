// The module's WebAssembly as Vite hands it to the worker: its URL (a data: URL in qorvel.html).
declare const url: string;
export default url;
