#include "checks/section_check.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "core/decimal_text.h"
#include "core/fields.h"
#include "core/text_encoding.h"
#include "core/text_index.h"
#include "geometry/section_line.h"

namespace qorvel {

namespace {

// The sides of a section as the check names them.
struct NamedSide {
    const SideList* points;
    ProblemSide name;
};

// Within the two ends' box, both included: a point known to lie on the segment's line lies on
// the segment.
bool withinBox(PlanePoint a, PlanePoint b, PlanePoint p) {
    return std::min(a.east, b.east) <= p.east && p.east <= std::max(a.east, b.east) &&
           std::min(a.north, b.north) <= p.north && p.north <= std::max(a.north, b.north);
}

// Which side of the line through a and b the point p lies on: > 0 left, < 0 right, 0 on it.
double turn(PlanePoint a, PlanePoint b, PlanePoint p) {
    return (b.east - a.east) * (p.north - a.north) - (b.north - a.north) * (p.east - a.east);
}

// Whether two segments cross or touch (an end on the other segment, or overlapping along one
// line); a segment of no length is a point. Nothing when a turn is not finite: no decision.
std::optional<bool> segmentsMeet(PlanePoint a, PlanePoint b, PlanePoint c, PlanePoint d) {
    const double c1 = turn(a, b, c);
    const double d1 = turn(a, b, d);
    const double a2 = turn(c, d, a);
    const double b2 = turn(c, d, b);
    if (!std::isfinite(c1) || !std::isfinite(d1) || !std::isfinite(a2) || !std::isfinite(b2)) return std::nullopt;
    if (((c1 > 0 && d1 < 0) || (c1 < 0 && d1 > 0)) && ((a2 > 0 && b2 < 0) || (a2 < 0 && b2 > 0))) return true;
    return (c1 == 0 && withinBox(a, b, c)) || (d1 == 0 && withinBox(a, b, d)) || (a2 == 0 && withinBox(c, d, a)) ||
           (b2 == 0 && withinBox(c, d, b));
}

class Report {
public:
    explicit Report(SectionCheckResult& result) : result_(result) {}

    void Add(SectionProblem problem) {
        std::string line = gbkReason(problem.reason);
        line += ',';
        line += problem.chainage;
        for (const std::string& field : problem.ReportFields()) {
            line += ',';
            line += field;
        }
        result_.output.Line(line);
        result_.problems.push_back(std::move(problem));
    }
    // A problem of the section at `index`.
    void Add(SectionProblemReason reason, std::string_view chainage, std::size_t index, ProblemSide side = ProblemSide::None,
             std::vector<std::string> values = {}) {
        Add({reason, std::string(chainage), {}, side, std::move(values), index});
    }
    // A problem of the station at `chainage` and the next one.
    void AddPair(SectionProblemReason reason, std::string_view chainage, std::string_view next,
                 std::vector<std::string> values = {}) {
        Add({reason, std::string(chainage), std::string(next), ProblemSide::None, std::move(values)});
    }

    // The check's own words in the files' code page.
    static std::string gbk(std::string_view utf8) { return Utf8ToGbk(utf8).value_or(std::string(utf8)); }
    // A reason in the files' code page, converted once: a damaged survey may have a problem at
    // every station.
    static const std::string& gbkReason(SectionProblemReason reason) {
        static const std::vector<std::string> reasons = [] {
            std::vector<std::string> texts;
            for (int k = 0; k <= static_cast<int>(SectionProblemReason::StakeOffChainage); ++k)
                texts.push_back(gbk(SectionProblemReasonText(static_cast<SectionProblemReason>(k))));
            return texts;
        }();
        return reasons[static_cast<std::size_t>(reason)];
    }

private:
    SectionCheckResult& result_;
};

void checkSection(const BuiltSection& section, std::size_t index, const Route& route, const SectionCheckOptions& options,
                  Report& report) {
    const SectionRecord& record = *section.record;
    const std::string_view chainage = record.chainage.text;
    if (section.decision == SideDecision::Swapped) report.Add(SectionProblemReason::LineReversed, chainage, index);
    if (section.decision == SideDecision::Undecided)
        report.Add(SectionProblemReason::DirectionUndecided, chainage, index);

    const std::optional<RouteDirection> along = route.DirectionAt(chainage);
    const double lineEast = record.lineSecondEnd.east - record.lineFirstEnd.east;
    const double lineNorth = record.lineSecondEnd.north - record.lineFirstEnd.north;
    const double lineLength = std::sqrt(lineEast * lineEast + lineNorth * lineNorth);
    if (along) {
        const double routeLength = std::sqrt(along->east * along->east + along->north * along->north);
        const double dot = along->east * lineEast + along->north * lineNorth;
        if (!std::isfinite(lineLength) || !std::isfinite(routeLength) || !std::isfinite(dot))
            FailRouteAndLineTooLarge(route, *along, record);
        // Lengths so small that their product vanishes judge nothing, as a length of 0.
        if (lineLength > 0 && routeLength > 0 && routeLength * lineLength > 0) {
            const double cosine = std::fabs(dot) / (routeLength * lineLength);
            const double angle = std::acos(std::min(1.0, cosine)) * 180 / std::numbers::pi;
            if (angle < 90 - options.skewAngle)
                report.Add(SectionProblemReason::LineSkewed, chainage, index, ProblemSide::None, {FormatFixed(angle, 1)});
        }
    }

    const bool decided = section.left() != nullptr;
    const NamedSide sides[2] = {
        decided ? NamedSide{section.left(), ProblemSide::Left} : NamedSide{&section.drawn.first, ProblemSide::First},
        decided ? NamedSide{section.right(), ProblemSide::Right} : NamedSide{&section.drawn.second, ProblemSide::Second},
    };
    if (sides[0].points->empty() && sides[1].points->empty()) {
        report.Add(SectionProblemReason::BothSidesEmpty, chainage, index);
    } else if (sides[0].points->empty()) {
        report.Add(decided ? SectionProblemReason::LeftSideEmpty : SectionProblemReason::FirstSideEmpty, chainage, index);
    } else if (sides[1].points->empty()) {
        report.Add(decided ? SectionProblemReason::RightSideEmpty : SectionProblemReason::SecondSideEmpty, chainage, index);
    }

    const double spike = options.spikeHeight;
    for (const NamedSide& side : sides) {
        const SideList& points = *side.points;
        for (std::size_t k = 0; k + 1 < points.size(); ++k) {
            const double here = points[k].elevation;
            const double before = k == 0 ? section.stakeElevation : points[k - 1].elevation;
            const double after = points[k + 1].elevation;
            const bool peak = here - before > spike && here - after > spike;
            const bool pit = before - here > spike && after - here > spike;
            if (peak || pit)
                report.Add(SectionProblemReason::ElevationSpike, chainage, index, side.name,
                           {LayoutNumberText(points[k].distance), LayoutNumberText(here)});
        }
    }
    for (const NamedSide& side : sides) {
        double before = 0;  // the stake
        for (const SidePoint& point : *side.points) {
            if (point.distance - before > options.gapDistance)
                report.Add(SectionProblemReason::PointGap, chainage, index, side.name,
                           {LayoutNumberText(before), LayoutNumberText(point.distance)});
            before = point.distance;
        }
    }
}

void checkStationPairs(const Route& route, const DataFile& matchedLines, Report& report) {
    const std::span<const RouteStation> stations = route.stations();
    if (stations.size() < 2) return;
    std::vector<std::string_view> chainages;
    chainages.reserve(matchedLines.size());
    for (const Record& record : matchedLines.records()) chainages.push_back(FirstField(record.text));
    const TextIndex linesByChainage(std::move(chainages));
    // Each station's first matched line, when it has one.
    struct StationLine {
        SectionLineEnds ends;
        std::size_t line = 0;  // in the matched section line file
    };
    const auto lineOf = [&](const RouteStation& station) -> std::optional<StationLine> {
        const TextIndex::Id id = linesByChainage.First(station.text);
        if (id == TextIndex::kNone) return std::nullopt;
        return StationLine{ReadSectionLineEnds(FieldReader(matchedLines, matchedLines[id])), matchedLines[id].line};
    };
    std::optional<StationLine> line = lineOf(stations[0]);
    for (std::size_t k = 0; k + 1 < stations.size(); ++k) {
        const RouteStation& here = stations[k];
        const RouteStation& next = stations[k + 1];
        const std::optional<StationLine> nextLine = lineOf(next);
        if (line && nextLine) {
            const std::optional<bool> meet =
                segmentsMeet(line->ends.first, line->ends.second, nextLine->ends.first, nextLine->ends.second);
            if (!meet) {
                std::vector<SourcedNumber> ends;
                for (const StationLine& of : {*line, *nextLine})
                    for (const SourcedNumber& end : LineEndNumbers(matchedLines.name(), of.line, of.ends))
                        ends.push_back(end);
                FailNumberTooLarge(ends, "坐标");
            }
            if (*meet) report.AddPair(SectionProblemReason::LinesCross, here.text, next.text);
        }
        const double apart = PlaneDistance(here.position, next.position);
        if (!std::isfinite(apart)) {
            const auto [hereEast, hereNorth] = route.Coordinates(here);
            const auto [nextEast, nextNorth] = route.Coordinates(next);
            FailNumberTooLarge({hereEast, hereNorth, nextEast, nextNorth}, "坐标");
        }
        const double difference = next.chainage - here.chainage;
        if (!std::isfinite(difference)) FailNumberTooLarge({route.Chainage(here), route.Chainage(next)}, "桩号");
        if (apart > difference + 0.1)
            report.AddPair(SectionProblemReason::StakeOffChainage, here.text, next.text,
                           {FormatFixed(apart, 3), FormatFixed(difference, 3)});
        line = nextLine;
    }
}

}  // namespace

std::string_view SectionProblemReasonText(SectionProblemReason reason) {
    switch (reason) {
        case SectionProblemReason::LineReversed: return "断面线反向";
        case SectionProblemReason::DirectionUndecided: return "断面线方向无法确定";
        case SectionProblemReason::LineSkewed: return "断面线斜交";
        case SectionProblemReason::BothSidesEmpty: return "两侧无点";
        case SectionProblemReason::LeftSideEmpty: return "左侧无点";
        case SectionProblemReason::RightSideEmpty: return "右侧无点";
        case SectionProblemReason::FirstSideEmpty: return "第一侧无点";
        case SectionProblemReason::SecondSideEmpty: return "第二侧无点";
        case SectionProblemReason::ElevationSpike: return "高程突变";
        case SectionProblemReason::PointGap: return "点距过大";
        case SectionProblemReason::LinesCross: return "断面线相交";
        case SectionProblemReason::StakeOffChainage: return "桩号与位置不符";
    }
    return {};
}

std::string_view ProblemSideText(ProblemSide side) {
    switch (side) {
        case ProblemSide::None: break;
        case ProblemSide::Left: return "左";
        case ProblemSide::Right: return "右";
        case ProblemSide::First: return "第一侧";
        case ProblemSide::Second: return "第二侧";
    }
    return {};
}

std::vector<std::string> SectionProblem::ReportFields() const {
    std::vector<std::string> fields;
    if (!nextChainage.empty()) fields.push_back(nextChainage);
    if (side != ProblemSide::None) {
        // The check's own words in the files' code page, converted once: a damaged survey may
        // have a problem at every station.
        static const std::string kSides[] = {"", Report::gbk("左"), Report::gbk("右"), Report::gbk("第一侧"),
                                             Report::gbk("第二侧")};
        fields.push_back(kSides[static_cast<std::size_t>(side)]);
    }
    fields.insert(fields.end(), values.begin(), values.end());
    return fields;
}

std::string SectionCheckSummary(const SectionCheckResult& result) {
    return "共检查断面 " + std::to_string(result.sections) + " 个，发现问题 " + std::to_string(result.problems.size()) +
           " 处！";
}

SectionCheckResult CheckBuiltSections(const BuiltSections& built, const DataFile& matchedLines,
                                      const SectionCheckOptions& options) {
    SectionCheckResult result;
    result.sections = built.sections.size();
    Report report(result);
    for (std::size_t s = 0; s < built.sections.size(); ++s) checkSection(built.sections[s], s, built.route, options, report);
    checkStationPairs(built.route, matchedLines, report);
    return result;
}

SectionCheckResult CheckSections(const SectionInputs& inputs, const SectionCheckOptions& options, double& carriedAzimuth,
                                 ProgressSink& progress) {
    const BuiltSections built = BuildSections(inputs, options.sections, carriedAzimuth, progress);
    return CheckBuiltSections(built, inputs.lines, options);
}

}  // namespace qorvel
