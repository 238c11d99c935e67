// The run through the page, in a real browser: the files it gives are those of the command line
// to the byte, on the example and on a generated survey; the page and the zip offer them all.

import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { after, before, test } from "node:test";
import { unzipSync } from "fflate";
import { chooseProject, commandLineRun, downloadResult, examples, launch, openPage, repository, serveSite } from "./harness.mjs";

let server;
let chromium;

before(async () => {
  server = await serveSite();
  chromium = await launch();
});
after(async () => {
  await chromium?.close();
  await server?.stop();
});

test("the run of the example gives the command line's files, listed, each and all in a zip", async () => {
  const drawing = path.join(examples, "route.dxf");
  const points = path.join(examples, "points.dat");
  const expected = commandLineRun(drawing, points, "zh", "dmx");
  const page = await openPage(chromium.context, server.url);
  await chooseProject(page, drawing, points);
  // Suggested: the layer whose texts read as stations, the layer with the most lines.
  assert.equal(await page.inputValue("[data-testid=label-layer]"), "zh");
  assert.equal(await page.inputValue("[data-testid=line-layer]"), "dmx");
  await page.click("[data-testid=run]");
  await page.waitForFunction((count) => document.querySelectorAll("[data-testid=results] li").length === count, expected.size);
  const listed = await page.$$eval("[data-testid=results] li", (items) => items.map((item) => item.dataset.file));
  assert.deepEqual([...listed].sort(), [...expected.keys()].sort());
  for (const [name, bytes] of expected) assert.ok(bytes.equals(await downloadResult(page, "results", name)), name);
  // Chromium lets a page start no more than ten downloads in a row at once: a pause before the zip.
  await page.waitForTimeout(1500);
  const [zip] = await Promise.all([page.waitForEvent("download"), page.click("[data-testid=download-all]")]);
  const unzipped = unzipSync(fs.readFileSync(await zip.path()));
  for (const [name, bytes] of expected) assert.ok(bytes.equals(Buffer.from(unzipped[name])), `${name} in the zip`);
  const lines = await page.textContent("[data-testid=stage-lines]");
  assert.match(lines, /10-sections\.dat：共有断面数：52 条。/);
  assert.match(await page.textContent("[data-testid=problems]"), /缺少中桩：K0\+340/);
});

test("a generated survey with the route's sides and layout 3 gives the command line's files", async () => {
  const generator = process.env.QORVEL_GENERATOR ?? path.join(repository, "build/bench/survey/qorvel_generate_survey");
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), "qorvel-survey-"));
  execFileSync(generator, [folder, "400", "25", "7"], { stdio: "pipe" });
  const drawing = path.join(folder, "route.dxf");
  const points = path.join(folder, "points.dat");
  const expected = commandLineRun(drawing, points, "zh", "dmx", ["--sides", "route", "--format", "3", "--stake-tolerance", "0.06"]);
  const page = await openPage(chromium.context, server.url);
  await chooseProject(page, drawing, points);
  await page.check("input[data-setting=routeSides]");
  await page.selectOption("[data-testid=layout]", "3");
  await page.fill("input[data-setting=stakeTolerance]", "0.06");
  await page.press("input[data-setting=stakeTolerance]", "Tab");
  await page.click("[data-testid=run]");
  await page.waitForFunction((count) => document.querySelectorAll("[data-testid=results] li").length === count, expected.size);
  for (const [name, bytes] of expected) assert.ok(bytes.equals(await downloadResult(page, "results", name)), name);
  await page.evaluate(() => localStorage.clear());
  await page.close();
  fs.rmSync(folder, { recursive: true, force: true });
});
