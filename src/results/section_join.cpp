#include "results/section_join.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/fields.h"
#include "core/pre_read.h"
#include "core/text_index.h"
#include "core/two_halves.h"
#include "geometry/carried_azimuth.h"
#include "geometry/geometry.h"
#include "geometry/section_line.h"

namespace qorvel {

namespace {

// A detail point line as join C takes it: fields 2 to 4, which the line must have once a member
// name finds it.
MemberPoint readMemberPoint(const DataFile& points, TextIndex::Id j) {
    const Record& record = points[j];
    const std::string_view text = record.text;
    // The commas that end fields 0 to 3; a line with fewer is reported by the field reader.
    std::size_t commas[4];
    std::size_t at = 0;
    for (std::size_t& comma : commas) {
        comma = text.find(',', at);
        if (comma == std::string_view::npos) {
            const FieldReader fields(points, record);
            return {record.line, fields.Text(2), fields.Text(3), fields.Text(4), fields.Text(0), {}};  // raises the report
        }
        at = comma + 1;
    }
    const std::size_t end = std::min(text.find(',', at), text.size());
    return {record.line, text.substr(commas[1] + 1, commas[2] - commas[1] - 1),
            text.substr(commas[2] + 1, commas[3] - commas[2] - 1), text.substr(commas[3] + 1, end - commas[3] - 1),
            text.substr(0, commas[0]), text.substr(commas[0] + 1, commas[1] - commas[0] - 1)};
}

// A section line as join B measures it: from its first end to its second, the azimuth only
// when the ends differ (otherwise the measurement keeps the azimuth before it).
struct MeasuredLine {
    std::optional<double> azimuth;
    SectionLineEnds ends;
};

MeasuredLine readMeasuredLine(const FieldReader& fields) {
    fields.Text(0);
    const SectionLineEnds ends = ReadSectionLineEnds(fields);
    // A direction between ends that lie farther apart than a double holds is no direction.
    if (!std::isfinite(ends.second.east - ends.first.east) || !std::isfinite(ends.second.north - ends.first.north))
        FailNumberTooLarge(LineEndNumbers(fields.file().name(), fields.record().line, ends), "坐标");
    return {AzimuthSet(ends.first, ends.second), ends};
}

SourcedField sourced(const DataFile& file, const FieldReader& fields, int field) {
    return {fields.Text(field), file.name(), fields.record().line, field, &file.lenientReads()};
}

std::vector<std::string_view> firstFields(const DataFile& file) {
    std::vector<std::string_view> texts;
    texts.reserve(file.size());
    for (const Record& record : file.records()) texts.push_back(FirstField(record.text));
    return texts;
}

// Point files from this size on are indexed on a second thread.
constexpr std::size_t kWorthASecondThread = 50000;

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
    std::size_t line = 0;  // in the matched section line file
};

// A membership line as the joins take it: its chainage, and its names read one after the other
// where join C reads them. The names are not split up front: a line may hold millions.
struct MemberLine {
    const Record* record = nullptr;
    std::string_view chainage;  // field 0

    // Calls `visit(name)` for fields 1, 2, ... in order.
    template <class Visit>
    void ForEachName(Visit&& visit) const {
        const std::string_view text = record->text;
        std::size_t at = chainage.size();
        while (at < text.size()) {  // at the comma before the next field
            const std::size_t start = at + 1;
            at = std::min(text.find(',', start), text.size());
            visit(text.substr(start, at - start));
        }
    }
};

// Every chainage of the membership file, at its first line, against the bound.
void checkSectionCounts(const DataFile& members, const std::vector<MemberLine>& memberLines,
                        const TextIndex& membersByChainage, const TextIndex& stakesByChainage,
                        const TextIndex& linesByChainage) {
    constexpr std::size_t kAll = SIZE_MAX;
    for (std::size_t i = 0; i < memberLines.size(); ++i) {
        const std::string_view chainage = memberLines[i].chainage;
        if (membersByChainage.First(chainage) != i) continue;  // counted at its first line
        const std::size_t stakeLines = stakesByChainage.Count(chainage, kAll);
        if (stakeLines == 0) continue;
        const std::size_t sectionLines = linesByChainage.Count(chainage, kAll);
        const std::size_t memberCount = membersByChainage.Count(chainage, kAll);
        if (SectionsOfOneChainage(memberCount, stakeLines, sectionLines) > kMostSectionsOfOneChainage)
            FailTooManySections(members, memberLines[i].record->line, chainage, memberCount, stakeLines, sectionLines);
    }
}

}  // namespace

std::size_t SectionsOfOneChainage(std::size_t memberLines, std::size_t stakeLines, std::size_t sectionLines) {
    std::size_t product = 1;
    for (const std::size_t factor : {memberLines, memberLines, memberLines, stakeLines, sectionLines})
        if (__builtin_mul_overflow(product, factor, &product)) return SIZE_MAX;
    return product;
}

void FailTooManySections(const DataFile& members, std::size_t line, std::string_view chainage,
                         std::size_t memberLines, std::size_t stakeLines, std::size_t sectionLines) {
    const std::size_t sections = SectionsOfOneChainage(memberLines, stakeLines, sectionLines);
    const std::string named = chainage.empty() ? "（空桩号）" : "“" + DisplayText(chainage) + "”";
    std::string count = std::to_string(memberLines) + "³×" + std::to_string(stakeLines) + "×" + std::to_string(sectionLines);
    if (sections != SIZE_MAX) count += " = " + std::to_string(sections);
    throw StepError(members.name(), line, 0,
                    "桩号" + named + "有本文件 " + std::to_string(memberLines) + " 行、中桩文件 " +
                        std::to_string(stakeLines) + " 行、断面线文件 " + std::to_string(sectionLines) + " 行，将生成 " +
                        count + " 个断面，超过每个桩号 " + std::to_string(kMostSectionsOfOneChainage) +
                        " 个的上限。可能是图上的里程标注未能识别：纯数字的里程标注需要选中“图上里程为数值”（命令行 "
                        "--numeric-labels）");
}

// The joins are those of nested loops over the files in file order, and give the same rows in
// the same order; each inner loop is replaced by a look-up of the records with the text it
// compares (every one of them, in file order). Fields are read, and failures raised, at the
// same points of the loops.
SectionJoin JoinSectionRecords(const SectionInputs& inputs, double& carriedAzimuth, ProgressSink& progress) {
    const DataFile& lines = inputs.lines;
    std::vector<MemberLine> memberLines;
    memberLines.reserve(inputs.members.size());
    for (const Record& record : inputs.members.records()) memberLines.push_back({&record, FirstField(record.text)});
    const std::size_t memberCount = memberLines.size();

    std::vector<std::string_view> memberChainages;
    memberChainages.reserve(memberCount);
    for (const MemberLine& member : memberLines) memberChainages.push_back(member.chainage);
    const TextIndex membersByChainage(std::move(memberChainages));
    const TextIndex stakesByChainage(firstFields(inputs.stakes));
    const TextIndex linesByChainage(firstFields(lines));
    checkSectionCounts(inputs.members, memberLines, membersByChainage, stakesByChainage, linesByChainage);

    // Joins A and B here while the detail points are indexed by name for join C on a second
    // thread: a million names take a while.
    std::vector<StakeRow> stakeRows;
    std::vector<LineRow> lineRows;
    TextIndex pointsByName;
    BothAtOnce([&] {
        // A. Stakes. A centre-stake line is read beyond its chainage (fields 2, 3, 4) only
        // when a membership line has that chainage.
        stakeRows.reserve(memberCount);
        for (std::size_t i = 0; i < memberCount; ++i) {
            const MemberLine& member = memberLines[i];
            stakesByChainage.ForEach(member.chainage, [&](TextIndex::Id k) {
                const FieldReader stake(inputs.stakes, inputs.stakes[k]);
                const SourcedField chainage{member.chainage, inputs.members.name(), member.record->line, 0,
                                            &inputs.members.lenientReads()};
                stakeRows.push_back({chainage, sourced(inputs.stakes, stake, 2),
                                     sourced(inputs.stakes, stake, 3), sourced(inputs.stakes, stake, 4)});
            });
            progress.Advance(kJoinStakesStatus, i + 1, memberCount);
        }

        // B. Lines. Every section line is measured for every membership line, matching or not,
        // the azimuth carried from measurement to measurement. A line with distinct ends gets
        // its own azimuth; one whose ends coincide gets that of the nearest line before it with
        // distinct ends, in the same round or, for the first lines of a round, the last such
        // line of the round before; in the first round, before any, the azimuth handed in.
        const PreRead<MeasuredLine> measured(lines, readMeasuredLine);
        const std::size_t lineCount = lines.size();
        const double before = carriedAzimuth;
        if (memberCount > 0 && lineCount > 0) {
            if (const auto unreadable = measured.FirstUnreadable()) {
                // The first round stops at that line.
                for (std::size_t j = 0; j < *unreadable; ++j)
                    if (measured.At(j).azimuth) carriedAzimuth = *measured.At(j).azimuth;
                measured.At(*unreadable);  // raises that line's error
            }
        }
        std::vector<std::optional<double>> earlierAzimuth;  // before line j in a round
        std::optional<double> lastAzimuth;                  // of the whole round
        if (memberCount > 0) {  // else no line is measured, nor read
            earlierAzimuth.resize(lineCount);
            for (std::size_t j = 0; j < lineCount; ++j) {
                earlierAzimuth[j] = lastAzimuth;
                if (measured.At(j).azimuth) lastAzimuth = measured.At(j).azimuth;
            }
        }
        lineRows.reserve(memberCount);
        for (std::size_t i = 0; i < memberCount; ++i) {
            const std::string_view chainage = memberLines[i].chainage;
            const double roundStart = i == 0 ? before : lastAzimuth.value_or(before);
            linesByChainage.ForEach(chainage, [&](TextIndex::Id j) {
                const MeasuredLine& line = measured.At(j);
                const double azimuth = line.azimuth ? *line.azimuth : earlierAzimuth[j].value_or(roundStart);
                lineRows.push_back({chainage, azimuth, line.ends, lines[j].line});
            });
            progress.Advance(kJoinLinesStatus, i + 1, memberCount);
        }
        if (memberCount > 0 && lineCount > 0) carriedAzimuth = lastAzimuth.value_or(before);
    }, [&] { pointsByName = TextIndex(firstFields(inputs.points)); }, inputs.points.size() >= kWorthASecondThread);

    // C. Member points, one row per membership line, in the order of its names; a name found on
    // several detail point lines brings every one of them. A detail point line is read beyond
    // its name (fields 2, 3, 4) only when a member name finds it. An empty name names no point.
    // Each detail point line is read the first time a name finds it and kept once in the
    // table; every name that finds it again adds its row.
    SectionJoin join;
    join.memberRows.reserve(memberCount + 1);
    join.memberRows.push_back(0);
    std::size_t nameCount = 0;
    for (const MemberLine& member : memberLines)
        nameCount += static_cast<std::size_t>(std::count(member.record->text.begin(), member.record->text.end(), ','));
    join.memberPoints.reserve(nameCount);  // a point for each name, usually
    std::vector<std::uint32_t> rowOfPoint(inputs.points.size(), TextIndex::kNone);
    TextIndex::Hint hint;
    for (std::size_t i = 0; i < memberCount; ++i) {
        memberLines[i].ForEachName([&](std::string_view name) {
            if (name.empty()) return;
            pointsByName.ForEachOfEach(std::span(&name, 1), hint, [&](std::size_t, TextIndex::Id j) {
                if (rowOfPoint[j] == TextIndex::kNone) {
                    join.pointTable.push_back(readMemberPoint(inputs.points, j));
                    rowOfPoint[j] = static_cast<std::uint32_t>(join.pointTable.size() - 1);
                }
                join.memberPoints.push_back(rowOfPoint[j]);
            });
        });
        join.memberRows.push_back(join.memberPoints.size());
        progress.Advance(kJoinMembersStatus, i + 1, memberCount);
    }

    // D. Stakes with lines of the same chainage, and E. with every member row of that chainage
    // (a member row whose names found nothing still carries its chainage and gives a section
    // without points): one record for each, stake rows outside, then line rows, then member rows.
    std::vector<std::string_view> lineRowChainages;
    lineRowChainages.reserve(lineRows.size());
    for (const LineRow& row : lineRows) lineRowChainages.push_back(row.chainage);
    const TextIndex lineRowsByChainage(std::move(lineRowChainages));
    join.records.reserve(memberCount);
    for (const StakeRow& stake : stakeRows) {
        lineRowsByChainage.ForEach(stake.chainage.text, [&](TextIndex::Id l) {
            const LineRow& line = lineRows[l];
            membersByChainage.ForEach(stake.chainage.text, [&](TextIndex::Id i) {
                SectionRecord record;
                record.chainage = stake.chainage;
                record.stakeEast = stake.east;
                record.stakeNorth = stake.north;
                record.stakeElevation = stake.elevation;
                record.lineAzimuth = line.azimuth;
                record.lineFirstEnd = line.ends.first;
                record.lineSecondEnd = line.ends.second;
                record.linesFile = lines.name();
                record.lineLine = line.line;
                record.pointFile = inputs.points.name();
                record.pointLenientReads = &inputs.points.lenientReads();
                record.points = MemberPoints(join.pointTable, std::span(join.memberPoints)
                                                                  .subspan(join.memberRows[i],
                                                                           join.memberRows[i + 1] - join.memberRows[i]));
                join.records.push_back(record);
            });
        });
    }
    return join;
}

}  // namespace qorvel
