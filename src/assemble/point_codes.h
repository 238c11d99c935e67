#pragma once
// Station codes for detail points: the points surveyed along a cross-section get that section's
// chainage as their code, so any survey program can sort, filter and check them by station.
// A point takes the chainage of the matched section line it lies on, measured to the segment
// between the line's two ends: unlike the grouping by station, a point on the extension of a
// section line, beyond its ends, is not on that section.

#include <cstddef>

#include "core/data_file.h"
#include "core/output_text.h"
#include "core/progress.h"
#include "geometry/geometry.h"

namespace qorvel {

struct PointCodesResult {
    OutputText output;       // every detail point line, the coded ones with field 1 replaced
    std::size_t points = 0;  // detail points written
    std::size_t coded = 0;   // points whose code was replaced
};

inline constexpr const char* kPointCodesStatusPrefix = "已处理碎步点：";

// Distance from P to the segment between A and B: to the foot of the perpendicular when the
// foot lies within the box the two ends span (its edges included), otherwise to the nearer end.
double DistanceToSegment(PlanePoint p, PlanePoint a, PlanePoint b);

// Every detail point line, in file order. A point lying strictly closer than `tolerance` to
// the segment of a matched section line takes the chainage of the nearest such line (of equally
// near ones, the first in file order) as its code: field 1 is replaced, the other fields are
// written as read. Other lines are written unchanged.
//
// A point's easting and northing (fields 2 and 3) are read leniently, as every step reads
// detail points, and only when there are section lines to compare them with; its elevation is
// not read. A line's chainage and ends (fields 0 to 4) are read when there are points.
PointCodesResult AddPointCodes(const DataFile& matchedLines, const DataFile& points, double tolerance,
                               ProgressSink& progress);

}  // namespace qorvel
