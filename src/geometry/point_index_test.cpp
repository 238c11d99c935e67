#include "geometry/point_index.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace qorvel {
namespace {

using Ids = std::vector<PointIndex::Id>;

PointIndex indexOf(const std::vector<PlanePoint>& points) {
    return PointIndex(points.size(), [&](std::size_t id) { return points[id]; });
}

Ids inBox(const PointIndex& index, const PlaneBox& box) {
    Ids ids;
    index.VisitBox(box, [&](PointIndex::Id id, PlanePoint) { ids.push_back(id); });
    std::sort(ids.begin(), ids.end());
    return ids;
}

// Points of a survey-like cloud: clusters along a curve, many repeats, some far away.
std::vector<PlanePoint> cloud(std::mt19937_64& random, std::size_t count) {
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<PlanePoint> points;
    for (std::size_t k = 0; k < count; ++k) {
        if (!points.empty() && unit(random) < 0.1) {
            points.push_back(points[random() % points.size()]);
            continue;
        }
        const double t = unit(random) * 2000;
        points.push_back({439000 + t + 30 * std::sin(t / 200) + unit(random), 3391000 + 0.5 * t + unit(random) * 40});
    }
    return points;
}

TEST(PointIndex, BoxesFindExactlyThePointsInside) {
    std::mt19937_64 random(7);
    const std::vector<PlanePoint> points = cloud(random, 3000);
    const PointIndex index = indexOf(points);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int query = 0; query < 300; ++query) {
        // Boxes of every size, some with an edge exactly on a point.
        const PlanePoint& corner = points[random() % points.size()];
        const double width = std::pow(10.0, unit(random) * 5 - 2);
        const PlaneBox box{corner.east, corner.north - width * unit(random), corner.east + width, corner.north};
        Ids expected;
        for (std::size_t id = 0; id < points.size(); ++id) {
            const PlanePoint& p = points[id];
            if (p.east >= box.minEast && p.east <= box.maxEast && p.north >= box.minNorth && p.north <= box.maxNorth)
                expected.push_back(static_cast<PointIndex::Id>(id));
        }
        ASSERT_EQ(inBox(index, box), expected) << "query " << query;
    }
}

TEST(PointIndex, StripsHoldEveryPointWithinTheirWidth) {
    std::mt19937_64 random(11);
    const std::vector<PlanePoint> points = cloud(random, 3000);
    const PointIndex index = indexOf(points);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int query = 0; query < 300; ++query) {
        const PlanePoint& origin = points[random() % points.size()];
        const double angle = unit(random) * 6.283185307179586;
        PlanePoint direction{std::cos(angle), std::sin(angle)};
        if (query % 5 == 0) direction = {0, 3};  // along a grid axis
        if (query % 5 == 1) direction = {-2, 0};
        const double halfWidth = std::pow(10.0, unit(random) * 4 - 3);
        std::vector<bool> visited(points.size());
        index.VisitStrip({origin, direction, halfWidth}, [&](PointIndex::Id id, PlanePoint) { visited[id] = true; });
        const long double length = std::hypot(static_cast<long double>(direction.east), direction.north);
        for (std::size_t id = 0; id < points.size(); ++id) {
            const long double offset = (static_cast<long double>(points[id].north) - origin.north) * direction.east -
                                       (static_cast<long double>(points[id].east) - origin.east) * direction.north;
            if (std::fabs(offset / length) <= halfWidth) {
                ASSERT_TRUE(visited[id]) << "query " << query << " point " << id;
            }
        }
    }
}

TEST(PointIndex, StripsWithinABoxHoldEveryPointOfBoth) {
    std::mt19937_64 random(13);
    const std::vector<PlanePoint> points = cloud(random, 3000);
    const PointIndex index = indexOf(points);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int query = 0; query < 300; ++query) {
        // A stretch of a line between two points of the cloud, the box of its ends widened.
        const PlanePoint& a = points[random() % points.size()];
        const PlanePoint& b = query % 7 == 0 ? a : points[random() % points.size()];
        const double halfWidth = std::pow(10.0, unit(random) * 4 - 3);
        const PlaneBox box{std::min(a.east, b.east) - halfWidth, std::min(a.north, b.north) - halfWidth,
                           std::max(a.east, b.east) + halfWidth, std::max(a.north, b.north) + halfWidth};
        const PlanePoint direction = a.east == b.east && a.north == b.north ? PlanePoint{1, 0}
                                                                            : PlanePoint{b.east - a.east, b.north - a.north};
        std::vector<bool> visited(points.size());
        index.VisitStripInBox({a, direction, halfWidth}, box, [&](PointIndex::Id id, PlanePoint p) {
            EXPECT_TRUE(p.east >= box.minEast && p.east <= box.maxEast && p.north >= box.minNorth &&
                        p.north <= box.maxNorth);
            visited[id] = true;
        });
        const long double length = std::hypot(static_cast<long double>(direction.east), direction.north);
        for (std::size_t id = 0; id < points.size(); ++id) {
            const PlanePoint& p = points[id];
            const long double offset = (static_cast<long double>(p.north) - a.north) * direction.east -
                                       (static_cast<long double>(p.east) - a.east) * direction.north;
            const bool inBox = p.east >= box.minEast && p.east <= box.maxEast && p.north >= box.minNorth &&
                               p.north <= box.maxNorth;
            if (inBox && std::fabs(offset / length) <= halfWidth) {
                ASSERT_TRUE(visited[id]) << "query " << query << " point " << id;
            }
        }
    }
}

TEST(PointIndex, DegenerateSets) {
    // Nothing indexed, one point, the same point many times, points that are no place at all.
    const PointIndex none = indexOf({});
    EXPECT_TRUE(inBox(none, {-1e300, -1e300, 1e300, 1e300}).empty());
    const PointIndex one = indexOf({{5, 5}});
    EXPECT_EQ(inBox(one, {5, 5, 5, 5}), (Ids{0}));
    EXPECT_TRUE(inBox(one, {5, std::nextafter(5.0, 6.0), 6, 6}).empty());

    const std::vector<PlanePoint> same(1000, PlanePoint{1, 2});
    const PointIndex repeated = indexOf(same);
    EXPECT_EQ(inBox(repeated, {1, 2, 1, 2}).size(), 1000u);
    std::size_t onLine = 0;
    repeated.VisitStrip({{0, 2}, {1, 0}, 0}, [&](PointIndex::Id, PlanePoint) { ++onLine; });
    EXPECT_EQ(onLine, 1000u);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const PointIndex odd = indexOf({{nan, 0}, {1, 1}, {inf, 1}, {2, -inf}});
    EXPECT_EQ(odd.size(), 1u);
    EXPECT_EQ(inBox(odd, {-inf, -inf, inf, inf}), (Ids{1}));
    EXPECT_EQ(odd.magnitude(), 1.0);
    // A strip that is not finite visits everything indexed.
    std::size_t visited = 0;
    odd.VisitStrip({{0, 0}, {1, 1}, inf}, [&](PointIndex::Id, PlanePoint) { ++visited; });
    EXPECT_EQ(visited, 1u);
}

}  // namespace
}  // namespace qorvel
