#include "route/route.h"

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qorvel {
namespace {

// The route's texts look into its file, which has to outlive it: kept to the end of the tests.
Route route(std::string stakes) {
    static std::vector<std::unique_ptr<DataFile>> files;
    files.push_back(std::make_unique<DataFile>(DataFile::FromBytes("stakes.dat", std::move(stakes))));
    return Route::FromCentreStakes(*files.back());
}

// A section line through `stake`, `reach` to either side, its first end towards `azimuth`
// (degrees clockwise from north).
struct Line {
    PlanePoint first, second;
};
Line across(PlanePoint stake, double azimuth, double reach = 10) {
    const double radians = azimuth * std::numbers::pi / 180;
    const double east = reach * std::sin(radians);
    const double north = reach * std::cos(radians);
    return {{stake.east + east, stake.north + north}, {stake.east - east, stake.north - north}};
}

SideDecision decide(const Route& r, std::string_view chainage, Line line) {
    return DecideSides(r, chainage, line.first, line.second);
}

TEST(Route, StationsAreTheNumericStakesOnePerValueInChainageOrder) {
    // "1200" and "1200.0" are one value, the first row stands for it; a label that was not read,
    // a stake without coordinates and a row short of fields are no station.
    const Route r = route("1220,,20,0,5\r\n1200,,0,0,5\r\nK1+240,,40,0,5\r\n1200.0,,0,99,5\r\n 1240 ,,40,1\r\n"
                          "1260,,abc,0,5\r\n1280,,80\r\n1200,,0,-99,5\r\n");
    ASSERT_EQ(r.stations().size(), 3u);
    EXPECT_EQ(r.stations()[0].text, "1200");
    EXPECT_EQ(r.stations()[0].line, 2u);
    EXPECT_EQ(r.stations()[0].position.north, 0.0);
    EXPECT_EQ(r.stations()[1].chainage, 1220.0);
    EXPECT_EQ(r.stations()[2].text, " 1240 ");
    EXPECT_EQ(r.stations()[2].position.north, 1.0);
    // Chord from the station before to the one after; at the ends from or to the neighbour.
    const auto direction = [&](double chainage) {
        const auto t = r.DirectionAt(chainage);
        return t ? std::to_string(t->east) + " " + std::to_string(t->north) : std::string("none");
    };
    EXPECT_EQ(direction(1200), "20.000000 0.000000");
    EXPECT_EQ(direction(1220), "40.000000 1.000000");
    EXPECT_EQ(direction(1240), "20.000000 1.000000");
    EXPECT_EQ(direction(1210), "20.000000 0.000000");  // between two stations
    EXPECT_EQ(direction(1199), "none");                 // beyond the ends
    EXPECT_EQ(direction(1241), "none");
    EXPECT_FALSE(r.DirectionAt("K1+220"));
    EXPECT_TRUE(r.DirectionAt("1220.000"));
    // One station gives no direction at all.
    EXPECT_FALSE(route("1200,,0,0,5\r\n1200.0,,5,5,5\r\n").DirectionAt(1200.0));
    EXPECT_FALSE(route("").DirectionAt(0.0));
}

TEST(Route, LeftIsTheSideOfTheFirstEndWhenTheLineRunsLeftToRight) {
    // A straight route due east: north of it is left.
    const Route east = route("1000,,0,0,5\r\n1020,,20,0,5\r\n1040,,40,0,5\r\n");
    for (const char* chainage : {"1000", "1020", "1040"}) {
        EXPECT_EQ(decide(east, chainage, across({20, 0}, 0)), SideDecision::Kept) << chainage;
        EXPECT_EQ(decide(east, chainage, across({20, 0}, 180)), SideDecision::Swapped) << chainage;
        EXPECT_EQ(decide(east, chainage, across({20, 0}, 30)), SideDecision::Kept) << chainage;    // skewed
        EXPECT_EQ(decide(east, chainage, {{30, 0}, {10, 0}}), SideDecision::Undecided) << chainage;  // along
    }
    EXPECT_EQ(decide(east, "1020", {{20, 5}, {20, 5}}), SideDecision::Undecided);  // no length
    // The same route listed against its chainages (chainage growing westwards).
    const Route west = route("1040,,0,0,5\r\n1020,,20,0,5\r\n1000,,40,0,5\r\n");
    EXPECT_EQ(decide(west, "1020", across({20, 0}, 0)), SideDecision::Swapped);
    // No direction: a single station, or a chainage that is no number.
    EXPECT_EQ(decide(route("1000,,0,0,5\r\n"), "1000", across({0, 0}, 0)), SideDecision::Undecided);
    EXPECT_EQ(decide(east, "K1+020", across({20, 0}, 0)), SideDecision::Undecided);
}

TEST(Route, CurvesTurningEitherWay) {
    // Two arcs of radius 100 about the origin, stations every 10 degrees: anticlockwise (turning
    // left) and clockwise (turning right). At every station the centre of the arc is on the
    // inside, left on the first and right on the second; a line drawn from the centre outwards
    // runs left to right on the first and right to left on the second.
    for (const bool turningLeft : {true, false}) {
        std::string stakes;
        for (int k = 0; k <= 8; ++k) {
            const double angle = (turningLeft ? 10.0 * k : 80.0 - 10.0 * k) * std::numbers::pi / 180;
            stakes += std::to_string(1000 + 20 * k) + ",," + std::to_string(100 * std::cos(angle)) + "," +
                      std::to_string(100 * std::sin(angle)) + ",5\r\n";
        }
        const Route r = route(stakes);
        for (const RouteStation& station : r.stations()) {
            const PlanePoint outwards{station.position.east * 1.1, station.position.north * 1.1};
            const PlanePoint inwards{station.position.east * 0.9, station.position.north * 0.9};
            const std::string chainage(station.text);
            EXPECT_EQ(DecideSides(r, chainage, inwards, outwards), turningLeft ? SideDecision::Kept : SideDecision::Swapped)
                << chainage;
            EXPECT_EQ(DecideSides(r, chainage, outwards, inwards), turningLeft ? SideDecision::Swapped : SideDecision::Kept)
                << chainage;
        }
    }
}

TEST(Route, TheProductIsTakenInItsOrderInDoublePrecision) {
    // 0.1·0.3 − 0.3·0.1 is exactly zero when both products are rounded alike; a fused
    // multiply-add would make it 1.7e-18 and decide.
    EXPECT_EQ(DecideSides({0.1, 0.3}, {0, 0}, {0.1, 0.3}), SideDecision::Undecided);
    EXPECT_EQ(DecideSides({1, 0}, {0, 0}, {0, -1e-300}), SideDecision::Kept);
}

}  // namespace
}  // namespace qorvel
