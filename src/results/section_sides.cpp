#include "results/section_sides.h"

#include <cfloat>
#include <cmath>
#include <optional>

#include "assemble/geometry.h"
#include "core/decimal_text.h"
#include "core/fields.h"

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
    return {text, record.pointFile, point.line, field};
}

// The points of one side: measured from each point to the stake, in record order.
SideList buildSide(const SectionRecord& record, PlanePoint stake, double direction, double stakeAvoidDistance,
                   double& carriedAzimuth) {
    // Rows from 1 as QuickSortPairs takes them; row 0 is present and never read.
    std::vector<SortRow> table(1, SortRow{0, 0});
    for (const MemberPoint& point : record.points) {
        const PlanePoint at{pointField(record, point, point.east, 2).Lenient(),
                            pointField(record, point, point.north, 3).Lenient()};
        const AzimuthDistanceResult toStake = AzimuthDistance(at, stake, carriedAzimuth);
        if (!(angleBetween(direction, toStake.azimuth) < kWedgeHalfAngle && toStake.distance > stakeAvoidDistance))
            continue;
        const SourcedField elevationField = pointField(record, point, point.elevation, 4);
        const std::optional<float> distance = toSingle(toStake.distance);
        if (!distance) pointField(record, point, {}, StepError::kNoField).Fail("与中桩的距离超出单精度数值范围");
        const std::optional<float> elevation = toSingle(elevationField.Lenient());
        if (!elevation) elevationField.Fail("高程超出单精度数值范围：“" + DisplayText(point.elevation) + "”");
        table.push_back({*distance, *elevation});
    }
    const auto last = static_cast<std::ptrdiff_t>(table.size()) - 1;
    QuickSortPairs(table, 1, last);
    SideList side;
    side.reserve(table.size() - 1);
    for (std::size_t row = 1; row < table.size(); ++row)
        side.push_back({SevenDigitValue(table[row][0]), SevenDigitValue(table[row][1])});
    return side;
}

}  // namespace

double ReverseAzimuth(double azimuth) {
    const double reverse = azimuth + 180;
    return reverse < 360 ? reverse : reverse - 360;
}

double SevenDigitValue(float value) {
    return DecimalText::FromDouble(static_cast<double>(value)).RoundToSignificant(7, Rounding::HalfToEven).ToDouble();
}

SectionSides BuildSectionSides(const SectionRecord& record, double stakeAvoidDistance, double& carriedAzimuth) {
    const PlanePoint stake{record.stakeEast.Strict(), record.stakeNorth.Strict()};
    SectionSides sides;
    sides.first = buildSide(record, stake, record.lineAzimuth, stakeAvoidDistance, carriedAzimuth);
    sides.second = buildSide(record, stake, ReverseAzimuth(record.lineAzimuth), stakeAvoidDistance, carriedAzimuth);
    return sides;
}

}  // namespace qorvel
