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
    const std::string* name;  // 左, 右, 第一侧, 第二侧 in the files' code page
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
// line); a segment of no length is a point.
bool segmentsMeet(PlanePoint a, PlanePoint b, PlanePoint c, PlanePoint d) {
    const double c1 = turn(a, b, c);
    const double d1 = turn(a, b, d);
    const double a2 = turn(c, d, a);
    const double b2 = turn(c, d, b);
    if (((c1 > 0 && d1 < 0) || (c1 < 0 && d1 > 0)) && ((a2 > 0 && b2 < 0) || (a2 < 0 && b2 > 0))) return true;
    return (c1 == 0 && withinBox(a, b, c)) || (d1 == 0 && withinBox(a, b, d)) || (a2 == 0 && withinBox(c, d, a)) ||
           (b2 == 0 && withinBox(c, d, b));
}

class Report {
public:
    explicit Report(SectionCheckResult& result) : result_(result) {}

    void Add(SectionProblemReason reason, std::string_view chainage, std::vector<std::string> details,
             std::size_t section = SectionProblem::kNoSection) {
        std::string line = gbkReason(reason);
        line += ',';
        line += chainage;
        for (const std::string& detail : details) {
            line += ',';
            line += detail;
        }
        result_.output.Line(line);
        result_.problems.push_back({reason, std::string(chainage), std::move(details), section});
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
    if (section.decision == SideDecision::Swapped) report.Add(SectionProblemReason::LineReversed, chainage, {}, index);
    if (section.decision == SideDecision::Undecided)
        report.Add(SectionProblemReason::DirectionUndecided, chainage, {}, index);

    const std::optional<RouteDirection> along = route.DirectionAt(chainage);
    const double lineEast = record.lineSecondEnd.east - record.lineFirstEnd.east;
    const double lineNorth = record.lineSecondEnd.north - record.lineFirstEnd.north;
    const double lineLength = std::sqrt(lineEast * lineEast + lineNorth * lineNorth);
    if (along && lineLength > 0) {
        const double routeLength = std::sqrt(along->east * along->east + along->north * along->north);
        if (routeLength > 0) {
            const double cosine = std::fabs(along->east * lineEast + along->north * lineNorth) / (routeLength * lineLength);
            const double angle = std::acos(std::min(1.0, cosine)) * 180 / std::numbers::pi;
            if (angle < 90 - options.skewAngle)
                report.Add(SectionProblemReason::LineSkewed, chainage, {FormatFixed(angle, 1)}, index);
        }
    }

    static const std::string kLeft = Report::gbk("左");
    static const std::string kRight = Report::gbk("右");
    static const std::string kFirst = Report::gbk("第一侧");
    static const std::string kSecond = Report::gbk("第二侧");
    const bool decided = section.left() != nullptr;
    const NamedSide sides[2] = {
        decided ? NamedSide{section.left(), &kLeft} : NamedSide{&section.drawn.first, &kFirst},
        decided ? NamedSide{section.right(), &kRight} : NamedSide{&section.drawn.second, &kSecond},
    };
    if (sides[0].points->empty() && sides[1].points->empty()) {
        report.Add(SectionProblemReason::BothSidesEmpty, chainage, {}, index);
    } else if (sides[0].points->empty()) {
        report.Add(decided ? SectionProblemReason::LeftSideEmpty : SectionProblemReason::FirstSideEmpty, chainage, {}, index);
    } else if (sides[1].points->empty()) {
        report.Add(decided ? SectionProblemReason::RightSideEmpty : SectionProblemReason::SecondSideEmpty, chainage, {},
                   index);
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
                report.Add(SectionProblemReason::ElevationSpike, chainage,
                           {*side.name, LayoutNumberText(points[k].distance), LayoutNumberText(here)}, index);
        }
    }
    for (const NamedSide& side : sides) {
        double before = 0;  // the stake
        for (const SidePoint& point : *side.points) {
            if (point.distance - before > options.gapDistance)
                report.Add(SectionProblemReason::PointGap, chainage,
                           {*side.name, LayoutNumberText(before), LayoutNumberText(point.distance)}, index);
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
    const auto lineOf = [&](const RouteStation& station) -> std::optional<SectionLineEnds> {
        const TextIndex::Id id = linesByChainage.First(station.text);
        if (id == TextIndex::kNone) return std::nullopt;
        return ReadSectionLineEnds(FieldReader(matchedLines, matchedLines[id]));
    };
    std::optional<SectionLineEnds> line = lineOf(stations[0]);
    for (std::size_t k = 0; k + 1 < stations.size(); ++k) {
        const RouteStation& here = stations[k];
        const RouteStation& next = stations[k + 1];
        const std::optional<SectionLineEnds> nextLine = lineOf(next);
        if (line && nextLine && segmentsMeet(line->first, line->second, nextLine->first, nextLine->second))
            report.Add(SectionProblemReason::LinesCross, here.text, {std::string(next.text)});
        const double apart = PlaneDistance(here.position, next.position);
        const double difference = next.chainage - here.chainage;
        if (apart > difference + 0.1)
            report.Add(SectionProblemReason::StakeOffChainage, here.text,
                       {std::string(next.text), FormatFixed(apart, 3), FormatFixed(difference, 3)});
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

std::string SectionProblemText(const SectionProblem& problem) {
    std::string line(SectionProblemReasonText(problem.reason));
    line += ',';
    line += GbkToUtf8Lossy(problem.chainage);
    for (const std::string& detail : problem.details) {
        line += ',';
        line += GbkToUtf8Lossy(detail);
    }
    return line;
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
