#include "frame/step_catalogue.h"

#include <algorithm>
#include <array>

#include "frame/steps/assembly_steps.h"
#include "frame/steps/check_steps.h"
#include "frame/steps/drawing_steps.h"
#include "frame/steps/result_steps.h"

namespace qorvel {

namespace {

using enum FileRole;
using enum SettingId;

constexpr const char* kDrawingFilter = "DXF图形文件(*.dxf)|*.dxf";
constexpr const char* kLabelFilter = "提取的桩号文字信息_dat文件(*.dat)|*.dat";
constexpr const char* kPointFilter = "全图碎步点数据_dat文件(*.dat)|*.dat";
constexpr const char* kStakeFilter = "中桩数据_dat文件(*.dat)|*.dat";
constexpr const char* kMatchedFilter = "匹配桩号后的断面线_dat文件(*.dat)|*.dat";

constexpr std::array kDrawingInput{FileSpec{Drawing, kDrawingFilter}};
constexpr std::array kStakesInputs{FileSpec{StationLabels, kLabelFilter}, FileSpec{DetailPoints, kPointFilter}};
constexpr std::array kStakeCheckInputs{FileSpec{StationLabels, kLabelFilter}, FileSpec{CentreStakes, kStakeFilter}};
constexpr std::array kMatchInputs{FileSpec{CentreStakes, kStakeFilter},
                                  FileSpec{SectionLines, "提取的断面线数据_dat文件(*.dat)|*.dat"}};
constexpr std::array kLineCheckInputs{FileSpec{CentreStakes, kStakeFilter}, FileSpec{MatchedLines, kMatchedFilter}};
constexpr std::array kLinePointInputs{FileSpec{MatchedLines, kMatchedFilter}, FileSpec{DetailPoints, kPointFilter}};
constexpr std::array kSectionInputs{
    FileSpec{Membership, "桩号包含碎步点点号的文件_dat文件(*.dat)|*.dat"},
    FileSpec{CentreStakes, "检查后的中桩数据_dat文件(*.dat)|*.dat"},
    FileSpec{DetailPoints, kPointFilter},
    FileSpec{MatchedLines, "匹配桩号后的断面线数据_dat文件(*.dat)|*.dat"},
};

constexpr std::array kLayer{LayerName};
constexpr std::array kStakeSettings{StakeTolerance, NumericLabels};
constexpr std::array kNumericLabels{NumericLabels};
constexpr std::array kMatchSettings{MatchTolerance};
constexpr std::array kCodeSettings{CodeTolerance};
constexpr std::array kGroupSettings{GroupTolerance};
constexpr std::array kSectionSettings{AvoidDistance, SectionSides, ResultLayout};
constexpr std::array kCheckSettings{AvoidDistance, SectionSides, SectionChecks};
constexpr std::array kSheetSettings{AvoidDistance, SectionSides, SheetOptions};
constexpr std::array kViewSettings{AvoidDistance, SectionSides, SectionChecks, SheetOptions};

constexpr std::array kSteps{
    StepDescription{StepId::AttachDrawing, 0, "BT-DWG", "", "打开图形", "打开图形", StepIcon::OpenDrawing, "", "",
                    kDrawingInput, {}, "", {}, &steps::AttachDrawing},
    StepDescription{StepId::PolylineVertices, 1, "BT2", "Command8", "1、提取多段线节点坐标", "提取多段线节点坐标",
                    StepIcon::PolylineVertices, "polylines", "1、提取多段线节点坐标：图层上轻量多段线的节点",
                    kDrawingInput, {FileRole::PolylineVertices, "保存_多段线节点的dat文件(*.dat)|*.dat"},
                    "01-polylines.dat", kLayer, &steps::ExtractPolylineVertices},
    StepDescription{StepId::StationLabels, 2, "BT3", "Command7", "2、提取中桩桩号文字", "提取中桩桩号文字信息",
                    StepIcon::StationLabels, "labels", "2、提取中桩桩号文字：图层上单行文字的插入点与内容",
                    kDrawingInput, {FileRole::StationLabels, "保存_桩号文字信息_dat文件(*.dat)|*.dat"},
                    "02-labels.dat", kLayer, &steps::ExtractStationLabels},
    StepDescription{StepId::CentreStakes, 3, "BT4", "Command6", "3、桩号文字与桩号坐标合并", "合成中桩坐标",
                    StepIcon::MergeStakes, "stakes", "3、桩号文字与桩号坐标合并：由桩号文字和碎步点合成中桩坐标",
                    kStakesInputs, {FileRole::CentreStakes, "保存_中桩数据dat文件(*.dat)|*.dat"}, "03-stakes.dat",
                    kStakeSettings, &steps::MergeCentreStakes},
    StepDescription{StepId::SectionLines, 4, "BT5", "Command1", "4、提取横断面线端点坐标", "提取横断面线端点坐标",
                    StepIcon::SectionLineEnds, "lines", "4、提取横断面线端点坐标：图层上直线的两个端点",
                    kDrawingInput, {FileRole::SectionLines, "取出_断面线端点坐标（dat文件）(*.dat)|*.dat"},
                    "04-lines.dat", kLayer, &steps::ExtractSectionLines},
    StepDescription{StepId::StakeCheck, 5, "BT-Check-K", "Command10", "5、检查有无漏掉的中桩数据",
                    "检查有无漏掉的中桩数据", StepIcon::CheckStakes, "check-stakes", "5、检查有无漏掉的中桩数据",
                    kStakeCheckInputs, {StakeCheckReport, "保存_漏掉的中桩检查结果_dat文件(*.dat)|*.dat"},
                    "05-check-stakes.dat", kNumericLabels, &steps::CheckCentreStakes},
    StepDescription{StepId::LineMatch, 6, "BT6", "Command2", "6、断面线匹配桩号", "断面线匹配桩号",
                    StepIcon::MatchLines, "match", "6、断面线匹配桩号", kMatchInputs,
                    {MatchedLines, "保存_匹配桩号后的断面线dat文件(*.dat)|*.dat"}, "06-matched.dat", kMatchSettings,
                    &steps::MatchSectionLines},
    StepDescription{StepId::LineCheck, 7, "BT7", "Command5", "7、检查有无缺失的断面线", "检查有无缺失的断面线",
                    StepIcon::CheckLines, "check-lines", "7、检查有无缺失的断面线", kLineCheckInputs,
                    {LineCheckReport, "保存_缺失的断面线检查结果_dat文件(*.dat)|*.dat"}, "07-check-lines.dat", {},
                    &steps::CheckSectionLines},
    StepDescription{StepId::PointCodes, 8, "BT-CODE", "Command3", "8、碎步点添加桩号代码", "向碎步点中增加桩号代码",
                    StepIcon::AddCodes, "add-codes", "8、碎步点添加桩号代码", kLinePointInputs,
                    {CodedPoints, "保存_添加桩号代码后的碎步点_dat文件(*.dat)|*.dat"}, "08-coded-points.dat",
                    kCodeSettings, &steps::AddPointCodes},
    StepDescription{StepId::Membership, 9, "BT8", "Command4", "9、碎步点按桩号归类", "碎步点按桩号归属",
                    StepIcon::GroupPoints, "group", "9、碎步点按桩号归类", kLinePointInputs,
                    {FileRole::Membership, "保存_桩号包含哪些碎步点_dat文件(*.dat)|*.dat"}, "09-members.dat",
                    kGroupSettings, &steps::GroupDetailPoints},
    StepDescription{StepId::SectionResults, 10, "BT9", "Command9", "10、输出成果", "成果输出",
                    StepIcon::OutputSections, "sections", "10、输出成果：生成横断面成果文件", kSectionInputs,
                    {FileRole::SectionResults, "断面成果_dat文件(*.dat)|*.dat"}, "10-sections.dat", kSectionSettings,
                    &steps::OutputSectionResults},
    StepDescription{StepId::PointProjection, 11, "BT-M", "Command11", "计算横断面线上的点",
                    "计算碎步点移动到横断面线上的坐标", StepIcon::ProjectPoints, "project-points", "计算横断面线上的点",
                    kLinePointInputs, {ProjectedPoints, "保存_横断面线上的点_dat文件(*.dat)|*.dat"},
                    "11-projected-points.dat", kGroupSettings, &steps::ProjectPointsOntoSectionLines},
    StepDescription{StepId::SectionCheck, 12, "", "", "12、检查断面", "检查断面", StepIcon::CheckLines,
                    "check-sections", "12、检查断面：反向、斜交、无点、高程突变、点距过大、断面线相交、桩号与位置不符",
                    kSectionInputs, {SectionCheckReport, "保存_断面检查结果_dat文件(*.dat)|*.dat"},
                    "12-check-sections.dat", kCheckSettings, &steps::CheckSections},
    StepDescription{StepId::SectionSheets, 0, "", "", "绘制断面图", "绘制断面图", StepIcon::OutputSections, "plot",
                    "绘制断面图：PDF、SVG 或 DXF，按输出文件的扩展名", kSectionInputs,
                    {FileRole::SectionSheets, "断面图(*.pdf *.svg *.dxf)|*.pdf;*.svg;*.dxf"}, "10-sections.pdf",
                    kSheetSettings, &steps::PlotSections},
    // Opens the sections in the window's viewer (the window offers it after the whole run).
    StepDescription{StepId::SectionViewer, 0, "BT-VIEW", "", "查看断面", "查看断面", StepIcon::ViewSections, "", "",
                    kSectionInputs, {}, "", kViewSettings, &steps::ViewSections},
};

template <class Member>
const StepDescription* FindBy(Member member, std::string_view value) {
    if (value.empty()) return nullptr;
    for (const StepDescription& step : kSteps)
        if (step.*member == value) return &step;
    return nullptr;
}

}  // namespace

std::string_view RoleName(FileRole role) {
    switch (role) {
        case None: break;
        case Drawing: return "路线图形";
        case DetailPoints: return "碎步点文件";
        case FileRole::PolylineVertices: return "多段线节点文件";
        case FileRole::StationLabels: return "桩号文字文件";
        case FileRole::CentreStakes: return "中桩文件";
        case FileRole::SectionLines: return "断面线文件";
        case StakeCheckReport: return "中桩检查结果";
        case MatchedLines: return "匹配桩号后的断面线文件";
        case LineCheckReport: return "断面线检查结果";
        case CodedPoints: return "添加桩号代码后的碎步点文件";
        case FileRole::Membership: return "桩号归属文件";
        case FileRole::SectionResults: return "断面成果文件";
        case ProjectedPoints: return "横断面线上的点文件";
        case SectionCheckReport: return "断面检查结果";
        case FileRole::SectionSheets: return "断面图";
    }
    return "";
}

std::string_view RoleArgument(FileRole role) {
    switch (role) {
        case Drawing: return "DRAWING";
        case DetailPoints: return "POINTS";
        case FileRole::StationLabels: return "LABELS";
        case FileRole::CentreStakes: return "STAKES";
        case FileRole::SectionLines: return "LINES";
        case MatchedLines: return "MATCHED";
        case FileRole::Membership: return "MEMBERS";
        default: return "FILE";
    }
}

bool StepDescription::Reads(FileRole role) const {
    return std::any_of(inputs.begin(), inputs.end(), [role](const FileSpec& input) { return input.role == role; });
}

bool StepDescription::Uses(SettingId setting) const {
    return std::find(settings.begin(), settings.end(), setting) != settings.end();
}

std::span<const StepDescription> StepCatalogue() { return kSteps; }

const StepDescription& Describe(StepId id) {
    for (const StepDescription& step : kSteps)
        if (step.id == id) return step;
    return kSteps.front();  // every StepId has its entry (the catalogue's test checks it)
}

const StepDescription* FindStepByKey(std::string_view key) { return FindBy(&StepDescription::toolbarKey, key); }
const StepDescription* FindStepByButton(std::string_view button) { return FindBy(&StepDescription::button, button); }
const StepDescription* FindStepByCommand(std::string_view command) { return FindBy(&StepDescription::command, command); }

const StepDescription* FindStepWriting(FileRole role) {
    if (role == None) return nullptr;
    for (const StepDescription& step : kSteps)
        if (step.output.role == role) return &step;
    return nullptr;
}

}  // namespace qorvel
