// PDF sheets in the browser: the module draws the sheets as SVG (the core's own writer; cairo,
// which writes the desktop's PDF, is not in the browser), and the browser prints them, one sheet
// a page at the sheet's size, through its print dialog, whose "另存为 PDF" embeds the fonts of
// the surveyor's system. The SVG holds the sheets one under another; each printed page shows
// one of them through a view of the same drawing.

export function printSheets(svgBytes: Uint8Array): void {
  const text = new TextDecoder().decode(svgBytes);
  const parsed = new DOMParser().parseFromString(text, "image/svg+xml");
  const svg = parsed.documentElement;
  const view = (svg.getAttribute("viewBox") ?? "0 0 420 297").split(/[ ,]+/).map(Number);
  const count = Math.max(1, svg.querySelectorAll('g[id^="sheet-"]').length);
  const firstSheet = svg.querySelector("rect.sheet");
  const sheetWidth = view[2]!;
  const sheetHeight = parseFloat(firstSheet?.getAttribute("height") ?? String(view[3]));
  const gap = count > 1 ? (view[3]! - count * sheetHeight) / (count - 1) : 0;
  const frame = document.createElement("iframe");
  frame.style.position = "fixed";
  frame.style.width = "0";
  frame.style.height = "0";
  frame.style.border = "0";
  document.body.append(frame);
  const page = frame.contentDocument!;
  const pages: string[] = [];
  for (let k = 0; k < count; ++k)
    pages.push(
      `<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="${sheetWidth}mm" height="${sheetHeight}mm" viewBox="${view[0]} ${view[1]! + k * (sheetHeight + gap)} ${sheetWidth} ${sheetHeight}"><use href="#sheets"/></svg>`,
    );
  page.open();
  page.write(
    `<!doctype html><html><head><meta charset="utf-8"><title>断面图</title><style>@page{size:${sheetWidth}mm ${sheetHeight}mm;margin:0}body{margin:0}svg{display:block;page-break-after:always}</style></head><body>` +
      `<svg width="0" height="0" style="position:absolute"><defs><g id="sheets">${svg.innerHTML}</g></defs></svg>${pages.join("")}</body></html>`,
  );
  page.close();
  frame.contentWindow!.addEventListener("afterprint", () => frame.remove());
  setTimeout(() => frame.contentWindow!.print(), 100);
}
