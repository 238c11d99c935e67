// The page in a real browser beyond the example's run: bad input reported in the command line's
// words, naming the file by its name; the viewer opening, stepping and jumping; a single step;
// the settings surviving a reload; the page in one file opening from the disk.

import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { after, before, test } from "node:test";
import {
  chooseProject,
  cli,
  commandLineFailure,
  commandLineRun,
  downloadResult,
  examples,
  launch,
  openPage,
  serveSite,
  singleFile,
} from "./harness.mjs";

let server;
let chromium;
let folder;

before(async () => {
  server = await serveSite();
  chromium = await launch();
  folder = fs.mkdtempSync(path.join(os.tmpdir(), "qorvel-bad-"));
});
after(async () => {
  await chromium?.close();
  await server?.stop();
  fs.rmSync(folder, { recursive: true, force: true });
});

const drawing = path.join(examples, "route.dxf");
const points = path.join(examples, "points.dat");

// The messages once the files are chosen and, where the drawing could be read, run.
async function messagesAfterRun(page, drawingFile, pointsFile) {
  await page.setInputFiles("[data-testid=drawing-file]", drawingFile);
  await page.setInputFiles("[data-testid=points-file]", pointsFile);
  await page.waitForSelector("body[data-drawing]");
  if ((await page.getAttribute("body", "data-drawing")) === "refused") return page.textContent("[data-testid=messages]");
  await page.click("[data-testid=run]");
  await page.waitForFunction(() => !document.querySelector("[data-testid=run]").disabled);
  return page.textContent("[data-testid=messages]");
}

test("bad input shows the command line's message, naming the file by its name", async () => {
  // A coordinate that is no number in the drawing; the drawing given as the detail point file.
  const text = fs.readFileSync(drawing, "latin1");
  const entities = text.indexOf("ENTITIES");
  const broken = text.slice(0, entities) + text.slice(entities).replace(/\n 10\r?\n(-?[0-9.]+)/, (line, value) => line.replace(value, `${value}abc`));
  assert.notEqual(broken, fs.readFileSync(drawing, "latin1"));
  fs.writeFileSync(path.join(folder, "断面图形.dxf"), broken, "latin1");
  fs.copyFileSync(points, path.join(folder, "points.dat"));
  fs.copyFileSync(drawing, path.join(folder, "route.dxf"));
  const cases = [
    ["断面图形.dxf", "points.dat"],
    ["route.dxf", "route.dxf"],
  ];
  for (const [drawingName, pointsName] of cases) {
    const expected = commandLineFailure(folder, ["run", drawingName, pointsName, "--label-layer", "zh", "--line-layer", "dmx", "-o", "out"]);
    const firstLine = expected.split("\n")[0];
    assert.match(firstLine, /^错误：/);
    const page = await openPage(chromium.context, server.url);
    const shown = await messagesAfterRun(page, path.join(folder, drawingName), path.join(folder, pointsName));
    assert.ok(shown.includes(firstLine), `${drawingName}, ${pointsName}: ${shown} lacks ${firstLine}`);
    assert.equal(await page.$$eval("[data-testid=results] li", (items) => items.length), 0);
    await page.close();
  }
});

test("a drawing that is no DXF is refused as the command line refuses it", async () => {
  const picture = path.join(folder, "照片.png");
  fs.writeFileSync(picture, Buffer.from("89504e470d0a1a0a0000000d49484452000000010000000108060000001f15c489", "hex"));
  const expected = commandLineFailure(folder, ["labels", "照片.png", "--layer", "zh", "-o", "labels.dat"]);
  const page = await openPage(chromium.context, server.url);
  await page.setInputFiles("[data-testid=drawing-file]", picture);
  await page.waitForFunction(() => document.querySelector("[data-testid=messages]").textContent.includes("照片.png"));
  assert.ok((await page.textContent("[data-testid=messages]")).includes(expected.split("\n")[0]));
  await page.close();
});

test("the viewer opens the run's sections, steps with the keys and jumps to a station", async () => {
  const page = await openPage(chromium.context, server.url);
  await chooseProject(page, drawing, points);
  await page.click("[data-testid=run]");
  await page.waitForSelector("[data-testid=results] li");
  await page.click("[data-testid=view-run]");
  await page.waitForSelector("[data-testid=viewer] #viewer[data-sections='52']");
  const station = () => page.getAttribute("#viewer", "data-station");
  assert.equal(await station(), "0");
  await page.focus("[data-testid=section-list]");
  await page.keyboard.press("PageDown");
  assert.equal(await station(), "20");
  await page.keyboard.press("End");
  assert.equal(await station(), "1000");
  await page.keyboard.press("ArrowUp");
  assert.equal(await station(), "980");
  await page.fill("[data-testid=jump]", "K0+452");
  await page.press("[data-testid=jump]", "Enter");
  await page.waitForFunction(() => document.querySelector("#viewer").dataset.station === "456.78");
  assert.match(await page.textContent("[data-testid=section-position]"), /第 \d+ \/ 52 个/);
  await page.close();
});

test("a single step asks for its files by role and writes the command line's file", async () => {
  const expectedFolder = fs.mkdtempSync(path.join(os.tmpdir(), "qorvel-step-"));
  const labels = path.join(examples, "labels.dat");
  execFileSync(cli, ["stakes", labels, points, "-o", path.join(expectedFolder, "03-stakes.dat")], { stdio: "pipe" });
  const page = await openPage(chromium.context, server.url);
  await page.click("nav [data-tab=steps]");
  const step = "[data-step=stakes]";
  const boxes = await page.$$(`${step} input[type=file]`);
  assert.equal(boxes.length, 2);
  await boxes[0].setInputFiles(labels);
  await boxes[1].setInputFiles(points);
  await page.click(`${step} button`);
  await page.waitForSelector("[data-testid=step-results] [data-file='03-stakes.dat']");
  const written = await downloadResult(page, "step-results", "03-stakes.dat");
  assert.ok(fs.readFileSync(path.join(expectedFolder, "03-stakes.dat")).equals(written));
  assert.match(await page.textContent(`${step} .summary`), /本次共合成中桩坐标个数 53 个！/);
  fs.rmSync(expectedFolder, { recursive: true, force: true });
  await page.close();
});

test("the settings survive a reload", async () => {
  const page = await openPage(chromium.context, server.url);
  await page.fill("input[data-setting=stakeTolerance]", "0.07");
  await page.press("input[data-setting=stakeTolerance]", "Tab");
  await page.check("input[data-setting=routeSides]");
  await page.selectOption("[data-testid=layout]", "csv");
  await page.reload();
  await page.waitForSelector("body[data-ready=true]");
  assert.equal(await page.inputValue("input[data-setting=stakeTolerance]"), "0.07");
  assert.equal(await page.isChecked("input[data-setting=routeSides]"), true);
  assert.equal(await page.inputValue("[data-testid=layout]"), "csv");
  await page.evaluate(() => localStorage.clear());
  await page.close();
});

test("qorvel.html opens from the disk and runs the example as the site does", async () => {
  const expected = commandLineRun(drawing, points, "zh", "dmx");
  const page = await chromium.context.newPage();
  await page.goto(pathToFileURL(singleFile).href);
  await page.waitForSelector("body[data-ready=true]", { timeout: 30_000 });
  await chooseProject(page, drawing, points);
  await page.click("[data-testid=run]");
  await page.waitForFunction((count) => document.querySelectorAll("[data-testid=results] li").length === count, expected.size);
  assert.ok(expected.get("10-sections.dat").equals(await downloadResult(page, "results", "10-sections.dat")));
  await page.close();
});
