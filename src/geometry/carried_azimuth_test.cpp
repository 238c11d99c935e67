#include "geometry/carried_azimuth.h"

#include <vector>

#include <gtest/gtest.h>

namespace qorvel {
namespace {

TEST(AzimuthSet, OnlyCoincidentPointsKeepTheCarriedAzimuth) {
    EXPECT_EQ(AzimuthSet({3, 4}, {3, 4}), std::nullopt);
    EXPECT_EQ(AzimuthSet({3, 4}, {3, 9}), 0.0);  // due north sets 0: not the same as keeping
    EXPECT_EQ(AzimuthSet({3, 4}, {2, 4}), 270.0);
    EXPECT_EQ(AzimuthSet({0, 0}, {0, -1e-300}), 180.0);
}

TEST(CarriedAzimuthAfter, TheLastPairWhosePointsDiffer) {
    // Two outer records of three inner ones; pair (outer, inner) runs from point `outer` to the
    // inner point.
    const std::vector<PlanePoint> outer{{0, 0}, {10, 10}};
    const std::vector<PlanePoint> inner{{0, 5}, {10, 10}, {10, 10}};
    const auto pair = [&](std::size_t i, std::size_t j) { return std::pair{outer[i], inner[j]}; };
    // All six pairs: the last two coincide, so the azimuth is that of (10,10) to (0,5).
    EXPECT_NEAR(CarriedAzimuthAfter(6, 3, pair, 99.0), 243.43494882292202, 1e-9);
    // Stopped before the second outer record: (0,0) to (10,10).
    EXPECT_NEAR(CarriedAzimuthAfter(3, 3, pair, 99.0), 45, 1e-9);
    EXPECT_EQ(CarriedAzimuthAfter(1, 3, pair, 99.0), 0.0);
    EXPECT_EQ(CarriedAzimuthAfter(0, 3, pair, 99.0), 99.0);  // nothing tested
    // Every pair coincident: the azimuth before the loop stays.
    const auto same = [](std::size_t, std::size_t) { return std::pair{PlanePoint{1, 1}, PlanePoint{1, 1}}; };
    EXPECT_EQ(CarriedAzimuthAfter(12, 4, same, 99.0), 99.0);
}

}  // namespace
}  // namespace qorvel
