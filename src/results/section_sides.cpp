#include "results/section_sides.h"

#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "core/decimal_text.h"
#include "core/fields.h"
#include "geometry/geometry.h"

namespace qorvel {

namespace {

// Half the width of the wedge around the line direction, in degrees.
constexpr double kWedgeHalfAngle = 20;

// The angle between two azimuths, 0 to 180: a wedge around north holds directions on both sides
// of it (10 and 355 are 15 degrees apart), so a section line running north-south keeps the
// points that lie a hair east or west of it.
double angleBetween(double azimuth1, double azimuth2) {
    const double difference = std::fabs(azimuth1 - azimuth2);
    return difference > 180 ? 360 - difference : difference;
}

std::optional<float> toSingle(double value) {
    if (!(std::fabs(value) <= FLT_MAX)) return std::nullopt;
    return static_cast<float>(value);
}

SourcedField pointField(const SectionRecord& record, const MemberPoint& point, std::string_view text, int field) {
    return {text, record.pointFile, point.line, field, record.pointLenientReads};
}

// A point of a side as it is sorted: its distance and elevation in single precision, as the
// result files are ordered (kept to the byte, core/decimal_text.h), and the point they belong to.
struct SideRow {
    float distance = 0;
    float elevation = 0;
    const MemberPoint* point = nullptr;
};

// A point as measured from it to the stake: the azimuth only when the two differ (otherwise the
// measurement keeps the azimuth before it), NaN for none: a measured azimuth is always a number,
// and a section of millions of points keeps one measurement for each.
struct Measurement {
    double azimuth = std::numeric_limits<double>::quiet_NaN();
    double distance = 0;

    bool setsAzimuth() const { return !std::isnan(azimuth); }
};

// One side: the points measured in record order, each taken into the side's table when its
// azimuth lies within the wedge around `direction` and it lies farther than the avoid distance.
// `measure(k)` measures point k and gives its azimuth and distance.
template <class Measure>
SideList buildSide(const SectionRecord& record, double direction, double stakeAvoidDistance, Measure measure) {
    // Rows from 1 as the sort takes them; row 0 is present and never read.
    std::vector<SideRow> table(1, SideRow{});
    for (std::size_t k = 0; k < record.points.size(); ++k) {
        const MemberPoint& point = record.points[k];
        const AzimuthDistanceResult toStake = measure(k);
        if (!(angleBetween(direction, toStake.azimuth) < kWedgeHalfAngle && toStake.distance > stakeAvoidDistance))
            continue;
        const SourcedField elevationField = pointField(record, point, point.elevation, 4);
        const std::optional<float> distance = toSingle(toStake.distance);
        if (!distance) pointField(record, point, {}, StepError::kNoField).Fail("与中桩的距离超出单精度数值范围");
        const std::optional<float> elevation = toSingle(elevationField.Lenient());
        if (!elevation) elevationField.Fail("高程超出单精度数值范围：“" + DisplayText(point.elevation) + "”");
        table.push_back({*distance, *elevation, &point});
    }
    const auto last = static_cast<std::ptrdiff_t>(table.size()) - 1;
    QuickSortRowsBy(std::span(table), 1, last, [](const SideRow& row) { return row.distance; });
    SideList side;
    side.reserve(table.size() - 1);
    for (std::size_t row = 1; row < table.size(); ++row)
        side.push_back({SevenDigitValue(table[row].distance), SevenDigitValue(table[row].elevation), table[row].point->name,
                        table[row].point});
    return side;
}

}  // namespace

double ReverseAzimuth(double azimuth) {
    const double reverse = azimuth + 180;
    return reverse < 360 ? reverse : reverse - 360;
}

double SevenDigitValue(float value) {
    return RoundTextToSignificant(static_cast<double>(value), 7, Rounding::HalfToEven);
}

namespace {
// Raised when a record measured apart from the others has a point on its stake that a side
// could take.
struct DependsOnCarriedAzimuth {};

// `lastSet`, when given, receives the last azimuth a measurement set (none when every
// measurement kept the one before it).
SectionSides buildSections(const SectionRecord& record, double stakeAvoidDistance, double& carriedAzimuth,
                           bool independent, std::optional<double>* lastSet = nullptr) {
    const PlanePoint stake{record.stakeEast.Strict(), record.stakeNorth.Strict()};
    // Each point is measured from it to the stake once for each side, the azimuth carried from
    // measurement to measurement. The first round reads the points and measures them; the
    // second repeats the measurements it made.
    std::vector<Measurement> measurements;
    measurements.reserve(record.points.size());
    SectionSides sides;
    sides.first = buildSide(record, record.lineAzimuth, stakeAvoidDistance, [&](std::size_t k) {
        const MemberPoint& point = record.points[k];
        const SourcedField east = pointField(record, point, point.east, 2);
        const SourcedField north = pointField(record, point, point.north, 3);
        const PlanePoint at{east.Lenient(), north.Lenient()};
        const AzimuthDistanceResult toStake = AzimuthDistance(at, stake, carriedAzimuth);
        if (!std::isfinite(toStake.distance))
            FailNumberTooLarge({east.Valued(at.east), north.Valued(at.north), record.stakeEast.Valued(stake.east),
                                record.stakeNorth.Valued(stake.north)},
                               "坐标");
        // The azimuth is kept only when both differences are zero (the coordinates are finite,
        // so no difference is NaN), and then the distance is zero: a side takes the point, at
        // the azimuth carried in, only when the avoid distance is negative.
        const bool kept = stake.east - at.east == 0 && stake.north - at.north == 0;
        if (kept && independent && 0 > stakeAvoidDistance) throw DependsOnCarriedAzimuth{};
        measurements.push_back({kept ? std::numeric_limits<double>::quiet_NaN() : toStake.azimuth, toStake.distance});
        if (!kept && lastSet) *lastSet = toStake.azimuth;
        return toStake;
    });
    sides.second = buildSide(record, ReverseAzimuth(record.lineAzimuth), stakeAvoidDistance, [&](std::size_t k) {
        const Measurement& measured = measurements[k];
        if (measured.setsAzimuth()) carriedAzimuth = measured.azimuth;
        return AzimuthDistanceResult{carriedAzimuth, measured.distance};
    });
    return sides;
}
}  // namespace

SectionSides BuildSectionSides(const SectionRecord& record, double stakeAvoidDistance, double& carriedAzimuth) {
    return buildSections(record, stakeAvoidDistance, carriedAzimuth, false);
}

std::optional<SectionSides> BuildIndependentSectionSides(const SectionRecord& record, double stakeAvoidDistance,
                                                         std::optional<double>& azimuthLeft) {
    double carried = 0;  // read only for points on the stake, which no side takes here
    azimuthLeft.reset();
    try {
        return buildSections(record, stakeAvoidDistance, carried, true, &azimuthLeft);
    } catch (const DependsOnCarriedAzimuth&) {
        return std::nullopt;
    }
}

}  // namespace qorvel
