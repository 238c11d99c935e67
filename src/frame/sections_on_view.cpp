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

void SectionsOnView::ListStationsWithoutSection(const std::vector<CheckProblem>& problems) {
    const auto sameChainage = [](const std::optional<double>& a, const std::optional<double>& b) {
        return a && b && std::abs(*a - *b) < 1e-6;
    };
    std::size_t added = 0;
    std::vector<std::pair<std::string, std::size_t>> reasons;  // in the order first found
    for (const CheckProblem& problem : problems) {
        if (problem.subject != CheckProblem::Subject::Label && problem.subject != CheckProblem::Subject::Stake) continue;
        const std::optional<double> chainage = TypedChainage(problem.station);  // "K0+340" or "660"
        const std::string& station = problem.station;  // UTF-8, as the checks name it
        const auto same = std::find_if(entries_.begin(), entries_.end(), [&](const SectionListEntry& entry) {
            return entry.station == station || sameChainage(entry.chainage, chainage);
        });
        if (same != entries_.end() && same->hasSection) continue;  // a section is there: not missing
        const std::string& reason = problem.reason;
        if (same != entries_.end()) {
            same->problems.push_back(reason);
        } else {
            // Before the first section further along the route; at the end when it has no chainage.
            const auto place = std::find_if(entries_.begin(), entries_.end(), [&](const SectionListEntry& entry) {
                return chainage && entry.chainage && *entry.chainage > *chainage;
            });
            const auto at = static_cast<std::ptrdiff_t>(place - entries_.begin());
            SectionListEntry entry;
            entry.station = station;
            entry.chainage = chainage;
            entry.problems.push_back(reason);
            entry.hasSection = false;
            entries_.insert(place, std::move(entry));
            order_.insert(order_.begin() + at, kNoSection);
            ++added;
        }
        const auto counted = std::find_if(reasons.begin(), reasons.end(), [&](const auto& r) { return r.first == reason; });
        if (counted == reasons.end()) reasons.emplace_back(reason, 1);
        else ++counted->second;
    }
    if (added == 0) return;
    std::string counts;
    for (const auto& [reason, count] : reasons)
        counts += (counts.empty() ? "" : "，") + reason + " " + std::to_string(count) + " 个";
    checkSummary_ += "另有没有断面的桩号 " + std::to_string(added) + " 个（" + counts + "）。";
}

SectionsOnView::~SectionsOnView() = default;

SectionDrawing SectionsOnView::Drawing(std::size_t index) const {
    SectionDrawing drawing;
    if (order_[index] == kNoSection) {
        drawing.station = entries_[index].station;
    } else {
        drawing = DrawingOfSection(built_->built.sections[order_[index]], settings_);
    }
    drawing.problems = entries_[index].problems;
    return drawing;
}

SectionPlan SectionsOnView::Plan(std::size_t index) const {
    if (order_[index] == kNoSection) return {};
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
    auto sections = std::make_shared<SectionsOnView>(report.sections, settings, std::move(paths));
    // The stations the run's own checks found without a section.
    std::vector<CheckProblem> missing;
    for (const FileRole role : {FileRole::StakeCheckReport, FileRole::LineCheckReport})
        if (const StageReport* check = report.Find(role))
            missing.insert(missing.end(), check->result.problems.begin(), check->result.problems.end());
    sections->ListStationsWithoutSection(missing);
    return sections;
}

void SectionsOnViewSource::Visit(const SectionVisitor& visit) {
    for (const std::size_t index : indices_)
        if (sections_.Entry(index).hasSection) visit(sections_.Drawing(index));
}

}  // namespace qorvel
