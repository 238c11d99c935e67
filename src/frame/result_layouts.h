#pragma once
// The layouts of the section result file as the front ends offer them: the layout box's items,
// the command line's --format values, the extension of the file each writes. A layout is kept
// in the settings by its id (the --format value, "1" .. "5", "begin", "csv", "landxml", "hdm"), never
// by the text the box shows, so a caption can change without losing what was remembered.

#include <span>
#include <string_view>

namespace qorvel {

struct ResultLayout {
    std::string_view id;         // the settings' value and --format's
    std::string_view caption;    // the layout box's item, e.g. "格式 1"
    std::string_view extension;  // of the result file, with its dot
    // Whether 变换高差正负号 and 断面桩号隔一行生成 mean anything in the layout.
    bool heightSwitches = true;
    // One sentence: what each line holds and which programs read it (the box's tooltip, help).
    std::string_view description;
};

// In the order of the layout box.
std::span<const ResultLayout> ResultLayouts();
// By id, compared exactly; nullptr for any other text.
const ResultLayout* FindResultLayout(std::string_view id);
// By the box's caption, as earlier versions remembered the layout; nullptr for any other text.
const ResultLayout* FindResultLayoutByCaption(std::string_view caption);
// The layout a section file's content shows by itself (its first lines suffice): HDM's first
// line, BEGIN, the CSV table's heading, XML; nullptr for 格式 1 to 格式 5, which look alike.
const ResultLayout* DetectResultLayout(std::string_view bytes);

}  // namespace qorvel
