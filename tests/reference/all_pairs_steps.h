#pragma once
// The assembly steps as plain loops over every pair of records: each record of the outer file
// tested against each record of the inner file, in file order. They are the yardstick the
// indexed steps in qorvel_core are measured against, for results (byte for byte, counts,
// progress, errors, the carried azimuth) in the tests and for speed in the benchmarks. Never
// linked into the programs.

#include "assemble/centre_stake_merge.h"
#include "assemble/detail_point_grouping.h"
#include "assemble/section_line_match.h"

namespace qorvel::reference {

CentreStakeMergeResult MergeCentreStakes(const DataFile& labels, const DataFile& points,
                                         const CentreStakeMergeOptions& options, ProgressSink& progress);

SectionLineMatchResult MatchSectionLines(const DataFile& stakes, const DataFile& lines, double tolerance,
                                         double& carriedAzimuth);

DetailPointGroupingResult GroupDetailPoints(const DataFile& matchedLines, const DataFile& points, double tolerance,
                                            double& carriedAzimuth, ProgressSink& progress);

}  // namespace qorvel::reference
