#include "reference/all_pairs_steps.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "core/decimal_text.h"
#include "core/fields.h"
#include "core/pre_read.h"
#include "geometry/geometry.h"
#include "geometry/section_line.h"
#include "station/station_text.h"

namespace qorvel::reference {

namespace {

// The records, and the member points their spans look into.
struct SectionJoin {
    std::vector<std::vector<MemberPoint>> memberPoints;  // one row per membership line
    std::vector<SectionRecord> records;                  // the sections, in output order
};

// A detail point line as join C needs it: the name always, fields 2 to 4 when a member name
// finds the line. A line lacking one of them is at fault only then.
struct DetailPointLine {
    std::string_view name;
    MemberPoint point;
    int missingField = -1;  // the first of fields 2 to 4 the line lacks, if any
};

DetailPointLine readDetailPointLine(const FieldReader& fields) {
    DetailPointLine line;
    line.name = fields.Text(0);
    line.point.line = fields.record().line;
    line.point.name = line.name;
    for (int field = 2; field <= 4; ++field) {
        if (!fields.Has(field)) {
            line.missingField = field;
            break;
        }
    }
    if (line.missingField < 0) {
        line.point.east = fields.Text(2);
        line.point.north = fields.Text(3);
        line.point.elevation = fields.Text(4);
    }
    return line;
}

struct MatchedLine {
    std::string_view chainage;
    SectionLineEnds ends;
};

MatchedLine readMatchedLine(const FieldReader& fields) { return {fields.Text(0), ReadSectionLineEnds(fields)}; }

SourcedField sourced(const DataFile& file, const FieldReader& fields, int field) {
    return {fields.Text(field), file.name(), fields.record().line, field};
}

struct StakeRow {  // join A: the membership line's chainage with its stake's fields 2, 3, 4
    SourcedField chainage;
    SourcedField east;
    SourcedField north;
    SourcedField elevation;
};

struct LineRow {  // join B
    std::string_view chainage;
    double azimuth = 0;
    SectionLineEnds ends;
};

struct StakeLineRow {  // join D
    const StakeRow* stake;
    const LineRow* line;
};

SectionJoin joinSectionRecords(const SectionInputs& inputs, double& carriedAzimuth, ProgressSink& progress) {
    // Every file is split once. Membership and centre-stake lines are held split; a field they
    // lack is reported when a join reads it. Section line ends are read (leniently) up front,
    // and an unreadable line raises its error when join B reaches it.
    std::vector<FieldReader> memberLines;
    memberLines.reserve(inputs.members.size());
    for (const Record& record : inputs.members.records()) memberLines.emplace_back(inputs.members, record);
    std::vector<FieldReader> stakeLines;
    stakeLines.reserve(inputs.stakes.size());
    for (const Record& record : inputs.stakes.records()) stakeLines.emplace_back(inputs.stakes, record);
    std::vector<DetailPointLine> pointLines;
    pointLines.reserve(inputs.points.size());
    for (const Record& record : inputs.points.records())
        pointLines.push_back(readDetailPointLine(FieldReader(inputs.points, record)));
    const PreRead<MatchedLine> sectionLines(inputs.lines, readMatchedLine);

    const std::size_t memberCount = memberLines.size();

    // Every chainage, at its first membership line, counted against the bound.
    for (std::size_t i = 0; i < memberCount; ++i) {
        const std::string_view chainage = memberLines[i].Text(0);
        bool earlier = false;
        for (std::size_t k = 0; k < i; ++k) earlier = earlier || memberLines[k].Text(0) == chainage;
        if (earlier) continue;
        std::size_t members = 0;
        std::size_t stakes = 0;
        std::size_t lines = 0;
        for (const FieldReader& member : memberLines) members += member.Text(0) == chainage;
        for (const FieldReader& stake : stakeLines) stakes += stake.Text(0) == chainage;
        for (const Record& line : inputs.lines.records()) lines += FirstField(line.text) == chainage;
        if (SectionsOfOneChainage(members, stakes, lines) > kMostSectionsOfOneChainage)
            FailTooManySections(inputs.members, memberLines[i].record().line, chainage, members, stakes, lines);
    }

    // A. Stakes. A centre-stake line is read beyond its chainage (fields 2, 3, 4) only when a
    // membership line has that chainage.
    std::vector<StakeRow> stakeRows;
    for (std::size_t i = 0; i < memberCount; ++i) {
        const FieldReader& member = memberLines[i];
        for (const FieldReader& stake : stakeLines) {
            if (stake.Text(0) == member.Text(0)) {
                stakeRows.push_back({sourced(inputs.members, member, 0), sourced(inputs.stakes, stake, 2),
                                     sourced(inputs.stakes, stake, 3), sourced(inputs.stakes, stake, 4)});
            }
        }
        progress.Advance(kJoinStakesStatus, i + 1, memberCount);
    }

    // B. Lines. Every section line is measured for every membership line, matching or not, so
    // fields 1 to 4 of every section line are read as soon as there is a membership line.
    std::vector<LineRow> lineRows;
    for (std::size_t i = 0; i < memberCount; ++i) {
        const std::string_view chainage = memberLines[i].Text(0);
        for (std::size_t j = 0; j < sectionLines.size(); ++j) {
            const MatchedLine& line = sectionLines.At(j);
            const AzimuthDistanceResult measured = AzimuthDistance(line.ends.first, line.ends.second, carriedAzimuth);
            if (line.chainage == chainage) lineRows.push_back({line.chainage, measured.azimuth, line.ends});
        }
        progress.Advance(kJoinLinesStatus, i + 1, memberCount);
    }

    // C. Member points, one row per membership line, in the order of its names; a name found on
    // several detail point lines brings every one of them. A detail point line is read beyond
    // its name (fields 2, 3, 4) only when a member name finds it. An empty name names no point.
    SectionJoin join;
    join.memberPoints.resize(memberCount);
    for (std::size_t i = 0; i < memberCount; ++i) {
        const FieldReader& member = memberLines[i];
        std::vector<MemberPoint>& row = join.memberPoints[i];
        for (int k = 1; k < static_cast<int>(member.count()); ++k) {
            const std::string_view name = member.Text(k);
            if (name.empty()) continue;
            for (std::size_t j = 0; j < pointLines.size(); ++j) {
                const DetailPointLine& point = pointLines[j];
                if (point.name != name) continue;
                if (point.missingField >= 0)
                    FieldReader(inputs.points, inputs.points[j]).Text(point.missingField);  // raises the report
                row.push_back(point.point);
            }
        }
        progress.Advance(kJoinMembersStatus, i + 1, memberCount);
    }

    // D. Stakes with lines of the same chainage.
    std::vector<StakeLineRow> stakeLineRows;
    for (const StakeRow& stake : stakeRows)
        for (const LineRow& line : lineRows)
            if (line.chainage == stake.chainage.text) stakeLineRows.push_back({&stake, &line});

    // E. Sections: every stake-line row with every member row of the same chainage. A member
    // row whose names found nothing still carries its chainage and gives a section without
    // points.
    for (const StakeLineRow& stakeLine : stakeLineRows) {
        for (std::size_t i = 0; i < memberCount; ++i) {
            if (memberLines[i].Text(0) != stakeLine.stake->chainage.text) continue;
            SectionRecord record;
            record.chainage = stakeLine.stake->chainage;
            record.stakeEast = stakeLine.stake->east;
            record.stakeNorth = stakeLine.stake->north;
            record.stakeElevation = stakeLine.stake->elevation;
            record.lineAzimuth = stakeLine.line->azimuth;
            record.lineFirstEnd = stakeLine.line->ends.first;
            record.lineSecondEnd = stakeLine.line->ends.second;
            record.pointFile = inputs.points.name();
            record.points = join.memberPoints[i];
            join.records.push_back(record);
        }
    }
    return join;
}

// Half the width of the wedge around the line direction, in degrees.
constexpr double kWedgeHalfAngle = 20;

// The angle between two azimuths, 0 to 180: a wedge around north holds directions on both sides
// of it (10 and 355 are 15 degrees apart), so a section line running north-south keeps the
// points that lie a hair east or west of it.
double angleBetween(double azimuth1, double azimuth2) {
    const double difference = std::fabs(azimuth1 - azimuth2);
    return difference > 180 ? 360 - difference : difference;
}

std::optional<float> toSingle(double value) {
    if (!(std::fabs(value) <= FLT_MAX)) return std::nullopt;
    return static_cast<float>(value);
}

SourcedField pointField(const SectionRecord& record, const MemberPoint& point, std::string_view text, int field) {
    return {text, record.pointFile, point.line, field};
}

// A single-precision value handed on at seven significant digits of its 15-digit text.
double sevenDigitValue(float value) {
    return DecimalText::FromDouble(static_cast<double>(value)).RoundToSignificant(7, Rounding::HalfToEven).ToDouble();
}

// The points of one side: measured from each point to the stake, in record order.
SideList buildSide(const SectionRecord& record, PlanePoint stake, double direction, double stakeAvoidDistance,
                   double& carriedAzimuth) {
    // Rows from 1 as QuickSortPairs takes them; row 0 is present and never read.
    std::vector<SortRow> table(1, SortRow{0, 0});
    for (const MemberPoint& point : record.points) {
        const PlanePoint at{pointField(record, point, point.east, 2).Lenient(),
                            pointField(record, point, point.north, 3).Lenient()};
        const AzimuthDistanceResult toStake = AzimuthDistance(at, stake, carriedAzimuth);
        if (!(angleBetween(direction, toStake.azimuth) < kWedgeHalfAngle && toStake.distance > stakeAvoidDistance))
            continue;
        const SourcedField elevationField = pointField(record, point, point.elevation, 4);
        const std::optional<float> distance = toSingle(toStake.distance);
        if (!distance) pointField(record, point, {}, StepError::kNoField).Fail("与中桩的距离超出单精度数值范围");
        const std::optional<float> elevation = toSingle(elevationField.Lenient());
        if (!elevation) elevationField.Fail("高程超出单精度数值范围：“" + DisplayText(point.elevation) + "”");
        table.push_back({*distance, *elevation});
    }
    const auto last = static_cast<std::ptrdiff_t>(table.size()) - 1;
    QuickSortPairs(table, 1, last);
    SideList side;
    side.reserve(table.size() - 1);
    for (std::size_t row = 1; row < table.size(); ++row)
        side.push_back({sevenDigitValue(table[row][0]), sevenDigitValue(table[row][1])});
    return side;
}

SectionSides buildSectionSides(const SectionRecord& record, double stakeAvoidDistance, double& carriedAzimuth) {
    const PlanePoint stake{record.stakeEast.Strict(), record.stakeNorth.Strict()};
    SectionSides sides;
    sides.first = buildSide(record, stake, record.lineAzimuth, stakeAvoidDistance, carriedAzimuth);
    sides.second = buildSide(record, stake, ReverseAzimuth(record.lineAzimuth), stakeAvoidDistance, carriedAzimuth);
    return sides;
}

enum class Heights {
    Elevation,   // z(k)
    AboveStake,  // z(k) - zs
    Stepwise,    // each pair relative to the one before it, the first relative to the stake
};

struct Layout {
    std::string_view name;
    bool oneLine;  // station, stake elevation and both sides on one line
    Heights heights;
};

constexpr std::array kLayouts{
    Layout{"格式 1", false, Heights::Elevation},
    Layout{"格式 2", true, Heights::Elevation},
    Layout{"格式 3", true, Heights::AboveStake},
    Layout{"格式 4", false, Heights::AboveStake},
    Layout{"格式 5", false, Heights::Stepwise},
};

const Layout* findLayout(std::string_view name) {
    for (const Layout& layout : kLayouts)
        if (layout.name == name) return &layout;
    return nullptr;
}

std::string layoutNumberText(double value) {
    return DecimalText::FromDouble(value).RoundToDecimals(4, Rounding::HalfToEven).Fixed(2);
}

// Pairs in list order, "first second", separated by single blanks; an empty side is empty.
std::string sideText(const SideList& side, Heights heights, double stakeElevation, double sign) {
    std::string text;
    for (std::size_t k = 0; k < side.size(); ++k) {
        const SidePoint& point = side[k];
        double first = point.distance;
        double second = point.elevation;
        switch (heights) {
            case Heights::Elevation:
                break;
            case Heights::AboveStake:
                second = sign * (point.elevation - stakeElevation);
                break;
            case Heights::Stepwise:
                if (k == 0) {
                    second = sign * (point.elevation - stakeElevation);
                } else {
                    first = std::fabs(point.distance - side[k - 1].distance);
                    second = sign * (point.elevation - side[k - 1].elevation);
                }
                break;
        }
        if (k > 0) text += ' ';
        text += layoutNumberText(first);
        text += ' ';
        text += layoutNumberText(second);
    }
    return text;
}

bool writeSectionLayout(const SectionRecord& record, const SideList& first, const SideList& second,
                        const SectionLayoutSettings& settings, OutputText& output) {
    const Layout* layout = findLayout(settings.layoutName);
    if (!layout) return false;

    std::string station(record.chainage.text);
    if (settings.stationText) {
        const std::optional<std::string> text = FormatStationText(record.chainage.text);
        if (!text) record.chainage.Fail("桩号不是数字，不能转换为字符型桩号：“" + DisplayText(record.chainage.text) + "”");
        station = *text;
    }

    const double stakeElevation = layout->heights == Heights::Elevation ? 0 : record.stakeElevation.Lenient();
    const double sign = settings.negateHeights ? -1 : 1;
    const std::string firstText = sideText(first, layout->heights, stakeElevation, sign);
    const std::string secondText = sideText(second, layout->heights, stakeElevation, sign);
    const std::string& sideX = settings.swapSides ? secondText : firstText;
    const std::string& sideY = settings.swapSides ? firstText : secondText;

    if (settings.blankLine) output.Line(" ");
    if (layout->oneLine) {
        output << station << ' ' << record.stakeElevation.text << ' ' << sideX << ' ' << sideY;
        output.EndLine();
    } else {
        output.Line(station);
        output.Line(sideX);
        output.Line(sideY);
    }
    return true;
}

}  // namespace

SectionResults OutputSectionResults(const SectionInputs& inputs, const SectionResultOptions& options,
                                    double& carriedAzimuth, ProgressSink& progress) {
    const SectionJoin join = joinSectionRecords(inputs, carriedAzimuth, progress);
    SectionResults results;
    const std::size_t count = join.records.size();
    for (std::size_t s = 0; s < count; ++s) {
        const SectionRecord& record = join.records[s];
        const SectionSides sides = buildSectionSides(record, options.stakeAvoidDistance, carriedAzimuth);
        ++results.sections;
        if (writeSectionLayout(record, sides.first, sides.second, options.layout, results.output)) {
            ++results.written;
            progress.Advance(kWriteSectionsStatus, s + 1, count);
        }
    }
    return results;
}

}  // namespace qorvel::reference
