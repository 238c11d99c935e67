#pragma once
// The main window's toolbar buttons, one entry each: its key, its tooltip, its icon, its
// keyboard shortcut and what it does; and how the window shows each step: its toolbar key, its
// command button (the object names the window has always had), its tooltip and its icon. The
// numbered steps 1 to 10 take the shortcuts Alt+1 ... Alt+0; the toolbar is built from this
// list in its order, and a click is dispatched by the key. The step catalogue knows nothing of
// this: it is the window's skin.

#include <optional>
#include <span>
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

// How the window shows a step.
struct StepButton {
    StepId step;
    std::string_view key;      // on the toolbar, e.g. "BT4"; empty for a step the toolbar does not offer
    std::string_view button;   // the hidden command button, e.g. "Command6"; empty for none
    std::string_view tooltip;  // the toolbar button's tooltip
    IconPainter icon;
};

// In the catalogue's order; nullptr for a step the window does not show.
const StepButton* FindStepButton(StepId step);
// By toolbar key or by command button, exactly; nullptr when none matches.
const StepButton* FindStepButtonByKey(std::string_view key);
const StepButton* FindStepButtonByButton(std::string_view button);
std::span<const StepButton> StepButtons();

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
