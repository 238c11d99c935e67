#pragma once
// Detail point grouping: the points surveyed along a cross-section lie on (or very near) its
// section line; every matched section line collects the names of the points near it.

#include <cstddef>

#include "core/data_file.h"
#include "core/output_text.h"
#include "core/progress.h"

namespace qorvel {

struct DetailPointGroupingResult {
    OutputText output;            // chainage,name,name,... per matched section line
    std::size_t stations = 0;     // matched section lines processed
    std::size_t memberships = 0;  // point-to-line memberships found
};

inline constexpr const char* kGroupingStatusPrefix = "完成添加归属点号的桩号有： ";

// `carriedAzimuth` as for MatchSectionLines.
DetailPointGroupingResult GroupDetailPoints(const DataFile& matchedLines, const DataFile& points, double tolerance,
                                            double& carriedAzimuth, ProgressSink& progress);

}  // namespace qorvel
