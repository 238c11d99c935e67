#pragma once
// The two sides of one cross-section: the member points seen from the centre stake along the
// section line, within 20 degrees of its direction on either side, ordered by distance.

#include <optional>

#include "results/section_record.h"

namespace qorvel {

struct SectionSides {
    SideList first;   // on the side of the section line's first end
    SideList second;  // on the side of its second end
};

// A point lies on the first end's side when the direction from the point to the stake is
// within 20 degrees of the line's direction (first end to second end), on the second end's
// side when it is within 20 degrees of the reverse direction. The angle between two directions
// is measured the short way round, across north too (10 and 355 are 15 degrees apart). Points no farther than `stakeAvoidDistance`
// from the stake (the stake's own shot among them) belong to no side. Each side is ordered by
// the section files' exchange sort (QuickSortRowsBy) on single-precision distances; points at
// equal distance come out in the order that sort leaves them, each with its name.
//
// Reads the stake's easting and northing strictly, every point's easting and northing
// leniently, and the elevation of each point taken; a distance or elevation beyond the range
// of a single-precision value fails the step, and so does a distance beyond that of a double
// ("坐标数值过大", naming the largest of the point's and the stake's coordinates). Each point is measured once for each side
// through AzimuthDistance with `carriedAzimuth` (the Session's).
SectionSides BuildSectionSides(const SectionRecord& record, double stakeAvoidDistance, double& carriedAzimuth);

// The same sides for a record on its own, when they do not depend on the azimuth carried in:
// nothing when a point lies exactly on the stake (its measurement keeps the azimuth before it)
// and the avoid distance is negative, so that a side may take it. Otherwise `azimuthLeft` is
// the azimuth BuildSectionSides would leave behind: that of the last point not on the stake
// (nothing when there is none, and the azimuth before the record stays).
std::optional<SectionSides> BuildIndependentSectionSides(const SectionRecord& record, double stakeAvoidDistance,
                                                         std::optional<double>& azimuthLeft);

// The reverse of a direction: 180 degrees on, kept below 360 (180 gives 0, 179.5 gives 359.5).
double ReverseAzimuth(double azimuth);

// A single-precision value handed on as the result files are written: the 15-digit decimal text
// of its exact value, rounded to seven significant digits with halves to even.
double SevenDigitValue(float value);

}  // namespace qorvel
