#pragma once
// The pipeline's commands as both front ends offer them: the toolbar key, the command button,
// its caption, the toolbar tooltip and the step procedure behind them.

#include <span>
#include <string_view>

#include "app/step_frame.h"

namespace qorvel {

struct StepCommand {
    std::string_view key;      // toolbar key, e.g. "BT4"
    std::string_view button;   // command button, e.g. "Command6"; empty for a toolbar button only
    std::string_view caption;  // the button's caption
    std::string_view tooltip;  // the toolbar button's tooltip
    StepProcedure run;         // nullptr while the step is not available yet
};

// In the order of the numbered steps, after attaching a drawing.
std::span<const StepCommand> StepCommands();

// Exact, case-sensitive lookups; nullptr when nothing matches.
const StepCommand* FindStepByKey(std::string_view key);
const StepCommand* FindStepByButton(std::string_view button);

}  // namespace qorvel
