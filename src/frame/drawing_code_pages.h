#pragma once
// The code pages a surveyor may name for drawings that do not name theirs, as the front ends
// offer them: `--code-page NAME` on the drawing commands and `run`, the settings dialog's
// choice. A drawing saved before R2007 without $DWGCODEPAGE (or with one the reader does not
// know) was written on the surveyor's own system, in its code page: ANSI_936 (GBK) on a
// Simplified-Chinese one, ANSI_950 on a Traditional-Chinese one, and so on. The front ends see
// the drawing reader's list only through here.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qorvel {

struct DrawingCodePage {
    std::string name;         // "ANSI_936", as $DWGCODEPAGE writes it
    std::string description;  // "简体中文（GBK）"
};

// Every code page a surveyor may name, the usual ANSI_936 first.
const std::vector<DrawingCodePage>& DrawingCodePages();

// The name as the list spells it for `typed` (letter case ignored: "ansi_936" is "ANSI_936");
// nothing when it names none of them.
std::optional<std::string> DrawingCodePageNamed(std::string_view typed);

}  // namespace qorvel
