#include "app/gui/toolbar_table.h"

#include <array>

#include "app/gui/main_window.h"

namespace qorvel::gui {

namespace {

void RunStep(MainWindow& window, std::string_view key) { window.RunStepByKey(key); }
void ShowSettings(MainWindow& window, std::string_view) { window.ShowSettings(); }
void ShowAbout(MainWindow& window, std::string_view) { window.ShowAbout(); }
void ShowOneClick(MainWindow& window, std::string_view) { window.ShowOneClick(); }
void Exit(MainWindow& window, std::string_view) { window.ExitProgram(); }
void Expand(MainWindow& window, std::string_view) { window.Expand(); }
void Shrink(MainWindow& window, std::string_view) { window.Shrink(); }

constexpr std::array kToolbar1{
    ToolbarEntry{"BT1", "设置", &icons::Settings, &ShowSettings},
    ToolbarEntry{"BT-CODE", "向碎步点中增加桩号代码", &icons::AddCodes, &RunStep},
    ToolbarEntry{"BT-M", "计算碎步点移动到横断面线上的坐标", &icons::ProjectPoints, &RunStep},
    ToolbarEntry{"BT-DWG", "打开图形", &icons::OpenDrawing, &RunStep},
    ToolbarEntry{"BT2", "提取多段线节点坐标", &icons::PolylineVertices, &RunStep},
    ToolbarEntry{"BT3", "提取中桩桩号文字信息", &icons::StationLabels, &RunStep},
    ToolbarEntry{"BT4", "合成中桩坐标", &icons::MergeStakes, &RunStep},
    ToolbarEntry{"BT5", "提取横断面线端点坐标", &icons::SectionLineEnds, &RunStep},
    ToolbarEntry{"BT-Check-K", "检查有无漏掉的中桩数据", &icons::CheckStakes, &RunStep},
    ToolbarEntry{"BT6", "断面线匹配桩号", &icons::MatchLines, &RunStep},
    ToolbarEntry{"BT7", "检查有无缺失的断面线", &icons::CheckLines, &RunStep},
    ToolbarEntry{"BT8", "碎步点按桩号归属", &icons::GroupPoints, &RunStep},
    ToolbarEntry{"BT9", "成果输出", &icons::OutputSections, &RunStep},
    ToolbarEntry{"BT-ALL", "一键生成断面成果", &icons::OneClick, &ShowOneClick},
    ToolbarEntry{"guanyu", "关于本软件", &icons::About, &ShowAbout},
    ToolbarEntry{"BT-EXIT", "退出", &icons::Exit, &Exit},
};

constexpr ToolbarEntry kExpand{"ZKai", "展开工具条", &icons::Expand, &Expand};
constexpr ToolbarEntry kShrink{"SJin", "缩进工具条", &icons::Shrink, &Shrink};

}  // namespace

std::span<const ToolbarEntry> Toolbar1Entries() { return kToolbar1; }
const ToolbarEntry& ExpandEntry() { return kExpand; }
const ToolbarEntry& ShrinkEntry() { return kShrink; }

const ToolbarEntry* FindToolbarEntry(std::string_view key) {
    for (const ToolbarEntry& entry : kToolbar1)
        if (entry.key == key) return &entry;
    if (kExpand.key == key) return &kExpand;
    if (kShrink.key == key) return &kShrink;
    return nullptr;
}

}  // namespace qorvel::gui
