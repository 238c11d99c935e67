#pragma once
// The main window's toolbar buttons, one entry each: its key, its tooltip, its icon, its
// keyboard shortcut and what it does. The step buttons take key, tooltip and icon from the step
// catalogue, and the numbered steps 1 to 10 the shortcuts Alt+1 ... Alt+0; the toolbar is built
// from this list in its order, and a click is dispatched by the key.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/step_catalogue.h"
#include "gui/painted_icons.h"

namespace qorvel::gui {

enum class ToolbarAction { Settings, RunStep, OneClick, About, Exit, Expand, Shrink };

struct ToolbarEntry {
    std::string_view key;
    std::string_view tooltip;
    IconPainter icon;
    ToolbarAction action;
    std::optional<StepId> step;  // for RunStep
    std::string_view shortcut;   // in Qt's portable form, e.g. "Alt+3"; empty for none
};

// The button's tooltip as shown: the entry's tooltip with its shortcut, and for a numbered step
// the files it reads, e.g. "合成中桩坐标（Alt+3）\n需要：桩号文字文件、碎步点文件" (UTF-8); so
// does 查看断面.
std::string ToolbarTooltip(const ToolbarEntry& entry);

// Toolbar1, in order from the left: the settings, the two optional steps (8 and 11), attaching
// a drawing, the numbered steps, the whole run, the section viewer, about, exit.
const std::vector<ToolbarEntry>& Toolbar1Entries();
// The one button of Toolbar2 (expand) and of Toolbar3 (shrink).
const ToolbarEntry& ExpandEntry();
const ToolbarEntry& ShrinkEntry();

// The entry of any toolbar with exactly this key, letter case included; nullptr if none.
const ToolbarEntry* FindToolbarEntry(std::string_view key);

}  // namespace qorvel::gui
