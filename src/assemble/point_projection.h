#pragma once
// Detail points moved onto their section lines: a point surveyed a few centimetres off a
// cross-section is written again at the foot of its perpendicular on the section line, coded
// with the section's chainage, in the layout of the detail point file. Members are found as the
// grouping by station finds them (the infinite line through the two ends), so the points written
// are exactly the section's members.

#include <cstddef>

#include "core/data_file.h"
#include "core/output_text.h"
#include "core/progress.h"

namespace qorvel {

struct PointProjectionResult {
    OutputText output;       // name,chainage,foot easting,foot northing,elevation per member
    std::size_t lines = 0;   // matched section lines processed
    std::size_t points = 0;  // points written (a point on several lines once for each)
};

inline constexpr const char* kPointProjectionStatusPrefix = "已计算横断面线上点的桩号：";

// For every matched section line (file order) and every detail point (file order) lying
// strictly closer than `tolerance` to the infinite line through its ends: the point's name
// (field 0, as read), the line's chainage (field 0, as read), the foot of the perpendicular
// with three decimals, and the point's elevation (field 4, as read; only members need one).
// `carriedAzimuth` as for GroupDetailPoints: every pair tested updates it.
PointProjectionResult ProjectPointsOntoSectionLines(const DataFile& matchedLines, const DataFile& points,
                                                    double tolerance, double& carriedAzimuth, ProgressSink& progress);

}  // namespace qorvel
