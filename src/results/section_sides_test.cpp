#include "results/section_sides.h"

#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qorvel {
namespace {

// A section around a stake at (0, 0) whose points are given as texts, as the files hold them.
class Section {
public:
    explicit Section(double lineAzimuth) {
        record_.chainage = {"1200", "members.dat", 1, 0};
        record_.stakeEast = {"0", "stakes.dat", 1, 2};
        record_.stakeNorth = {"0", "stakes.dat", 1, 3};
        record_.stakeElevation = {"50", "stakes.dat", 1, 4};
        record_.lineAzimuth = lineAzimuth;
        record_.pointFile = "points.dat";
    }
    Section& Point(std::string east, std::string north, std::string elevation) {
        texts_.push_back({std::move(east), std::move(north), std::move(elevation)});
        return *this;
    }
    // A point `distance` from the stake in the direction `bearing` (degrees) seen from the stake.
    Section& PointAt(double bearing, double distance, std::string elevation) {
        const double radians = bearing * std::numbers::pi / 180;
        return Point(std::to_string(distance * std::sin(radians)), std::to_string(distance * std::cos(radians)),
                     std::move(elevation));
    }
    SectionRecord& record() {
        points_.clear();
        names_.resize(texts_.size());
        for (std::size_t k = 0; k < texts_.size(); ++k) {
            names_[k] = "P" + std::to_string(k + 1);
            points_.push_back({k + 1, texts_[k][0], texts_[k][1], texts_[k][2], names_[k], {}});
        }
        record_.points = points_;
        return record_;
    }
    SectionSides Sides(double avoid = 0.08) {
        double carried = 0;
        return BuildSectionSides(record(), avoid, carried);
    }

private:
    SectionRecord record_;
    std::vector<std::array<std::string, 3>> texts_;
    std::vector<std::string> names_;  // P1, P2, ... in file order
    std::vector<MemberPoint> points_;
};

std::vector<double> elevations(const SideList& side) {
    std::vector<double> values;
    for (const SidePoint& point : side) values.push_back(point.elevation);
    return values;
}

std::vector<double> distances(const SideList& side) {
    std::vector<double> values;
    for (const SidePoint& point : side) values.push_back(point.distance);
    return values;
}

TEST(SectionSides, TheStakeIsAvoidedUpToTheDistanceSet) {
    // A line running east: points west of the stake look at it due east (90).
    Section section(90);
    section.Point("0", "0", "1").Point("-0.08", "0", "2").Point("-0.0801", "0", "3").Point("-0.07", "0", "4");
    const SectionSides sides = section.Sides(0.08);
    EXPECT_EQ(elevations(sides.first), std::vector<double>{3});
    EXPECT_EQ(distances(sides.first), std::vector<double>{0.0801});
    EXPECT_TRUE(sides.second.empty());
    // At 0 only the point on the stake stays out.
    EXPECT_EQ(elevations(section.Sides(0).first), (std::vector<double>{4, 2, 3}));
}

TEST(SectionSides, WedgesOfTwentyDegreesAroundTheLineAndItsReverse) {
    // The point west of the stake sees it at exactly 90, the one east at 270.
    const auto sidesFor = [](double lineAzimuth) {
        Section section(lineAzimuth);
        section.Point("-5", "0", "1").Point("5", "0", "2");
        return section.Sides();
    };
    for (double lineAzimuth : {110.0, 70.0}) {  // exactly 20 off: neither side
        const SectionSides sides = sidesFor(lineAzimuth);
        EXPECT_TRUE(sides.first.empty() && sides.second.empty()) << lineAzimuth;
    }
    for (double lineAzimuth : {109.99, 70.01}) {
        const SectionSides sides = sidesFor(lineAzimuth);
        EXPECT_EQ(elevations(sides.first), std::vector<double>{1}) << lineAzimuth;
        EXPECT_EQ(elevations(sides.second), std::vector<double>{2}) << lineAzimuth;
    }
    // Straight across the line (north and south of the stake) is on neither side.
    Section across(90);
    across.Point("0", "5", "1").Point("0", "-5", "2");
    const SectionSides acrossSides = across.Sides();
    EXPECT_TRUE(acrossSides.first.empty() && acrossSides.second.empty());
}

TEST(SectionSides, WedgesAroundNorthHoldDirectionsOnBothSidesOfIt) {
    // Line azimuth 10; a point seeing the stake at 355 is 15 degrees off the line's direction:
    // on the first side, although the plain difference of the two azimuths is 345.
    Section section(10);
    section.PointAt(175, 5, "1");
    const SectionSides sides = section.Sides();
    EXPECT_EQ(elevations(sides.first), std::vector<double>{1});
    EXPECT_TRUE(sides.second.empty());

    // Line azimuth 179.5: the reverse is 359.5. Points seeing the stake at 350 and at 5 are both
    // within 20 degrees of it; one seeing it at 20.5 is 21 degrees off and stays out.
    Section nearNorth(179.5);
    nearNorth.PointAt(170, 4, "1").PointAt(185, 6, "2").PointAt(200.5, 8, "3");
    const SectionSides nearNorthSides = nearNorth.Sides();
    EXPECT_TRUE(nearNorthSides.first.empty());
    EXPECT_EQ(elevations(nearNorthSides.second), (std::vector<double>{1, 2}));

    // A section line drawn due north: surveyed points a few millimetres east or west of it all
    // belong to their side.
    Section dueNorth(0);
    dueNorth.Point("0.003", "-5", "1").Point("-0.003", "-7", "2").Point("0.004", "6", "3").Point("-0.002", "9", "4");
    const SectionSides dueNorthSides = dueNorth.Sides();
    EXPECT_EQ(elevations(dueNorthSides.first), (std::vector<double>{1, 2}));
    EXPECT_EQ(elevations(dueNorthSides.second), (std::vector<double>{3, 4}));
}

TEST(SectionSides, ReverseOfExactlyOneHundredAndEightyIsNorth) {
    EXPECT_EQ(ReverseAzimuth(180), 0.0);
    EXPECT_EQ(ReverseAzimuth(179.5), 359.5);
    EXPECT_EQ(ReverseAzimuth(0), 180.0);
    EXPECT_EQ(ReverseAzimuth(359.75), 179.75);
    // A line running south: the point south of the stake looks at it due north, 0, not 360.
    Section section(180);
    section.Point("0", "5", "1").Point("0", "-5", "2");
    const SectionSides sides = section.Sides();
    EXPECT_EQ(elevations(sides.first), std::vector<double>{1});
    EXPECT_EQ(elevations(sides.second), std::vector<double>{2});
}

TEST(SectionSides, EachSideIsSortedByDistanceWithTheExchangeSort) {
    Section section(90);
    section.Point("-7.8", "0", "51.75").Point("4.1", "0", "52.45").Point("-12.4", "0", "50.9");
    section.Point("-3.25", "0", "52.1").Point("9.6", "0", "53.2");
    const SectionSides sides = section.Sides();
    EXPECT_EQ(distances(sides.first), (std::vector<double>{3.25, 7.8, 12.4}));
    EXPECT_EQ(elevations(sides.first), (std::vector<double>{52.1, 51.75, 50.9}));
    EXPECT_EQ(distances(sides.second), (std::vector<double>{4.1, 9.6}));
    EXPECT_EQ(elevations(sides.second), (std::vector<double>{52.45, 53.2}));

    // Three points at one distance: the pivot is the middle row, rows 1 and 3 are exchanged,
    // row 2 with itself; they come out in reverse file order. Two: exchanged as well.
    Section equal(90);
    equal.Point("-5", "0", "1").Point("-5", "0", "2").Point("-5", "0", "3");
    equal.Point("5", "0", "4").Point("5", "0", "5");
    const SectionSides equalSides = equal.Sides();
    EXPECT_EQ(elevations(equalSides.first), (std::vector<double>{3, 2, 1}));
    EXPECT_EQ(elevations(equalSides.second), (std::vector<double>{5, 4}));
    // Each point keeps its name through the exchanges, also among equal pairs.
    Section same(90);
    same.Point("-5", "0", "1").Point("-5", "0", "1").Point("-2", "0", "1").Point("-5", "0", "1");
    std::vector<std::string_view> names;
    for (const SidePoint& point : same.Sides().first) names.push_back(point.name);
    EXPECT_EQ(names, (std::vector<std::string_view>{"P3", "P4", "P1", "P2"}));
}

TEST(SectionSides, ValuesAreHandedOnAtSevenSignificantDigitsOfTheirSingle) {
    EXPECT_EQ(SevenDigitValue(1234.5625f), 1234.562);  // a half goes to the even digit
    EXPECT_EQ(SevenDigitValue(52.1f), 52.1);
    EXPECT_EQ(SevenDigitValue(12.3456789f), 12.34568);
    EXPECT_EQ(SevenDigitValue(-0.35f), -0.35);
    Section section(90);
    section.Point("-12.3456789", "0", "  52.1abc");  // elevations are read leniently
    const SectionSides sides = section.Sides();
    ASSERT_EQ(sides.first.size(), 1u);
    EXPECT_EQ(sides.first[0].distance, 12.34568);
    EXPECT_EQ(sides.first[0].elevation, 52.1);
}

std::string sidesFailure(Section& section) {
    try {
        section.Sides();
    } catch (const StepError& error) {
        return error.describe();
    }
    return "no failure";
}

TEST(SectionSides, WhatFailsTheStep) {
    Section stake(90);
    stake.record().stakeNorth.text = "3OO.5";
    EXPECT_EQ(sidesFailure(stake), "文件“stakes.dat”第 1 行，字段 3：不是数字：“3OO.5”");

    Section beyondDouble(90);
    beyondDouble.Point("-5", "0", "1").Point("1e400", "0", "2");
    EXPECT_EQ(sidesFailure(beyondDouble), "文件“points.dat”第 2 行，字段 2：数值超出范围：“1e400”");

    // Elevations are read only for points taken; beyond single precision they fail the step.
    Section elevation(90);
    elevation.Point("0", "5", "1e39").Point("-5", "0", "-3.5e38");
    EXPECT_EQ(sidesFailure(elevation), "文件“points.dat”第 2 行，字段 4：高程超出单精度数值范围：“-3.5e38”");
    Section single(90);
    single.Point("-3.4e38", "0", "1").Point("-1e39", "0", "1");
    EXPECT_EQ(sidesFailure(single), "文件“points.dat”第 2 行：与中桩的距离超出单精度数值范围");
    // A distance beyond a double: the coordinate that carried it there is named.
    Section overflow(90);
    overflow.Point("-5", "0", "1").Point("1e200", "-1e200", "1");
    EXPECT_EQ(sidesFailure(overflow), "文件“points.dat”第 2 行，字段 2：坐标数值过大：“1e200”，用它计算的结果超出了数值范围");
    Section farStake(90);
    farStake.record().stakeNorth.text = "-3e200";
    farStake.Point("-5", "0", "1");
    EXPECT_EQ(sidesFailure(farStake), "文件“stakes.dat”第 1 行，字段 3：坐标数值过大：“-3e200”，用它计算的结果超出了数值范围");
}

}  // namespace
}  // namespace qorvel
