#include "gui/toolbar_table.h"

#include <algorithm>
#include <array>

namespace qorvel::gui {

namespace {

constexpr std::array kStepButtons{
    StepButton{StepId::AttachDrawing, "BT-DWG", "", "打开图形", &icons::OpenDrawing},
    StepButton{StepId::PolylineVertices, "BT2", "Command8", "提取多段线节点坐标", &icons::PolylineVertices},
    StepButton{StepId::StationLabels, "BT3", "Command7", "提取中桩桩号文字信息", &icons::StationLabels},
    StepButton{StepId::CentreStakes, "BT4", "Command6", "合成中桩坐标", &icons::MergeStakes},
    StepButton{StepId::SectionLines, "BT5", "Command1", "提取横断面线端点坐标", &icons::SectionLineEnds},
    StepButton{StepId::StakeCheck, "BT-Check-K", "Command10", "检查有无漏掉的中桩数据", &icons::CheckStakes},
    StepButton{StepId::LineMatch, "BT6", "Command2", "断面线匹配桩号", &icons::MatchLines},
    StepButton{StepId::LineCheck, "BT7", "Command5", "检查有无缺失的断面线", &icons::CheckLines},
    StepButton{StepId::PointCodes, "BT-CODE", "Command3", "向碎步点中增加桩号代码", &icons::AddCodes},
    StepButton{StepId::Membership, "BT8", "Command4", "碎步点按桩号归属", &icons::GroupPoints},
    StepButton{StepId::SectionResults, "BT9", "Command9", "成果输出", &icons::OutputSections},
    StepButton{StepId::PointProjection, "BT-M", "Command11", "计算碎步点移动到横断面线上的坐标", &icons::ProjectPoints},
    StepButton{StepId::SectionViewer, "BT-VIEW", "", "查看断面", &icons::ViewSections},
    StepButton{StepId::ConvertSections, "BT-CONV", "", "格式转换：断面成果文件转为另一种格式", &icons::ConvertSections},
};

// The optional steps stand first, next to the settings; the viewer follows the whole run,
// whose result it shows.
constexpr std::array kLeadingSteps{StepId::PointCodes, StepId::PointProjection};
constexpr std::array kTrailingSteps{StepId::SectionViewer, StepId::ConvertSections};

// Steps 1 to 10 by their number; Alt+0 is step 10, as 0 follows 9 on the keyboard.
constexpr std::array<std::string_view, 10> kStepShortcuts{"Alt+0", "Alt+1", "Alt+2", "Alt+3", "Alt+4",
                                                          "Alt+5", "Alt+6", "Alt+7", "Alt+8", "Alt+9"};

ToolbarEntry StepEntry(const StepButton& button) {
    const StepDescription& step = Describe(button.step);
    std::string_view shortcut;
    if (step.id == StepId::AttachDrawing)
        shortcut = "Ctrl+O";
    else if (step.number >= 1 && step.number <= 10)
        shortcut = kStepShortcuts[static_cast<std::size_t>(step.number % 10)];
    return ToolbarEntry{button.key, button.tooltip, button.icon, ToolbarAction::RunStep, step.id, shortcut};
}

std::vector<ToolbarEntry> MakeToolbar1() {
    std::vector<ToolbarEntry> entries{{"BT1", "设置", &icons::Settings, ToolbarAction::Settings, {}, {}}};
    for (const StepId id : kLeadingSteps) entries.push_back(StepEntry(*FindStepButton(id)));
    for (const StepButton& button : kStepButtons)
        if (!button.key.empty() &&
            std::find(kLeadingSteps.begin(), kLeadingSteps.end(), button.step) == kLeadingSteps.end() &&
            std::find(kTrailingSteps.begin(), kTrailingSteps.end(), button.step) == kTrailingSteps.end())
            entries.push_back(StepEntry(button));
    entries.push_back({"BT-ALL", "一键生成断面成果", &icons::OneClick, ToolbarAction::OneClick, {}, "Ctrl+R"});
    for (const StepId id : kTrailingSteps) entries.push_back(StepEntry(*FindStepButton(id)));
    entries.push_back({"guanyu", "关于本软件", &icons::About, ToolbarAction::About, {}, {}});
    entries.push_back({"BT-EXIT", "退出", &icons::Exit, ToolbarAction::Exit, {}, {}});
    return entries;
}

const ToolbarEntry kExpand{"ZKai", "展开工具条", &icons::Expand, ToolbarAction::Expand, {}, {}};
const ToolbarEntry kShrink{"SJin", "缩进工具条", &icons::Shrink, ToolbarAction::Shrink, {}, {}};

}  // namespace

const StepButton* FindStepButton(StepId step) {
    for (const StepButton& button : kStepButtons)
        if (button.step == step) return &button;
    return nullptr;
}

const StepButton* FindStepButtonByKey(std::string_view key) {
    for (const StepButton& button : kStepButtons)
        if (!key.empty() && button.key == key) return &button;
    return nullptr;
}

const StepButton* FindStepButtonByButton(std::string_view name) {
    for (const StepButton& button : kStepButtons)
        if (!name.empty() && button.button == name) return &button;
    return nullptr;
}

std::span<const StepButton> StepButtons() { return kStepButtons; }

std::string ToolbarTooltip(const ToolbarEntry& entry) {
    std::string tooltip(entry.tooltip);
    if (!entry.shortcut.empty()) tooltip += "（" + std::string(entry.shortcut) + "）";
    if (!entry.step || *entry.step == StepId::AttachDrawing) return tooltip;
    const std::span<const FileSpec> inputs = Describe(*entry.step).inputs;
    for (std::size_t index = 0; index < inputs.size(); ++index)
        tooltip += (index == 0 ? "\n需要：" : "、") + std::string(RoleName(inputs[index].role)) +
                   (inputs[index].optional ? "（可选）" : "");
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
