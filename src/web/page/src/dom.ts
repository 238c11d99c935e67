// Small helpers for building the page's elements.

export function element<K extends keyof HTMLElementTagNameMap>(
  tag: K,
  attributes: Record<string, string> = {},
  ...children: (Node | string)[]
): HTMLElementTagNameMap[K] {
  const made = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) {
    if (name === "class") made.className = value;
    else made.setAttribute(name, value);
  }
  made.append(...children);
  return made;
}

export function byId<T extends HTMLElement>(id: string): T {
  const found = document.getElementById(id);
  if (!found) throw new Error(`missing element #${id}`);
  return found as T;
}

/** "1.2 MB", "950 KB", "12 B". */
export function sizeText(bytes: number): string {
  if (bytes >= 1024 * 1024) return `${(bytes / 1024 / 1024).toFixed(1)} MB`;
  if (bytes >= 1024) return `${Math.round(bytes / 1024)} KB`;
  return `${bytes} B`;
}

/** Offers `bytes` as a download named `name`. */
export function download(name: string, bytes: Uint8Array | Blob): void {
  const blob = bytes instanceof Blob ? bytes : new Blob([bytes as BlobPart]);
  const url = URL.createObjectURL(blob);
  const link = element("a", { href: url, download: name });
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60_000);
}
