// Two builds of the page: `vite build` the folder for a web server (build-web/site: the page,
// its worker and the module's WebAssembly as files of their own), `vite build --mode single`
// the one self-contained file that opens from the disk (build-web/qorvel.html: worker and
// WebAssembly inlined). The module is the one scripts/build-web compiled (QORVEL_MODULE_DIR).

import { fileURLToPath } from "node:url";
import path from "node:path";
import { defineConfig } from "vite";
import { viteSingleFile } from "vite-plugin-singlefile";

const here = path.dirname(fileURLToPath(import.meta.url));
const repository = path.resolve(here, "../../..");
const moduleDir = process.env["QORVEL_MODULE_DIR"] ?? path.join(repository, "build-web/module");

export default defineConfig(({ mode }) => {
  const single = mode === "single";
  return {
    root: here,
    base: "./",
    resolve: {
      alias: [
        { find: /^#module-wasm/, replacement: path.join(moduleDir, "qorvel_web.wasm") },
        { find: /^#module$/, replacement: path.join(moduleDir, "qorvel_web.mjs") },
        { find: /^#worker-factory$/, replacement: path.join(here, "src", single ? "worker_single.ts" : "worker_site.ts") },
      ],
    },
    // qorvel.html opens from the disk, where a module worker from inlined code may not start.
    worker: { format: single ? "iife" : "es" },
    plugins: single ? [viteSingleFile({ removeViteModuleLoader: true })] : [],
    build: {
      outDir: path.join(repository, single ? "build-web/single" : "build-web/site"),
      emptyOutDir: true,
      target: "es2022",
      chunkSizeWarningLimit: 4096,
      assetsInlineLimit: single ? Number.MAX_SAFE_INTEGER : 4096,
    },
  };
});
