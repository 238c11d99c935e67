#include "frame/step_catalogue.h"

#include <algorithm>
#include <array>
#include <deque>
#include <string>
#include <vector>

#include "frame/step_computation.h"
#include "frame/steps/assembly_steps.h"
#include "frame/steps/check_steps.h"
#include "frame/steps/drawing_steps.h"
#include "frame/steps/result_steps.h"
#include "plot/sheet_kinds.h"

namespace qorvel {

namespace {

// A text made from the tables of the formats, kept for the life of the catalogue, which holds
// views of its texts.
std::string_view Kept(std::string text) {
    static std::deque<std::string> kept;
    return kept.emplace_back(std::move(text));
}

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

constexpr std::array kProfileInputs{FileSpec{CentreStakes, kStakeFilter}};
constexpr std::array kConvertInputs{
    FileSpec{FileRole::SectionResults, "断面成果文件(*.dat *.csv *.xml *.hdm)|*.dat;*.csv;*.xml;*.hdm"},
    FileSpec{CentreStakes, kStakeFilter, true},
};

constexpr std::array kLayer{LayerName, CodePage};
constexpr std::array kCodePage{CodePage};
constexpr std::array kStakeSettings{StakeTolerance, NumericLabels};
constexpr std::array kNumericLabels{NumericLabels};
constexpr std::array kMatchSettings{MatchTolerance};
constexpr std::array kCodeSettings{CodeTolerance};
constexpr std::array kGroupSettings{GroupTolerance};
constexpr std::array kSectionSettings{AvoidDistance, SectionSides, ResultLayout};
constexpr std::array kCheckSettings{AvoidDistance, SectionSides, SectionChecks};
constexpr std::array kSheetSettings{AvoidDistance, SectionSides, SheetOptions};
constexpr std::array kConvertSettings{ConversionLayouts};
constexpr std::array kViewSettings{AvoidDistance, SectionSides, SectionChecks, SheetOptions};

const std::array kSteps{
    StepDescription{.id = StepId::AttachDrawing,
                    .caption = "打开图形",
                    .inputs = kDrawingInput,
                    .settings = kCodePage,
                    .procedure = &steps::AttachDrawing},
    StepDescription{.id = StepId::PolylineVertices,
                    .number = 1,
                    .caption = "1、提取多段线节点坐标",
                    .command = "polylines",
                    .commandHelp = "1、提取多段线节点坐标：图层上轻量多段线的节点",
                    .inputs = kDrawingInput,
                    .output = {FileRole::PolylineVertices, "保存_多段线节点的dat文件(*.dat)|*.dat"},
                    .outputName = "01-polylines.dat",
                    .settings = kLayer,
                    .procedure = &steps::ExtractPolylineVertices},
    StepDescription{.id = StepId::StationLabels,
                    .number = 2,
                    .caption = "2、提取中桩桩号文字",
                    .command = "labels",
                    .commandHelp = "2、提取中桩桩号文字：图层上单行文字的插入点与内容",
                    .inputs = kDrawingInput,
                    .output = {FileRole::StationLabels, "保存_桩号文字信息_dat文件(*.dat)|*.dat"},
                    .outputName = "02-labels.dat",
                    .settings = kLayer,
                    .runOrder = 1,
                    .procedure = &steps::ExtractStationLabels},
    StepDescription{.id = StepId::CentreStakes,
                    .number = 3,
                    .caption = "3、桩号文字与桩号坐标合并",
                    .command = "stakes",
                    .commandHelp = "3、桩号文字与桩号坐标合并：由桩号文字和碎步点合成中桩坐标",
                    .inputs = kStakesInputs,
                    .output = {FileRole::CentreStakes, "保存_中桩数据dat文件(*.dat)|*.dat"},
                    .outputName = "03-stakes.dat",
                    .settings = kStakeSettings,
                    .runOrder = 2,
                    .compute = &steps::MergeCentreStakes},
    StepDescription{.id = StepId::SectionLines,
                    .number = 4,
                    .caption = "4、提取横断面线端点坐标",
                    .command = "lines",
                    .commandHelp = "4、提取横断面线端点坐标：图层上直线的两个端点",
                    .inputs = kDrawingInput,
                    .output = {FileRole::SectionLines, "取出_断面线端点坐标（dat文件）(*.dat)|*.dat"},
                    .outputName = "04-lines.dat",
                    .settings = kLayer,
                    .runOrder = 4,
                    .procedure = &steps::ExtractSectionLines},
    StepDescription{.id = StepId::StakeCheck,
                    .number = 5,
                    .caption = "5、检查有无漏掉的中桩数据",
                    .command = "check-stakes",
                    .commandHelp = "5、检查有无漏掉的中桩数据",
                    .inputs = kStakeCheckInputs,
                    .output = {StakeCheckReport, "保存_漏掉的中桩检查结果_dat文件(*.dat)|*.dat"},
                    .outputName = "05-check-stakes.dat",
                    .settings = kNumericLabels,
                    .runOrder = 3,
                    .compute = &steps::CheckCentreStakes},
    StepDescription{.id = StepId::LineMatch,
                    .number = 6,
                    .caption = "6、断面线匹配桩号",
                    .command = "match",
                    .commandHelp = "6、断面线匹配桩号",
                    .inputs = kMatchInputs,
                    .output = {MatchedLines, "保存_匹配桩号后的断面线dat文件(*.dat)|*.dat"},
                    .outputName = "06-matched.dat",
                    .settings = kMatchSettings,
                    .runOrder = 5,
                    .compute = &steps::MatchSectionLines},
    StepDescription{.id = StepId::LineCheck,
                    .number = 7,
                    .caption = "7、检查有无缺失的断面线",
                    .command = "check-lines",
                    .commandHelp = "7、检查有无缺失的断面线",
                    .inputs = kLineCheckInputs,
                    .output = {LineCheckReport, "保存_缺失的断面线检查结果_dat文件(*.dat)|*.dat"},
                    .outputName = "07-check-lines.dat",
                    .runOrder = 6,
                    .compute = &steps::CheckSectionLines},
    StepDescription{.id = StepId::PointCodes,
                    .number = 8,
                    .caption = "8、碎步点添加桩号代码",
                    .command = "add-codes",
                    .commandHelp = "8、碎步点添加桩号代码",
                    .inputs = kLinePointInputs,
                    .output = {CodedPoints, "保存_添加桩号代码后的碎步点_dat文件(*.dat)|*.dat"},
                    .outputName = "08-coded-points.dat",
                    .settings = kCodeSettings,
                    .compute = &steps::AddPointCodes},
    StepDescription{.id = StepId::Membership,
                    .number = 9,
                    .caption = "9、碎步点按桩号归类",
                    .command = "group",
                    .commandHelp = "9、碎步点按桩号归类",
                    .inputs = kLinePointInputs,
                    .output = {FileRole::Membership, "保存_桩号包含哪些碎步点_dat文件(*.dat)|*.dat"},
                    .outputName = "09-members.dat",
                    .settings = kGroupSettings,
                    .runOrder = 7,
                    .compute = &steps::GroupDetailPoints},
    StepDescription{.id = StepId::SectionResults,
                    .number = 10,
                    .caption = "10、输出成果",
                    .command = "sections",
                    .commandHelp = "10、输出成果：生成横断面成果文件",
                    .inputs = kSectionInputs,
                    .output = {FileRole::SectionResults, "断面成果_dat文件(*.dat)|*.dat"},
                    .outputName = "10-sections.dat",
                    .settings = kSectionSettings,
                    .runOrder = 8,
                    .compute = &steps::OutputSectionResults},
    StepDescription{.id = StepId::PointProjection,
                    .number = 11,
                    .caption = "计算横断面线上的点",
                    .command = "project-points",
                    .commandHelp = "计算横断面线上的点",
                    .inputs = kLinePointInputs,
                    .output = {ProjectedPoints, "保存_横断面线上的点_dat文件(*.dat)|*.dat"},
                    .outputName = "11-projected-points.dat",
                    .settings = kGroupSettings,
                    .toleranceHelp = "计算横断面线上的点时，碎步点到横断面线的允许垂直距离（默认 0.05）",
                    .compute = &steps::ProjectPointsOntoSectionLines},
    StepDescription{.id = StepId::SectionCheck,
                    .number = 12,
                    .caption = "12、检查断面",
                    .command = "check-sections",
                    .commandHelp = "12、检查断面：反向、斜交、无点、高程突变、点距过大、断面线相交、桩号与位置不符",
                    .inputs = kSectionInputs,
                    .output = {SectionCheckReport, "保存_断面检查结果_dat文件(*.dat)|*.dat"},
                    .outputName = "12-check-sections.dat",
                    .settings = kCheckSettings,
                    .runOrder = 9,
                    .compute = &steps::CheckSections},
    StepDescription{.id = StepId::SectionSheets,
                    .caption = "绘制断面图",
                    .command = "plot",
                    .commandHelp = Kept("绘制断面图：" + SheetKindList(SheetKindWords::Captions) + "，按输出文件的扩展名"),
                    .inputs = kSectionInputs,
                    .output = {FileRole::SectionSheets, Kept(SheetKindFilter())},
                    .outputName = "10-sections.pdf",
                    .settings = kSheetSettings,
                    .runOrder = 11,
                    .compute = &steps::PlotSections},
    StepDescription{.id = StepId::GroundProfile,
                    .caption = "纵断面地面线",
                    .command = "profile",
                    .commandHelp = "纵断面地面线：各中桩的里程与高程，DMX、CSV 或 DAT，按输出文件的扩展名",
                    .inputs = kProfileInputs,
                    .output = {FileRole::GroundProfile, "纵断面地面线(*.dmx *.csv *.dat)|*.dmx;*.csv;*.dat"},
                    .outputName = "13-profile.dat",
                    .runOrder = 10,
                    .compute = &steps::OutputGroundProfile},
    StepDescription{.id = StepId::ConvertSections,
                    .caption = "格式转换",
                    .command = "convert",
                    .commandHelp = "格式转换：读入任一格式的断面成果文件，写成另一种格式",
                    .inputs = kConvertInputs,
                    .output = {ConvertedSections, "转换后的断面成果(*.dat *.csv *.xml *.hdm)|*.dat;*.csv;*.xml;*.hdm"},
                    .outputName = "10-sections-converted.dat",
                    .settings = kConvertSettings,
                    .compute = &steps::ConvertSectionFile},
    // Opens the sections in the window's viewer (the window offers it after the whole run).
    StepDescription{.id = StepId::SectionViewer,
                    .caption = "查看断面",
                    .inputs = kSectionInputs,
                    .settings = kViewSettings,
                    .procedure = &steps::ViewSections},
};

// The steps of the run in their order.
const std::vector<const StepDescription*>& StepsOfTheRun() {
    static const std::vector<const StepDescription*> steps = [] {
        std::vector<const StepDescription*> run;
        for (const StepDescription& step : kSteps)
            if (step.runOrder > 0) run.push_back(&step);
        std::sort(run.begin(), run.end(),
                  [](const StepDescription* a, const StepDescription* b) { return a->runOrder < b->runOrder; });
        return run;
    }();
    return steps;
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
        case FileRole::GroundProfile: return "纵断面地面线文件";
        case ConvertedSections: return "转换后的断面成果文件";
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

std::span<const StepDescription* const> RunSteps() { return StepsOfTheRun(); }

const StepDescription* FindStepByCommand(std::string_view command) {
    if (command.empty()) return nullptr;
    for (const StepDescription& step : kSteps)
        if (step.command == command) return &step;
    return nullptr;
}

StepResult StepDescription::Run(StepHost& host, Session& session, const Settings& settings) const {
    if (procedure) return procedure(host, session, settings);
    return RunComputedStep(*this, host, session, settings);
}

const StepDescription* FindStepWriting(FileRole role) {
    if (role == None) return nullptr;
    for (const StepDescription& step : kSteps)
        if (step.output.role == role) return &step;
    return nullptr;
}

}  // namespace qorvel
