#pragma once
// The joins of step 10: the station membership, centre-stake, detail point and matched section
// line files put together by chainage into the records of the cross-sections.

#include <cstddef>
#include <string_view>
#include <vector>

#include "core/data_file.h"
#include "core/progress.h"
#include "results/section_record.h"

namespace qorvel {

struct SectionInputs {
    const DataFile& members;  // chainage,name,name,...          (station membership file)
    const DataFile& stakes;   // chainage,,easting,northing,elevation (centre-stake file)
    const DataFile& points;   // name,code,easting,northing,elevation (detail point file)
    const DataFile& lines;    // chainage,east1,north1,east2,north2   (matched section line file)
};

// The records, and the member points their spans look into. Move it, never copy it: a copy
// would leave the records looking into the original.
struct SectionJoin {
    SectionJoin() = default;
    SectionJoin(SectionJoin&&) = default;
    SectionJoin& operator=(SectionJoin&&) = default;
    SectionJoin(const SectionJoin&) = delete;
    SectionJoin& operator=(const SectionJoin&) = delete;

    // Every detail point line a member name found, once, in the order they were first found;
    // and the member points of every membership line as rows of that table, one line after the
    // other: those of line i are memberPoints[memberRows[i] .. memberRows[i + 1]).
    std::vector<MemberPoint> pointTable;
    std::vector<std::uint32_t> memberPoints;
    std::vector<std::size_t> memberRows;
    std::vector<SectionRecord> records;  // the sections, in output order
};

// Status texts of the three joins that go through the membership file row by row.
inline constexpr const char* kJoinStakesStatus = "向变量添加中桩坐标： ";
inline constexpr const char* kJoinLinesStatus = "向变量添加方位角与距离值： ";
inline constexpr const char* kJoinMembersStatus = "向变量添加归属断面点： ";

// Repeated chainages multiply: a chainage on m membership lines, s centre-stake lines and l
// matched section lines gives m³·s·l sections. Labels that could not be read leave every stake
// with an empty chainage, and 25 of them made ten million sections out of a 1 KB input; no
// real survey gives one chainage this many.
inline constexpr std::size_t kMostSectionsOfOneChainage = 10000;

// m³·s·l, or SIZE_MAX when that does not fit.
std::size_t SectionsOfOneChainage(std::size_t memberLines, std::size_t stakeLines, std::size_t sectionLines);

// Fails the step for a chainage that would give more sections than the bound: the membership
// file at the first line with that chainage, the three counts, and the likely cause.
[[noreturn]] void FailTooManySections(const DataFile& members, std::size_t line, std::string_view chainage,
                                      std::size_t memberLines, std::size_t stakeLines, std::size_t sectionLines);

// Joins the four files as the result files are written (kept to the byte, core/decimal_text.h), as nested loops in
// file order would (the records of each inner file are looked up by their text instead of
// compared one by one): chainages and names compared as raw text, so that repeated chainages multiply
// (a chainage on two membership lines with one stake and one section line gives eight
// sections). Every section line is measured for every membership line, matching or not, and
// `carriedAzimuth` (the Session's) goes from call to call: a section line whose ends coincide
// takes the azimuth of the measurement before it.
//
// Before anything beyond field 0 is read, every chainage of the membership file is counted:
// one that would give more than kMostSectionsOfOneChainage sections fails the step
// (FailTooManySections), naming the first such chainage in membership file order.
SectionJoin JoinSectionRecords(const SectionInputs& inputs, double& carriedAzimuth, ProgressSink& progress);

}  // namespace qorvel
