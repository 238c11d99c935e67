#include "frame/section_options.h"

#include <algorithm>

#include "core/text_encoding.h"
#include "plot/sheet_layout.h"

namespace qorvel {

namespace {

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
    return options;
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
    drawing.station = GbkToUtf8Lossy(SectionStationText(*section.record, settings.stationText));
    drawing.chainage = section.chainage.value_or(0);
    drawing.stakeElevation = section.stakeElevation;
    FillSide(drawing.firstSide, LeftOfStake(section, settings));
    FillSide(drawing.secondSide, RightOfStake(section, settings));
    return drawing;
}

}  // namespace qorvel
