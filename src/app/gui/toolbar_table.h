#pragma once
// The main window's toolbar buttons, one entry each: its key, its tooltip, its icon and what it
// does. The toolbar is built from this table in its order, and a click is dispatched by the key,
// so a new command is one more entry here. Step entries run the step that the step table
// (app/step_table.h) lists under the same key.

#include <span>
#include <string_view>

#include "app/gui/painted_icons.h"

namespace qorvel::gui {

class MainWindow;

using ToolbarHandler = void (*)(MainWindow& window, std::string_view key);

struct ToolbarEntry {
    std::string_view key;
    std::string_view tooltip;
    IconPainter icon;
    ToolbarHandler handler;
};

// Toolbar1, in order from the left.
std::span<const ToolbarEntry> Toolbar1Entries();
// The one button of Toolbar2 (expand) and of Toolbar3 (shrink).
const ToolbarEntry& ExpandEntry();
const ToolbarEntry& ShrinkEntry();

// The entry of any toolbar with exactly this key, letter case included; nullptr if none.
const ToolbarEntry* FindToolbarEntry(std::string_view key);

}  // namespace qorvel::gui
