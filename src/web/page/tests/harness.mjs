// What the browser tests share: Debian's Chromium driven by playwright-core (never a browser of
// Playwright's own), the page served from build-web/site on the loopback address, the command
// line's own output to compare with, and the project's example files.

import { execFileSync } from "node:child_process";
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";
import { chromium } from "playwright-core";

const here = path.dirname(fileURLToPath(import.meta.url));
export const repository = path.resolve(here, "../../../..");
export const site = process.env.QORVEL_SITE ?? path.join(repository, "build-web/site");
export const singleFile = process.env.QORVEL_SINGLE ?? path.join(repository, "build-web/qorvel.html");
export const cli = process.env.QORVEL_CLI ?? path.join(repository, "build/bin/qorvel");
export const examples = path.join(repository, "examples");

const TYPES = { ".html": "text/html", ".js": "text/javascript", ".css": "text/css", ".wasm": "application/wasm" };

/** The site folder on 127.0.0.1, a free port; stop() closes it. */
export async function serveSite() {
  const server = http.createServer((request, response) => {
    const url = new URL(request.url ?? "/", "http://localhost");
    const file = path.join(site, decodeURIComponent(url.pathname === "/" ? "/index.html" : url.pathname));
    if (!file.startsWith(site) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { "content-type": TYPES[path.extname(file)] ?? "application/octet-stream" });
    fs.createReadStream(file).pipe(response);
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  const { port } = server.address();
  return { url: `http://127.0.0.1:${port}/`, stop: () => new Promise((resolve) => server.close(resolve)) };
}

/** Debian's Chromium, headless, with a fresh profile (the flags that work on this machine). */
export async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "qorvel-chromium-"));
  const context = await chromium.launchPersistentContext(profile, {
    acceptDownloads: true,
    locale: "zh-CN",
    viewport: { width: 1400, height: 1000 },
    executablePath: process.env.QORVEL_CHROMIUM ?? "/usr/bin/chromium",
    headless: true,
    args: [
      "--headless",
      "--no-sandbox",
      "--disable-gpu",
      "--disable-quic",
      "--no-first-run",
      "--disable-background-networking",
      "--disable-component-update",
      "--disable-sync",
      "--lang=zh-CN",
    ],
  });
  return {
    context,
    close: async () => {
      await context.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

/** A page of the site, ready (its module loaded). */
export async function openPage(context, url) {
  const page = await context.newPage();
  await page.goto(url);
  await page.waitForSelector("body[data-ready=true]", { timeout: 30_000 });
  return page;
}

/** What `qorvel run` writes for these files, file by file. */
export function commandLineRun(drawing, points, labelLayer, lineLayer, extra = []) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), "qorvel-cli-"));
  const out = path.join(folder, "out");
  execFileSync(cli, ["run", drawing, points, "--label-layer", labelLayer, "--line-layer", lineLayer, "-o", out, ...extra], {
    stdio: "pipe",
  });
  const files = new Map(fs.readdirSync(out).map((name) => [name, fs.readFileSync(path.join(out, name))]));
  fs.rmSync(folder, { recursive: true, force: true });
  return files;
}

/** What a command of `qorvel` prints on stderr (it is meant to fail), run in the files' folder. */
export function commandLineFailure(folder, args) {
  try {
    execFileSync(cli, args, { cwd: folder, stdio: "pipe" });
  } catch (error) {
    return error.stderr.toString("utf8").trim();
  }
  throw new Error(`qorvel ${args.join(" ")} did not fail`);
}

/** The bytes of the file the page offers in the results list under `name`. */
export async function downloadResult(page, list, name) {
  const [download] = await Promise.all([
    page.waitForEvent("download"),
    page.click(`[data-testid=${list}] [data-file="${name}"] button`),
  ]);
  return fs.readFileSync(await download.path());
}

/** The drawing and points chosen, the layers listed. */
export async function chooseProject(page, drawing, points) {
  await page.setInputFiles("[data-testid=drawing-file]", drawing);
  await page.setInputFiles("[data-testid=points-file]", points);
  await page.waitForFunction(() => document.querySelectorAll("[data-testid=label-layer] option").length > 0);
}
