#include "frame/sections_on_view.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "checks/section_check.h"
#include "core/number_read.h"
#include "core/text_encoding.h"
#include "frame/section_options.h"
#include "frame/run_files.h"
#include "station/station_text.h"

namespace qorvel {

namespace {

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

SectionsOnView::SectionsOnView(std::shared_ptr<const DataFile> members, std::shared_ptr<const DataFile> stakes,
                               std::shared_ptr<const DataFile> points, std::shared_ptr<const DataFile> lines,
                               const Settings& settings, double& carriedAzimuth, ProgressSink& progress)
    : settings_(settings), inputPaths_{members->name(), stakes->name(), points->name(), lines->name()} {
    auto held = std::make_shared<HeldSections>();
    held->options = SectionOptionsOf(settings_);
    held->built = BuildSections({*members, *stakes, *points, *lines}, held->options, carriedAzimuth, progress);
    held->members = std::move(members);
    held->stakes = std::move(stakes);
    held->points = std::move(points);
    held->lines = std::move(lines);
    built_ = std::move(held);
    List();
}

SectionsOnView::SectionsOnView(std::shared_ptr<const HeldSections> sections, const Settings& settings,
                               std::vector<std::string> inputPaths)
    : built_(std::move(sections)), settings_(settings), inputPaths_(std::move(inputPaths)) {
    List();
}

void SectionsOnView::List() {
    const BuiltSections& built = built_->built;
    const SectionCheckResult check = CheckBuiltSections(built, *built_->lines, SectionCheckOptionsOf(settings_));
    checkSummary_ = SectionCheckSummary(check);

    order_ = ChainageOrder(built.sections);
    entries_.reserve(order_.size());
    const std::vector<std::vector<std::string>> problems = ProblemsOfSections(built, check);
    for (std::size_t k = 0; k < order_.size(); ++k) {
        const BuiltSection& section = built.sections[order_[k]];
        SectionListEntry entry;
        entry.station = GbkToUtf8Lossy(SectionStationText(*section.record, settings_.stationText));
        entry.chainage = section.chainage;
        entry.leftPoints = LeftOfStake(section, settings_).size();
        entry.rightPoints = RightOfStake(section, settings_).size();
        entry.problems = problems[order_[k]];
        entries_.push_back(std::move(entry));
    }
}

SectionsOnView::~SectionsOnView() = default;

SectionDrawing SectionsOnView::Drawing(std::size_t index) const {
    SectionDrawing drawing = DrawingOfSection(built_->built.sections[order_[index]], settings_);
    drawing.problems = entries_[index].problems;
    return drawing;
}

SectionPlan SectionsOnView::Plan(std::size_t index) const {
    const BuiltSection& section = built_->built.sections[order_[index]];
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
    return inputPaths_;
}

std::shared_ptr<const SectionsOnView> SectionsOnViewOfRun(const PipelineReport& report, const Settings& settings) {
    if (!report.sections) return nullptr;
    // The run's own files are in the output folder now.
    std::vector<std::string> paths;
    for (const FileRole role : {FileRole::Membership, FileRole::CentreStakes, FileRole::DetailPoints, FileRole::MatchedLines})
        paths.push_back(PipelineFilePath(report.request, role));
    return std::make_shared<const SectionsOnView>(report.sections, settings, std::move(paths));
}

void SectionsOnViewSource::Visit(const SectionVisitor& visit) {
    for (const std::size_t index : indices_) visit(sections_.Drawing(index));
}

}  // namespace qorvel
