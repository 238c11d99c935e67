#include "app/sections_on_view.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <unordered_map>

#include "core/number_read.h"
#include "core/text_encoding.h"
#include "station/station_text.h"

namespace qorvel {

namespace {

const SideList& LeftOfStake(const BuiltSection& section, const Settings& settings) {
    return settings.swapSides ? section.second() : section.first();
}
const SideList& RightOfStake(const BuiltSection& section, const Settings& settings) {
    return settings.swapSides ? section.first() : section.second();
}

void FillSide(std::vector<SurveyedPoint>& points, const SideList& side) {
    points.clear();
    points.reserve(side.size());
    for (const SidePoint& point : side)
        points.push_back({point.distance, point.elevation, GbkToUtf8Lossy(point.name),
                          point.source ? GbkToUtf8Lossy(point.source->code) : std::string()});
}

// "高程突变：左侧，12.50，3.20": the reason and what the report writes after the chainage.
std::string ProblemText(const SectionProblem& problem, bool withChainage) {
    std::string text(SectionProblemReasonText(problem.reason));
    std::vector<std::string_view> parts;
    if (withChainage) parts.push_back(problem.chainage);
    for (const std::string& detail : problem.details) parts.push_back(detail);
    for (std::size_t k = 0; k < parts.size(); ++k) {
        text += k == 0 ? "：" : "，";
        text += GbkToUtf8Lossy(parts[k]);
    }
    return text;
}

// A chainage typed into the jump box: a plain number, or station text such as "K1+050".
std::optional<double> TypedChainage(std::string_view text) {
    if (text.find('+') != std::string_view::npos) return ChainageFromStationText(text);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

SectionResultOptions SectionOptionsOf(const Settings& settings) {
    SectionResultOptions options;
    options.stakeAvoidDistance = settings.avoidDistance;
    options.sides = settings.routeSides ? SideRule::Route : SideRule::Drawn;
    options.layout.layoutName = settings.layoutName;
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

SectionsOnView::SectionsOnView(DataFile members, DataFile stakes, DataFile points, DataFile lines,
                               const Settings& settings, double& carriedAzimuth, ProgressSink& progress)
    : members_(std::move(members)),
      stakes_(std::move(stakes)),
      points_(std::move(points)),
      lines_(std::move(lines)),
      settings_(settings),
      built_(BuildSections({members_, stakes_, points_, lines_}, SectionOptionsOf(settings_), carriedAzimuth,
                           progress)) {
    const SectionCheckResult check = CheckBuiltSections(built_, lines_, SectionCheckOptionsOf(settings_));
    checkSummary_ = SectionCheckSummary(check);

    order_ = ChainageOrder(built_.sections);
    std::vector<std::size_t> placeOf(order_.size());
    for (std::size_t k = 0; k < order_.size(); ++k) placeOf[order_[k]] = k;
    entries_.reserve(order_.size());
    std::unordered_map<std::string_view, std::vector<std::size_t>> byChainageText;
    for (std::size_t k = 0; k < order_.size(); ++k) {
        const BuiltSection& section = built_.sections[order_[k]];
        SectionListEntry entry;
        entry.station = GbkToUtf8Lossy(SectionStationText(*section.record, settings_.stationText));
        entry.chainage = section.chainage;
        entry.leftPoints = LeftOfStake(section, settings_).size();
        entry.rightPoints = RightOfStake(section, settings_).size();
        entries_.push_back(std::move(entry));
        byChainageText[section.record->chainage.text].push_back(k);
    }
    for (const SectionProblem& problem : check.problems) {
        if (problem.section != SectionProblem::kNoSection) {
            entries_[placeOf[problem.section]].problems.push_back(ProblemText(problem, false));
            continue;
        }
        // A pair of stations: both of their sections are concerned.
        const std::string text = ProblemText(problem, true);
        std::vector<std::string_view> chainages{problem.chainage};
        if (!problem.details.empty()) chainages.push_back(problem.details.front());
        for (const std::string_view chainage : chainages)
            if (const auto found = byChainageText.find(chainage); found != byChainageText.end())
                for (const std::size_t k : found->second) entries_[k].problems.push_back(text);
    }
}

SectionDrawing SectionsOnView::Drawing(std::size_t index) const {
    SectionDrawing drawing = DrawingOfSection(built_.sections[order_[index]], settings_);
    drawing.problems = entries_[index].problems;
    return drawing;
}

SectionPlan SectionsOnView::Plan(std::size_t index) const {
    const BuiltSection& section = built_.sections[order_[index]];
    SectionPlan plan;
    plan.stakeEast = section.stake.east;
    plan.stakeNorth = section.stake.north;
    plan.firstEndEast = section.record->lineFirstEnd.east;
    plan.firstEndNorth = section.record->lineFirstEnd.north;
    plan.secondEndEast = section.record->lineSecondEnd.east;
    plan.secondEndNorth = section.record->lineSecondEnd.north;
    const auto sideOf = [&](const MemberPoint& point) {
        const auto holds = [&](const SideList& side) {
            for (const SidePoint& taken : side)
                if (taken.source == &point) return true;
            return false;
        };
        if (holds(LeftOfStake(section, settings_))) return SectionPlan::Side::Left;
        if (holds(RightOfStake(section, settings_))) return SectionPlan::Side::Right;
        return SectionPlan::Side::None;
    };
    plan.members.reserve(section.record->points.size());
    for (const MemberPoint& point : section.record->points) {
        // Coordinates that do not read as numbers have no place on the plan.
        const std::optional<double> east = ReadLenient(point.east);
        const std::optional<double> north = ReadLenient(point.north);
        if (!east || !north) continue;
        plan.members.push_back({*east, *north, sideOf(point)});
    }
    return plan;
}

std::optional<std::size_t> SectionsOnView::FindStation(std::string_view text) const {
    text = TrimBlanks(text);
    if (text.empty()) return std::nullopt;
    for (std::size_t k = 0; k < entries_.size(); ++k)
        if (entries_[k].station == text) return k;
    const std::optional<double> wanted = TypedChainage(text);
    if (!wanted) return std::nullopt;
    std::optional<std::size_t> nearest;
    double nearestDistance = 0;
    for (std::size_t k = 0; k < entries_.size(); ++k) {
        if (!entries_[k].chainage) continue;
        const double distance = std::abs(*entries_[k].chainage - *wanted);
        if (!nearest || distance < nearestDistance) {
            nearest = k;
            nearestDistance = distance;
        }
    }
    return nearest;
}

std::vector<std::size_t> SectionsOnView::SectionsWithProblems() const {
    std::vector<std::size_t> found;
    for (std::size_t k = 0; k < entries_.size(); ++k)
        if (!entries_[k].problems.empty()) found.push_back(k);
    return found;
}

std::vector<std::string> SectionsOnView::InputPaths() const {
    return {members_.name(), stakes_.name(), points_.name(), lines_.name()};
}

void SectionsOnViewSource::Visit(const SectionVisitor& visit) {
    for (const std::size_t index : indices_) visit(sections_.Drawing(index));
}

}  // namespace qorvel
