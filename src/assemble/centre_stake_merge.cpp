#include "assemble/centre_stake_merge.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/decimal_text.h"
#include "core/fields.h"
#include "core/number_read.h"
#include "core/pre_read.h"
#include "geometry/geometry.h"
#include "geometry/point_index.h"
#include "station/station_text.h"

namespace qorvel {

namespace {
// The label is written 0.4504 m from its stake, in the direction 326.309933 degrees clockwise
// from north seen from the label: the stake lies up and to the left of the label's insertion
// point.
constexpr double kLabelOffset = 0.4504;
constexpr double kLabelDirection = 5.695182712812092;  // radians

PlanePoint readLabelPoint(const FieldReader& fields) { return {fields.Strict(2), fields.Strict(3)}; }
PlanePoint readDetailPoint(const FieldReader& fields) { return {fields.Lenient(2), fields.Lenient(3)}; }
}  // namespace

std::string LabelChainageText(std::string_view label, bool numericLabels) {
    std::optional<double> chainage;
    if (!numericLabels || label.find('+') != std::string_view::npos) chainage = ChainageFromStationText(label);
    else chainage = ReadStrict(label);
    return chainage ? FormatGeneral(*chainage) : std::string{};
}

// Every label is tested against every detail point, in file order (labels outside, points
// inside), keeping the last point within the tolerance; the points near the place a label puts
// its stake are found through a tree of boxes over the points instead of by testing them all.
// Failures come where that loop meets them: a label's coordinates when it is reached (and only
// when there are points), a point that cannot be read at the first label (which meets every
// point), a matching point without an elevation at the label it matches, the kept stake's
// numbers and the label's text after the label's points.
CentreStakeMergeResult MergeCentreStakes(const DataFile& labels, const DataFile& points,
                                         const CentreStakeMergeOptions& options, ProgressSink& progress) {
    CentreStakeMergeResult result;
    const PreRead<PlanePoint> detailPoints(points, readDetailPoint, ReadThreads::Two);
    const double offsetEast = kLabelOffset * std::sin(kLabelDirection);
    const double offsetNorth = kLabelOffset * std::cos(kLabelDirection);
    const double tolerance = options.tolerance;
    const auto matches = [&](PlanePoint point, PlanePoint expected) {
        const double dEast = point.east - expected.east;
        const double dNorth = point.north - expected.north;
        return std::sqrt(dEast * dEast + dNorth * dNorth) < tolerance;
    };
    // Every match is asked for its elevation field, as the loop does; the last one stays.
    constexpr std::size_t kNone = SIZE_MAX;
    std::size_t kept = kNone;
    const auto keep = [&](std::size_t j) {
        FieldReader(points, points[j]).Text(4);
        kept = j;
    };

    std::optional<PointIndex> index;
    std::vector<PointIndex::Id> candidates;
    const std::size_t labelCount = labels.size();
    for (std::size_t i = 0; i < labelCount; ++i) {
        const FieldReader label(labels, labels[i]);
        kept = kNone;
        if (!points.empty()) {
            const PlanePoint at = readLabelPoint(label);
            const PlanePoint expected{at.east + offsetEast, at.north + offsetNorth};
            if (!index) {
                if (const auto unreadable = detailPoints.FirstUnreadable()) {
                    // The first label meets the points in order up to the one it cannot read.
                    for (std::size_t j = 0; j < *unreadable; ++j)
                        if (matches(detailPoints.At(j), expected)) keep(j);
                    detailPoints.At(*unreadable);  // raises that point's error
                }
                index.emplace(points.size(), [&](std::size_t j) { return detailPoints.At(j); });
            }
            candidates.clear();
            if (tolerance > 0) {
                // A match lies within the tolerance on both axes, give or take the rounding of
                // the difference and of the square root; the box is a little larger.
                const auto reach = [&](double centre) {
                    return tolerance * (1 + 1e-9) + 1e-150 + 1e-15 * std::fabs(centre);
                };
                const double east = reach(expected.east);
                const double north = reach(expected.north);
                index->VisitBox({expected.east - east, expected.north - north, expected.east + east,
                                 expected.north + north},
                                [&](PointIndex::Id id, PlanePoint) { candidates.push_back(id); });
                std::sort(candidates.begin(), candidates.end());
            }
            for (const PointIndex::Id j : candidates)
                if (matches(detailPoints.At(j), expected)) keep(j);
        }
        if (kept != kNone) {
            ++result.stakes;
            const std::string chainage = LabelChainageText(label.Text(5), options.numericLabels);
            const FieldReader stake(points, points[kept]);
            const double east = stake.Strict(2);
            const double north = stake.Strict(3);
            const double elevation = stake.Strict(4);
            result.output << chainage << ",," << FormatFixed(east, 3) << ',' << FormatFixed(north, 3) << ','
                          << FormatFixed(elevation, 3);
            result.output.EndLine();
        }
        ++result.labels;
        progress.Advance(kMergeStatusPrefix, i + 1, labelCount);
    }
    return result;
}

}  // namespace qorvel
