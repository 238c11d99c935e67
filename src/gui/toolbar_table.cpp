#include "gui/toolbar_table.h"

#include <algorithm>
#include <array>

namespace qorvel::gui {

namespace {

// The optional steps stand first, next to the settings; the viewer follows the whole run,
// whose result it shows.
constexpr std::array kLeadingSteps{StepId::PointCodes, StepId::PointProjection};
constexpr std::array kTrailingSteps{StepId::SectionViewer};

// Steps 1 to 10 by their number; Alt+0 is step 10, as 0 follows 9 on the keyboard.
constexpr std::array<std::string_view, 10> kStepShortcuts{"Alt+0", "Alt+1", "Alt+2", "Alt+3", "Alt+4",
                                                          "Alt+5", "Alt+6", "Alt+7", "Alt+8", "Alt+9"};

ToolbarEntry StepEntry(const StepDescription& step) {
    std::string_view shortcut;
    if (step.id == StepId::AttachDrawing)
        shortcut = "Ctrl+O";
    else if (step.number >= 1 && step.number <= 10)
        shortcut = kStepShortcuts[static_cast<std::size_t>(step.number % 10)];
    return ToolbarEntry{step.toolbarKey, step.tooltip, StepIconPainter(step.icon), ToolbarAction::RunStep, step.id,
                        shortcut};
}

std::vector<ToolbarEntry> MakeToolbar1() {
    std::vector<ToolbarEntry> entries{{"BT1", "设置", &icons::Settings, ToolbarAction::Settings, {}, {}}};
    for (const StepId id : kLeadingSteps) entries.push_back(StepEntry(Describe(id)));
    for (const StepDescription& step : StepCatalogue())
        if (!step.toolbarKey.empty() &&
            std::find(kLeadingSteps.begin(), kLeadingSteps.end(), step.id) == kLeadingSteps.end() &&
            std::find(kTrailingSteps.begin(), kTrailingSteps.end(), step.id) == kTrailingSteps.end())
            entries.push_back(StepEntry(step));
    entries.push_back({"BT-ALL", "一键生成断面成果", &icons::OneClick, ToolbarAction::OneClick, {}, "Ctrl+R"});
    for (const StepId id : kTrailingSteps) entries.push_back(StepEntry(Describe(id)));
    entries.push_back({"guanyu", "关于本软件", &icons::About, ToolbarAction::About, {}, {}});
    entries.push_back({"BT-EXIT", "退出", &icons::Exit, ToolbarAction::Exit, {}, {}});
    return entries;
}

const ToolbarEntry kExpand{"ZKai", "展开工具条", &icons::Expand, ToolbarAction::Expand, {}, {}};
const ToolbarEntry kShrink{"SJin", "缩进工具条", &icons::Shrink, ToolbarAction::Shrink, {}, {}};

}  // namespace

std::string ToolbarTooltip(const ToolbarEntry& entry) {
    std::string tooltip(entry.tooltip);
    if (!entry.shortcut.empty()) tooltip += "（" + std::string(entry.shortcut) + "）";
    if (!entry.step || *entry.step == StepId::AttachDrawing) return tooltip;
    const std::span<const FileSpec> inputs = Describe(*entry.step).inputs;
    for (std::size_t index = 0; index < inputs.size(); ++index)
        tooltip += (index == 0 ? "\n需要：" : "、") + std::string(RoleName(inputs[index].role));
    return tooltip;
}

const std::vector<ToolbarEntry>& Toolbar1Entries() {
    static const std::vector<ToolbarEntry> entries = MakeToolbar1();
    return entries;
}
const ToolbarEntry& ExpandEntry() { return kExpand; }
const ToolbarEntry& ShrinkEntry() { return kShrink; }

const ToolbarEntry* FindToolbarEntry(std::string_view key) {
    for (const ToolbarEntry& entry : Toolbar1Entries())
        if (entry.key == key) return &entry;
    if (kExpand.key == key) return &kExpand;
    if (kShrink.key == key) return &kShrink;
    return nullptr;
}

}  // namespace qorvel::gui
