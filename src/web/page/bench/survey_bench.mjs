// The benchmark of the page on a big survey, in Debian's Chromium: the generator's survey of
// 25,000 stations and 1,000,000 detail points (bench/survey, its route.dxf and points.dat), the
// drawing and the points chosen, then
//   - from the click on 一键生成断面成果 to every result file listed,
//   - the longest time between two frames the page drew meanwhile, and the longest task of the
//     page's own thread (the page never freezes),
//   - from the click on 在断面查看中打开 to the sections listed,
// and that the run's files equal the command line's on the same survey, to the byte, with the
// time `qorvel run` takes on them.
//   node bench/survey_bench.mjs [STATIONS [POINTS_PER_SECTION]]
// QORVEL_GENERATOR names the generator (default build/bench/survey/qorvel_generate_survey).

import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { commandLineRun, downloadResult, launch, openPage, repository, serveSite } from "../tests/harness.mjs";

const stations = process.argv[2] ?? "25000";
const perSection = process.argv[3] ?? "40";
const generator = process.env.QORVEL_GENERATOR ?? path.join(repository, "build/bench/survey/qorvel_generate_survey");
const folder = fs.mkdtempSync(path.join(os.tmpdir(), "qorvel-web-bench-"));
execFileSync(generator, [folder, stations, perSection], { stdio: "pipe" });
const drawing = path.join(folder, "route.dxf");
const points = path.join(folder, "points.dat");

const server = await serveSite();
const chromium = await launch();
try {
  const page = await openPage(chromium.context, server.url);
  await page.setInputFiles("[data-testid=drawing-file]", drawing);
  await page.setInputFiles("[data-testid=points-file]", points);
  await page.waitForSelector("body[data-drawing=read]", { timeout: 120_000 });
  // The longest gap between two frames from here on, and the longest task of the page's own
  // thread (what freezes the page, whatever the compositor of a loaded machine does).
  await page.evaluate(() => {
    const watch = { last: performance.now(), longest: 0, task: 0 };
    window.frameWatch = watch;
    new PerformanceObserver((list) => {
      for (const entry of list.getEntries()) watch.task = Math.max(watch.task, entry.duration);
    }).observe({ type: "longtask" });
    const frame = (now) => {
      watch.longest = Math.max(watch.longest, now - watch.last);
      watch.last = now;
      requestAnimationFrame(frame);
    };
    requestAnimationFrame(frame);
  });
  const expectedCount = 9;
  const runStart = await page.evaluate(() => {
    window.frameWatch.longest = 0;
    window.frameWatch.task = 0;
    document.querySelector("[data-testid=run]").click();
    return performance.now();
  });
  await page.waitForFunction(
    (count) => document.querySelectorAll("[data-testid=results] li").length === count,
    expectedCount,
    { timeout: 300_000, polling: "raf" },
  );
  const runEnd = await page.evaluate(() => performance.now());
  const runFrames = await page.evaluate(() => window.frameWatch.longest);
  const runTask = await page.evaluate(() => window.frameWatch.task);
  const viewStart = await page.evaluate(() => {
    window.frameWatch.longest = 0;
    window.frameWatch.task = 0;
    document.querySelector("[data-testid=view-run]").click();
    return performance.now();
  });
  await page.waitForSelector("#viewer[data-sections]", { timeout: 300_000 });
  await page.waitForFunction(() => document.querySelector("[data-testid=section-list] .row") !== null, null, { polling: "raf" });
  const viewEnd = await page.evaluate(() => performance.now());
  const viewFrames = await page.evaluate(() => window.frameWatch.longest);
  const viewTask = await page.evaluate(() => window.frameWatch.task);
  const sections = await page.getAttribute("#viewer", "data-sections");

  await page.click("nav [data-tab=project]");
  // The command line on the same survey at the same moment, for scale (this machine is shared).
  const cliStart = performance.now();
  const expected = commandLineRun(drawing, points, "zh", "dmx");
  const cliSeconds = (performance.now() - cliStart) / 1000;
  let same = 0;
  for (const [name, bytes] of expected) if (bytes.equals(await downloadResult(page, "results", name))) ++same;
  const size = (file) => `${(fs.statSync(file).size / 1024 / 1024).toFixed(1)} MB`;
  console.log(`survey: ${stations} stations, ${perSection} points a section (points.dat ${size(points)}, route.dxf ${size(drawing)})`);
  console.log(`run: click to ${expectedCount} result files listed ${((runEnd - runStart) / 1000).toFixed(2)} s, longest frame ${Math.round(runFrames)} ms, longest task of the page ${Math.round(runTask)} ms`);
  console.log(`viewer: click to ${sections} sections listed ${((viewEnd - viewStart) / 1000).toFixed(2)} s, longest frame ${Math.round(viewFrames)} ms, longest task of the page ${Math.round(viewTask)} ms`);
  console.log(`qorvel run on the same files: ${cliSeconds.toFixed(2)} s`);
  console.log(`files equal to the command line's: ${same} of ${expected.size}`);
  if (same !== expected.size) process.exitCode = 1;
} finally {
  await chromium.close();
  await server.stop();
  fs.rmSync(folder, { recursive: true, force: true });
}
