// The page: QORVEL's whole job in the browser, on the same C++ core as the desktop, compiled to
// WebAssembly and run in a worker. 工程 (files, layers, settings) and 一键生成断面成果, 单步 for
// every step of the catalogue, and 断面查看.

import "./style.css";
import type { Catalogue } from "./catalogue";
import { CoreClient } from "./core_client";
import { byId } from "./dom";
import { Messages } from "./messages";
import { Project } from "./project";
import { RunPanel } from "./run";
import { SettingsStore } from "./settings_store";
import { StepsPanel } from "./steps";
import { Viewer } from "./viewer";

function showTab(name: string): void {
  for (const tab of document.querySelectorAll<HTMLElement>("section.tab")) tab.hidden = tab.id !== `tab-${name}`;
  for (const button of document.querySelectorAll<HTMLButtonElement>("nav [data-tab]"))
    button.setAttribute("aria-selected", String(button.dataset["tab"] === name));
}

async function start(): Promise<void> {
  const messages = new Messages(byId("messages"));
  const core = new CoreClient();
  let catalogue: Catalogue;
  try {
    catalogue = (await core.ask<Catalogue>({ kind: "catalogue" })).result;
  } catch (error) {
    messages.show("error", `计算模块无法启动：${String(error instanceof Error ? error.message : error)}`);
    return;
  }
  const settings = new SettingsStore(catalogue);
  const project = new Project(catalogue, settings, core, messages);
  const run = new RunPanel(catalogue, project, settings, core, messages);
  new StepsPanel(catalogue, project, settings, core, messages);
  const viewer = new Viewer(catalogue, project, settings, core, messages);
  for (const button of document.querySelectorAll<HTMLButtonElement>("nav [data-tab]"))
    button.addEventListener("click", () => showTab(button.dataset["tab"] ?? "project"));
  byId("view-run").addEventListener("click", () => {
    showTab("viewer");
    void viewer.openRun();
  });
  run.onCompleted = () => undefined;
  document.body.dataset["ready"] = "true";
}

void start();
