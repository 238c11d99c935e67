#include "geometry/line_neighbours.h"

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace qorvel {
namespace {

// The true distance from P to the line through A and B, to far more precision than a double
// computation has.
long double trueDistance(PlanePoint p, PlanePoint a, PlanePoint b) {
    if (a.east == b.east && a.north == b.north) return std::fabs(static_cast<long double>(p.north) - a.north);
    const long double dEast = static_cast<long double>(b.east) - a.east;
    const long double dNorth = static_cast<long double>(b.north) - a.north;
    const long double cross = dEast * (static_cast<long double>(p.north) - a.north) -
                              dNorth * (static_cast<long double>(p.east) - a.east);
    return std::fabs(cross) / std::sqrt(dEast * dEast + dNorth * dNorth);
}

struct Case {
    PlanePoint p, a, b;
};

// Lines of every slope (nearly along an axis too) at coordinates from a local grid to a
// zone-prefixed easting, points near them and far out on their extension.
Case randomCase(std::mt19937_64& random) {
    std::uniform_real_distribution<double> unit(0, 1);
    const double scale = std::pow(10.0, unit(random) * 8);
    const PlanePoint a{(unit(random) - 0.5) * scale, (unit(random) - 0.5) * scale};
    const double length = std::pow(10.0, unit(random) * 6 - 3);
    const double angle = unit(random) * 6.283185307179586;
    PlanePoint along{std::cos(angle), std::sin(angle)};
    const double tilt = std::pow(10.0, -unit(random) * 16);
    if (random() % 3 == 0) along = {1, tilt};
    else if (random() % 3 == 0) along = {tilt, -1};
    const PlanePoint b{a.east + along.east * length, a.north + along.north * length};
    const double t = (unit(random) - 0.5) * scale * 4;
    const double off = (unit(random) - 0.5) * std::pow(10.0, unit(random) * 5 - 4);
    const double norm = std::hypot(along.east, along.north);
    return {{a.east + (along.east * t - along.north * off) / norm, a.north + (along.north * t + along.east * off) / norm},
            a, b};
}

TEST(LineSearchHalfWidth, CoversWhatRoundingDoesToTheComputedDistance) {
    // Wherever the computed distance comes out under a tolerance, the true distance lies within
    // the strip searched for that tolerance.
    std::mt19937_64 random(5);
    for (int k = 0; k < 200000; ++k) {
        const Case c = randomCase(random);
        if (c.a.east == c.b.east && c.a.north == c.b.north) continue;
        const double computed = DistanceToLine(c.p, c.a, c.b);
        if (!(computed > 0) || !std::isfinite(computed)) continue;
        const double tolerance = std::nextafter(computed, HUGE_VAL);
        const double magnitude = std::max(std::fabs(c.p.east), std::fabs(c.p.north));
        const double halfWidth = LineSearchHalfWidth(c.a, c.b, tolerance, magnitude);
        ASSERT_LE(trueDistance(c.p, c.a, c.b), halfWidth)
            << "p " << c.p.east << " " << c.p.north << " a " << c.a.east << " " << c.a.north << " b " << c.b.east
            << " " << c.b.north;
    }
}

TEST(LineSearchHalfWidth, NothingOrEverythingAtTheExtremes) {
    EXPECT_LE(LineSearchHalfWidth({0, 0}, {1, 1}, 0, 10), 0);
    EXPECT_LE(LineSearchHalfWidth({0, 0}, {1, 1}, -1, 10), 0);
    EXPECT_LE(LineSearchHalfWidth({0, 0}, {1, 1}, std::numeric_limits<double>::quiet_NaN(), 10), 0);
    const double everywhere = std::numeric_limits<double>::infinity();
    EXPECT_EQ(LineSearchHalfWidth({0, 0}, {1e-200, 1e-200}, 0.05, 10), everywhere);  // a line too short for it
    EXPECT_EQ(LineSearchHalfWidth({0, 0}, {1, 1}, 0.05, 1e200), everywhere);     // coordinates beyond it
    // Along a grid axis the distance is one rounded difference: a hair over the tolerance.
    EXPECT_NEAR(LineSearchHalfWidth({5, 0}, {5, 10}, 0.05, 4e7), 0.05, 1e-9);
    EXPECT_NEAR(LineSearchHalfWidth({5, 7}, {5, 7}, 0.05, 4e7), 0.05, 1e-9);
    // A nearly east-west line far from the origin needs no wider strip than any other line
    // there: the projection's rounding does not grow with a shallow slope.
    const double nearlyEastWest = LineSearchHalfWidth({439000, 3391000}, {439060, 3391000.00000001}, 0.05, 3.4e6);
    EXPECT_EQ(nearlyEastWest, LineSearchHalfWidth({439000, 3391000}, {439060, 3391060}, 0.05, 3.4e6));
    EXPECT_GT(nearlyEastWest, 0.05);
    EXPECT_LT(nearlyEastWest, 0.05 + 1e-6);
}

TEST(LineNeighbours, TheSameMembersAsTestingEveryPoint) {
    std::mt19937_64 random(9);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int round = 0; round < 40; ++round) {
        std::vector<PlanePoint> points;
        std::vector<Case> lines;
        for (int k = 0; k < 20; ++k) lines.push_back(randomCase(random));
        // Points near the lines (and exactly on the east-west ones), in random order.
        for (int k = 0; k < 400; ++k) {
            Case c = randomCase(random);
            const Case& line = lines[random() % lines.size()];
            const double t = (unit(random) - 0.5) * 50;
            c.p = {line.a.east + (line.b.east - line.a.east) * t + (unit(random) - 0.5) * 0.2,
                   line.a.north + (line.b.north - line.a.north) * t + (unit(random) - 0.5) * 0.2};
            if (random() % 5 == 0) c.p.north = line.a.north;
            points.push_back(c.p);
        }
        const double tolerances[] = {0.05, 0.01, 0, -1, 1e9};
        const double tolerance = tolerances[round % 5];
        const LineNeighbours neighbours(points.size(), [&](std::size_t id) { return points[id]; }, tolerance);
        std::vector<PointIndex::Id> found;
        for (const Case& line : lines) {
            std::vector<PointIndex::Id> expected;
            for (std::size_t id = 0; id < points.size(); ++id)
                if (DistanceToLine(points[id], line.a, line.b) < tolerance) expected.push_back(static_cast<PointIndex::Id>(id));
            neighbours.Find(line.a, line.b, found);
            ASSERT_EQ(found, expected) << "round " << round;
        }
    }
}

}  // namespace
}  // namespace qorvel
