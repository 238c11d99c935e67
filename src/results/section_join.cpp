#include "results/section_join.h"

#include <string>
#include <string_view>

#include "assemble/geometry.h"
#include "assemble/section_line.h"
#include "core/fields.h"
#include "core/pre_read.h"

namespace qorvel {

namespace {

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
    double length = 0;
};

struct StakeLineRow {  // join D
    const StakeRow* stake;
    const LineRow* line;
};

}  // namespace

SectionJoin JoinSectionRecords(const SectionInputs& inputs, double& carriedAzimuth, ProgressSink& progress) {
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
            if (line.chainage == chainage) lineRows.push_back({line.chainage, measured.azimuth, measured.distance});
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
            record.lineLength = stakeLine.line->length;
            record.pointFile = inputs.points.name();
            record.points = join.memberPoints[i];
            join.records.push_back(record);
        }
    }
    return join;
}

}  // namespace qorvel
