#include "app/step_table.h"

#include <array>

#include "app/steps/assembly_steps.h"
#include "app/steps/check_steps.h"
#include "app/steps/drawing_steps.h"
#include "app/steps/result_steps.h"

namespace qorvel {

namespace {
constexpr std::array kCommands{
    // Attaches another drawing; a toolbar button only.
    StepCommand{"BT-DWG", "", "打开图形", "打开图形", &steps::AttachDrawing},
    StepCommand{"BT2", "Command8", "1、提取多段线节点坐标", "提取多段线节点坐标", &steps::ExtractPolylineVertices},
    StepCommand{"BT3", "Command7", "2、提取中桩桩号文字", "提取中桩桩号文字信息", &steps::ExtractStationLabels},
    StepCommand{"BT4", "Command6", "3、桩号文字与桩号坐标合并", "合成中桩坐标", &steps::MergeCentreStakes},
    StepCommand{"BT5", "Command1", "4、提取横断面线端点坐标", "提取横断面线端点坐标", &steps::ExtractSectionLines},
    StepCommand{"BT-Check-K", "Command10", "5、检查有无漏掉的中桩数据", "检查有无漏掉的中桩数据", &steps::CheckCentreStakes},
    StepCommand{"BT6", "Command2", "6、断面线匹配桩号", "断面线匹配桩号", &steps::MatchSectionLines},
    StepCommand{"BT7", "Command5", "7、检查有无缺失的断面线", "检查有无缺失的断面线", &steps::CheckSectionLines},
    StepCommand{"BT-CODE", "Command3", "8、碎步点添加桩号代码", "向碎步点中增加桩号代码", &steps::AddPointCodes},
    StepCommand{"BT8", "Command4", "9、碎步点按桩号归类", "碎步点按桩号归属", &steps::GroupDetailPoints},
    StepCommand{"BT9", "Command9", "10、输出成果", "成果输出", &steps::OutputSectionResults},
    StepCommand{"BT-M", "Command11", "计算横断面线上的点", "计算碎步点移动到横断面线上的坐标", &steps::ProjectPointsOntoSectionLines},
};
}  // namespace

std::span<const StepCommand> StepCommands() { return kCommands; }

const StepCommand* FindStepByKey(std::string_view key) {
    for (const StepCommand& command : kCommands)
        if (command.key == key) return &command;
    return nullptr;
}

const StepCommand* FindStepByButton(std::string_view button) {
    for (const StepCommand& command : kCommands)
        if (command.button == button) return &command;
    return nullptr;
}

}  // namespace qorvel
