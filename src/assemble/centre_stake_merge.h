#pragma once
// Centre-stake merge: every station label on the drawing sits a fixed small offset from its
// stake; the stake is the surveyed detail point found where the label says it should be.

#include <cstddef>

#include "core/data_file.h"
#include "core/output_text.h"
#include "core/progress.h"

namespace qorvel {

struct CentreStakeMergeOptions {
    double tolerance = 0.05;     // how far the surveyed stake may lie from where the label puts it
    bool numericLabels = false;  // labels may be plain chainages (1200) instead of station text
};

struct CentreStakeMergeResult {
    OutputText output;       // chainage,,easting,northing,elevation per stake found
    std::size_t stakes = 0;  // labels that found their stake
    std::size_t labels = 0;  // labels processed
};

inline constexpr const char* kMergeStatusPrefix = "已合并中桩坐标高程:";

// The chainage a station label stands for, as the centre-stake file writes it: empty when the
// label cannot be read.
std::string LabelChainageText(std::string_view label, bool numericLabels);

CentreStakeMergeResult MergeCentreStakes(const DataFile& labels, const DataFile& points,
                                         const CentreStakeMergeOptions& options, ProgressSink& progress);

}  // namespace qorvel
