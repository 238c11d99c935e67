#include "reference/all_pairs_steps.h"

#include <cmath>
#include <optional>

#include "core/decimal_text.h"
#include "core/fields.h"
#include "core/number_read.h"
#include "core/pre_read.h"
#include "geometry/geometry.h"
#include "station/station_text.h"

namespace qorvel::reference {

namespace {
// The label is written 0.4504 m from its stake, in the direction 326.309933 degrees clockwise
// from north seen from the label: the stake lies up and to the left of the label's insertion
// point.
constexpr double kLabelOffset = 0.4504;
constexpr double kLabelDirection = 5.695182712812092;  // radians

PlanePoint readLabelPoint(const FieldReader& fields) { return {fields.Strict(2), fields.Strict(3)}; }
PlanePoint readDetailPoint(const FieldReader& fields) { return {fields.Lenient(2), fields.Lenient(3)}; }
}  // namespace

CentreStakeMergeResult MergeCentreStakes(const DataFile& labels, const DataFile& points,
                                         const CentreStakeMergeOptions& options, ProgressSink& progress) {
    CentreStakeMergeResult result;
    const PreRead<PlanePoint> detailPoints(points, readDetailPoint);
    const double offsetEast = kLabelOffset * std::sin(kLabelDirection);
    const double offsetNorth = kLabelOffset * std::cos(kLabelDirection);

    const std::size_t labelCount = labels.size();
    for (std::size_t i = 0; i < labelCount; ++i) {
        const FieldReader label(labels, labels[i]);
        std::optional<std::size_t> kept;
        if (!points.empty()) {
            const PlanePoint at = readLabelPoint(label);
            const PlanePoint expected{at.east + offsetEast, at.north + offsetNorth};
            for (std::size_t j = 0; j < points.size(); ++j) {
                const PlanePoint& point = detailPoints.At(j);
                const double dEast = point.east - expected.east;
                const double dNorth = point.north - expected.north;
                if (std::sqrt(dEast * dEast + dNorth * dNorth) < options.tolerance) {
                    // Every match is remembered with its elevation field; the last one stays.
                    FieldReader(points, points[j]).Text(4);
                    kept = j;
                }
            }
        }
        if (kept) {
            ++result.stakes;
            const std::string chainage = LabelChainageText(label.Text(5), options.numericLabels);
            const FieldReader stake(points, points[*kept]);
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

}  // namespace qorvel::reference
