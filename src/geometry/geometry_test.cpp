#include "geometry/geometry.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace qorvel {
namespace {

TEST(AzimuthDistance, QuadrantsUseTheShortenedPi) {
    double carried = 0;
    const auto ne = AzimuthDistance({0, 0}, {10, 10}, carried);
    EXPECT_NEAR(ne.azimuth, 45, 1e-12);
    EXPECT_NE(ne.azimuth, 45.0);  // a few units in the 14th digit off: pi is taken to 14 decimals
    EXPECT_NEAR(ne.distance, 14.142135623730951, 1e-12);
    EXPECT_NEAR(AzimuthDistance({0, 0}, {10, -10}, carried).azimuth, 135, 1e-12);
    EXPECT_NEAR(AzimuthDistance({0, 0}, {-10, -10}, carried).azimuth, 225, 1e-12);
    EXPECT_NEAR(AzimuthDistance({0, 0}, {-10, 10}, carried).azimuth, 315, 1e-12);
    EXPECT_EQ(AzimuthDistance({0, 0}, {0, 10}, carried).azimuth, 0.0);
    EXPECT_EQ(AzimuthDistance({0, 0}, {5, 0}, carried).azimuth, 90.0);
    EXPECT_EQ(AzimuthDistance({0, 0}, {0, -5}, carried).azimuth, 180.0);
    EXPECT_EQ(AzimuthDistance({0, 0}, {-5, 0}, carried).azimuth, 270.0);
}

TEST(AzimuthDistance, CoincidentPointsKeepTheCarriedAzimuth) {
    double carried = 0;
    const auto first = AzimuthDistance({1, 1}, {1, 1}, carried);
    EXPECT_EQ(first.azimuth, 0.0);
    EXPECT_EQ(first.distance, 0.0);
    AzimuthDistance({0, 0}, {-5, 0}, carried);
    EXPECT_EQ(carried, 270.0);
    EXPECT_EQ(AzimuthDistance({3, 4}, {3, 4}, carried).azimuth, 270.0);
    EXPECT_EQ(carried, 270.0);
}

TEST(FootOfPerpendicular, ThreeCases) {
    const auto foot = [](PlanePoint p, PlanePoint a, PlanePoint b) {
        const PlanePoint f = FootOfPerpendicular(p, a, b);
        return std::pair{f.east, f.north};
    };
    EXPECT_EQ(foot({5, 5}, {0, 0}, {10, 0}), (std::pair{5.0, 0.0}));
    EXPECT_EQ(foot({5, 5}, {0, 0}, {0, 10}), (std::pair{0.0, 5.0}));
    const PlanePoint diagonal = FootOfPerpendicular({0, 10}, {0, 0}, {10, 10});
    EXPECT_NEAR(diagonal.east, 5, 1e-12);
    EXPECT_NEAR(diagonal.north, 5, 1e-12);
    EXPECT_EQ(foot({7, 3}, {2, 2}, {2, 2}), (std::pair{7.0, 2.0}));  // coincident ends: east-west
    double carried = 0;
    // Beyond the end of the segment the distance is still to the infinite line.
    EXPECT_NEAR(DistanceToLine({200, 1}, {0, 0}, {10, 0}, carried), 1.0, 1e-12);
    EXPECT_NEAR(DistanceToLine({0, 10}, {0, 0}, {10, 10}, carried), 7.0710678118654755, 1e-12);
}

TEST(FootOfPerpendicular, NearlyAlongAnAxisThePointOnTheLineStaysOnIt) {
    // Ends 60 m apart that differ by 1e-8 m in northing, at survey coordinates: through the
    // line's slope the middle point was measured 0.357 m away from its own line.
    const PlanePoint a{438500, 3391800};
    const PlanePoint b{438560, 3391800.00000001};
    const PlanePoint middle{438530, 3391800.000000005};
    EXPECT_LT(DistanceToLine(middle, a, b), 1e-6);
    EXPECT_LT(DistanceToLine(b, a, b), 1e-6);
    // The same nearly north-south; and the foot of a point off the line lies beside it.
    EXPECT_LT(DistanceToLine({438500.000000005, 3391830}, {438500, 3391800}, {438500.00000001, 3391860}), 1e-6);
    const PlanePoint foot = FootOfPerpendicular({438530, 3391805}, a, b);
    EXPECT_NEAR(foot.east, 438530, 1e-6);
    EXPECT_NEAR(foot.north, 3391800, 1e-6);
}

std::vector<SortRow> table(std::vector<SortRow> rows) {
    rows.insert(rows.begin(), SortRow{0, 0});  // row 0 stays unused
    return rows;
}

TEST(QuickSortPairs, EqualKeysComeOutInTheOrderOfTheExchanges) {
    auto three = table({{1, 10}, {1, 20}, {1, 30}});
    QuickSortPairs(three, 1, 3);
    EXPECT_EQ(three, table({{1, 30}, {1, 20}, {1, 10}}));
    auto four = table({{1, 10}, {1, 20}, {1, 30}, {1, 40}});
    QuickSortPairs(four, 1, 4);
    EXPECT_EQ(four, table({{1, 30}, {1, 40}, {1, 10}, {1, 20}}));
    auto mixed = table({{2, 1}, {1, 2}, {2, 3}, {1, 4}, {0.5f, 5}});
    QuickSortPairs(mixed, 1, 5);
    EXPECT_EQ(mixed, table({{0.5f, 5}, {1, 4}, {1, 2}, {2, 1}, {2, 3}}));  // traced by hand
}

TEST(QuickSortPairs, EmptyAndSingleStretchesAndRowsOutsideAreUntouched) {
    auto empty = table({});
    QuickSortPairs(empty, 1, 0);
    EXPECT_EQ(empty, table({}));
    auto one = table({{3, 1}, {1, 2}});
    QuickSortPairs(one, 1, 1);
    EXPECT_EQ(one, table({{3, 1}, {1, 2}}));
}

TEST(QuickSortPairs, SortsLargeAndAdversarialInputsWithoutDeepRecursion) {
    std::mt19937 random(7);
    std::vector<SortRow> rows(200001);
    for (std::size_t k = 1; k < rows.size(); ++k)
        rows[k] = {static_cast<float>(random() % 1000), static_cast<float>(k)};
    auto sorted = rows;
    QuickSortPairs(sorted, 1, static_cast<std::ptrdiff_t>(rows.size() - 1));
    EXPECT_TRUE(std::is_sorted(sorted.begin() + 1, sorted.end(),
                               [](const SortRow& a, const SortRow& b) { return a[0] < b[0]; }));
    auto byValue = [](const SortRow& a, const SortRow& b) { return a[1] < b[1]; };
    std::sort(sorted.begin() + 1, sorted.end(), byValue);
    EXPECT_EQ(sorted, rows);  // the same rows, each key still with its value
    // Already ascending, descending and all-equal stretches.
    for (int pattern = 0; pattern < 3; ++pattern) {
        std::vector<SortRow> ordered(100001);
        for (std::size_t k = 1; k < ordered.size(); ++k)
            ordered[k] = {pattern == 0 ? float(k) : pattern == 1 ? float(ordered.size() - k) : 1.f, float(k)};
        QuickSortPairs(ordered, 1, static_cast<std::ptrdiff_t>(ordered.size() - 1));
        EXPECT_TRUE(std::is_sorted(ordered.begin() + 1, ordered.end(),
                                   [](const SortRow& a, const SortRow& b) { return a[0] < b[0]; }));
    }
}

}  // namespace
}  // namespace qorvel
