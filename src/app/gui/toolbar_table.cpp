#include "app/gui/toolbar_table.h"

#include <algorithm>
#include <array>

namespace qorvel::gui {

namespace {

// The optional steps stand first, next to the settings.
constexpr std::array kLeadingSteps{StepId::PointCodes, StepId::PointProjection};

ToolbarEntry StepEntry(const StepDescription& step) {
    return ToolbarEntry{step.toolbarKey, step.tooltip, StepIconPainter(step.icon), ToolbarAction::RunStep, step.id};
}

std::vector<ToolbarEntry> MakeToolbar1() {
    std::vector<ToolbarEntry> entries{{"BT1", "设置", &icons::Settings, ToolbarAction::Settings, {}}};
    for (const StepId id : kLeadingSteps) entries.push_back(StepEntry(Describe(id)));
    for (const StepDescription& step : StepCatalogue())
        if (std::find(kLeadingSteps.begin(), kLeadingSteps.end(), step.id) == kLeadingSteps.end())
            entries.push_back(StepEntry(step));
    entries.push_back({"BT-ALL", "一键生成断面成果", &icons::OneClick, ToolbarAction::OneClick, {}});
    entries.push_back({"guanyu", "关于本软件", &icons::About, ToolbarAction::About, {}});
    entries.push_back({"BT-EXIT", "退出", &icons::Exit, ToolbarAction::Exit, {}});
    return entries;
}

const ToolbarEntry kExpand{"ZKai", "展开工具条", &icons::Expand, ToolbarAction::Expand, {}};
const ToolbarEntry kShrink{"SJin", "缩进工具条", &icons::Shrink, ToolbarAction::Shrink, {}};

}  // namespace

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
