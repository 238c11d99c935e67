#include "frame/section_options.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "core/text_encoding.h"
#include "frame/result_layouts.h"
#include "frame/section_problems.h"
#include "plot/sheet_layout.h"

namespace qorvel {

namespace {

// "高程突变：左，12.50，3.20": the reason and what the report writes after it, with or without
// the chainage.
std::string ProblemText(const CheckProblem& problem, bool withChainage) {
    std::vector<std::string_view> parts;
    if (withChainage) parts.push_back(problem.station);
    if (!problem.nextStation.empty()) parts.push_back(problem.nextStation);
    if (!problem.side.empty()) parts.push_back(problem.side);
    for (const std::string& value : problem.values) parts.push_back(value);
    std::string text = problem.reason;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        text += k == 0 ? "：" : "，";
        text += parts[k];
    }
    return text;
}

void FillSide(std::vector<SurveyedPoint>& points, const SideList& side) {
    points.clear();
    points.reserve(side.size());
    for (const SidePoint& point : side)
        points.push_back({point.distance, point.elevation, GbkToUtf8Lossy(point.name),
                          point.source ? GbkToUtf8Lossy(point.source->code) : std::string()});
}

}  // namespace

SectionResultOptions SectionOptionsOf(const Settings& settings) {
    SectionResultOptions options;
    options.stakeAvoidDistance = settings.avoidDistance;
    options.sides = settings.routeSides ? SideRule::Route : SideRule::Drawn;
    // A layout id that names no layout writes nothing (SettingsConflict reports it first).
    const SectionLayoutEntry* layout = FindSectionLayoutByCommandValue(settings.layout);
    options.layout.layoutName = layout ? layout->name : std::string_view();
    options.layout.swapSides = settings.swapSides;
    options.layout.negateHeights = settings.negateHeights;
    options.layout.stationText = settings.stationText;
    options.layout.blankLine = settings.blankLine;
    return options;
}

SectionCheckOptions SectionCheckOptionsOf(const Settings& settings) {
    SectionCheckOptions options;
    options.sections = SectionOptionsOf(settings);
    options.spikeHeight = settings.spikeHeight;
    options.gapDistance = settings.gapDistance;
    options.skewAngle = settings.skewAngle;
    return options;
}

PlotOptions PlotOptionsOf(const Settings& settings) {
    PlotOptions options;
    options.sheet = SheetSizeByName(settings.sheetSize).value_or(SheetSize::A3);
    options.scale = settings.sheetScale;
    options.exaggeration = settings.exaggeration;
    options.project = settings.sheetProject;
    options.road = settings.sheetRoad;
    options.drawingNumber = settings.drawingNumber;
    options.dxfUnits = DxfUnitsByName(settings.dxfUnits).value_or(DxfUnits::Metres);
    // The tables write elevations as the result does: two decimals, three in the layouts of
    // other design packages.
    const ResultLayout* layout = FindResultLayout(settings.layout);
    options.elevationDecimals = layout != nullptr && !layout->heightSwitches ? 3 : 2;
    return options;
}

std::string SheetScaleProblem(double scale) {
    PlotOptions options;
    options.scale = scale;
    return PlotOptionsProblem(options);
}

std::string ExaggerationProblem(double exaggeration) {
    PlotOptions options;
    options.exaggeration = exaggeration;
    return PlotOptionsProblem(options);
}

std::string SheetOptionsProblem(const Settings& settings) {
    if (!SheetSizeByName(settings.sheetSize)) return "没有这种图纸：" + settings.sheetSize + "（可选 A3、A4、A1）";
    return PlotOptionsProblem(PlotOptionsOf(settings));
}

const SideList& LeftOfStake(const BuiltSection& section, const Settings& settings) {
    return settings.swapSides ? section.second() : section.first();
}

const SideList& RightOfStake(const BuiltSection& section, const Settings& settings) {
    return settings.swapSides ? section.first() : section.second();
}

std::vector<std::size_t> ChainageOrder(std::span<const BuiltSection> sections) {
    std::vector<std::size_t> order(sections.size());
    for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const std::optional<double>& first = sections[a].chainage;
        const std::optional<double>& second = sections[b].chainage;
        if (!first) return false;
        return !second || *first < *second;
    });
    return order;
}

SectionDrawing DrawingOfSection(const BuiltSection& section, const Settings& settings) {
    SectionDrawing drawing;
    drawing.station = GbkToUtf8Lossy(section.record->chainage.text);
    drawing.chainage = section.chainage.value_or(0);
    drawing.numericChainage = section.chainage.has_value();
    drawing.stakeElevation = section.stakeElevation;
    FillSide(drawing.firstSide, LeftOfStake(section, settings));
    FillSide(drawing.secondSide, RightOfStake(section, settings));
    return drawing;
}

std::vector<std::vector<std::string>> ProblemsOfSections(const BuiltSections& built, const SectionCheckResult& check) {
    std::vector<std::vector<std::string>> problems(built.sections.size());
    std::unordered_map<std::string_view, std::vector<std::size_t>> byChainageText;
    for (std::size_t k = 0; k < built.sections.size(); ++k) byChainageText[built.sections[k].record->chainage.text].push_back(k);
    for (const SectionProblem& problem : check.problems) {
        if (problem.section != SectionProblem::kNoSection) {
            problems[problem.section].push_back(ProblemText(CheckProblemOf(problem), false));
            continue;
        }
        // A pair of stations: both of their sections are concerned.
        const std::string text = ProblemText(CheckProblemOf(problem), true);
        for (const std::string_view chainage : {std::string_view(problem.chainage), std::string_view(problem.nextChainage)})
            if (const auto found = byChainageText.find(chainage); found != byChainageText.end())
                for (const std::size_t k : found->second) problems[k].push_back(text);
    }
    return problems;
}

}  // namespace qorvel
