// The README's picture of the page (docs/web.png): the example project chosen and run in
// Debian's headless Chromium.   node scripts/screenshot.mjs [OUT.png]

import path from "node:path";
import { chooseProject, examples, launch, openPage, repository, serveSite } from "../tests/harness.mjs";

const out = process.argv[2] ?? path.join(repository, "docs/web.png");
const server = await serveSite();
const chromium = await launch();
try {
  const page = await openPage(chromium.context, server.url);
  await page.setViewportSize({ width: 1280, height: 1100 });
  await chooseProject(page, path.join(examples, "route.dxf"), path.join(examples, "points.dat"));
  await page.click("[data-testid=run]");
  await page.waitForSelector("[data-testid=results] li");
  await page.screenshot({ path: out, fullPage: false });
  console.log(`screenshot: ${out}`);
} finally {
  await chromium.close();
  await server.stop();
}
