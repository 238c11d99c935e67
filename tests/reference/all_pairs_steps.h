#pragma once
// The file-to-file steps as plain loops over every pair of records: each record of the outer
// file tested against each record of the inner file, in file order, and the joins of the section
// results as nested loops over the files. They are the yardstick the indexed steps in
// qorvel_core are measured against, for results (byte for byte, counts, progress, errors, the
// carried azimuth) in the tests and for speed in the benchmarks. Never linked into the programs.

#include "assemble/centre_stake_merge.h"
#include "assemble/detail_point_grouping.h"
#include "assemble/point_codes.h"
#include "assemble/point_projection.h"
#include "assemble/section_line_match.h"
#include "checks/line_check.h"
#include "checks/stake_check.h"
#include "results/section_results.h"
#include "results/section_sides.h"

namespace qorvel::reference {

CentreStakeMergeResult MergeCentreStakes(const DataFile& labels, const DataFile& points,
                                         const CentreStakeMergeOptions& options, ProgressSink& progress);

SectionLineMatchResult MatchSectionLines(const DataFile& stakes, const DataFile& lines, double tolerance,
                                         double& carriedAzimuth);

DetailPointGroupingResult GroupDetailPoints(const DataFile& matchedLines, const DataFile& points, double tolerance,
                                            double& carriedAzimuth, ProgressSink& progress);

// The section results with the number texts made by DecimalText alone.
SectionResults OutputSectionResults(const SectionInputs& inputs, const SectionResultOptions& options,
                                    double& carriedAzimuth, ProgressSink& progress);

StakeCheckResult CheckCentreStakes(const DataFile& labels, const DataFile& stakes, bool numericLabels,
                                   ProgressSink& progress);

LineCheckResult CheckSectionLines(const DataFile& stakes, const DataFile& matchedLines, ProgressSink& progress);

PointCodesResult AddPointCodes(const DataFile& matchedLines, const DataFile& points, double tolerance,
                               ProgressSink& progress);

PointProjectionResult ProjectPointsOntoSectionLines(const DataFile& matchedLines, const DataFile& points,
                                                    double tolerance, double& carriedAzimuth, ProgressSink& progress);

}  // namespace qorvel::reference
