#include "assemble/point_codes.h"

#include <cmath>

#include <gtest/gtest.h>

#include "core/step_error.h"

namespace qorvel {
namespace {

PointCodesResult addCodes(const std::string& matched, const std::string& points, double tolerance = 0.01) {
    NullProgress progress;
    return AddPointCodes(DataFile::FromBytes("matched.dat", matched), DataFile::FromBytes("points.dat", points),
                         tolerance, progress);
}

TEST(PointCodes, DistanceToASegment) {
    // Within the ends: the perpendicular distance.
    EXPECT_DOUBLE_EQ(DistanceToSegment({5, 3}, {0, 0}, {10, 0}), 3);
    EXPECT_DOUBLE_EQ(DistanceToSegment({0, 10}, {0, 0}, {10, 10}), std::sqrt(50.0));
    // Beyond an end: the distance to that end, whichever way the segment runs.
    EXPECT_DOUBLE_EQ(DistanceToSegment({13, 4}, {0, 0}, {10, 0}), 5);
    EXPECT_DOUBLE_EQ(DistanceToSegment({13, 4}, {10, 0}, {0, 0}), 5);
    EXPECT_DOUBLE_EQ(DistanceToSegment({-3, -4}, {0, 0}, {10, 0}), 5);
    EXPECT_DOUBLE_EQ(DistanceToSegment({3, 11}, {0, 0}, {0, 10}), std::sqrt(10.0));
    EXPECT_DOUBLE_EQ(DistanceToSegment({12, 12}, {0, 0}, {10, 10}), std::sqrt(8.0));  // on the line, past its end
    // A section line whose ends coincide is a point.
    EXPECT_DOUBLE_EQ(DistanceToSegment({5, 6}, {2, 2}, {2, 2}), 5);
    EXPECT_DOUBLE_EQ(DistanceToSegment({2, 6}, {2, 2}, {2, 2}), 4);
}

TEST(PointCodes, OnlyTheCodeIsReplaced) {
    const auto result = addCodes("1200,0,0,10,0\r\n",
                                 "2,old,5,-0.009,10.6,x\r\n"  // code replaced, later fields kept
                                 "3,,5,0.01,10.7\r\n"         // exactly the tolerance: no
                                 "6 , a ,-0.006,0 ,11\r\n");  // blanks stay as they were
    EXPECT_EQ(result.output.bytes(), "2,1200,5,-0.009,10.6,x\r\n3,,5,0.01,10.7\r\n6 ,1200,-0.006,0 ,11\r\n");
    EXPECT_EQ(result.points, 3u);
    EXPECT_EQ(result.coded, 2u);
}

TEST(PointCodes, TheNearestLineWinsAndTheFirstOnATie) {
    // Two section lines crossing at the origin; C is as near to both.
    const std::string points = "A,,0.003,0.004,1\r\nC,,0.004,0.004,1\r\n";
    EXPECT_EQ(addCodes("100,-10,0,10,0\r\n200,0,-10,0,10\r\n", points).output.bytes(),
              "A,200,0.003,0.004,1\r\nC,100,0.004,0.004,1\r\n");
    EXPECT_EQ(addCodes("200,0,-10,0,10\r\n100,-10,0,10,0\r\n", points).output.bytes(),
              "A,200,0.003,0.004,1\r\nC,200,0.004,0.004,1\r\n");
}

TEST(PointCodes, WhatIsReadAndWhen) {
    // Without section lines nothing is read: every line is written as it is, even a bare name.
    EXPECT_EQ(addCodes("", "P\r\n\r\nQ,,abc\n").output.bytes(), "P\r\nQ,,abc\r\n");
    // Without points the section lines are not read.
    EXPECT_EQ(addCodes("1200,0,0\r\n", "").points, 0u);
    // Coordinates are read leniently: a heading line reads as the origin and passes through.
    EXPECT_EQ(addCodes("1200,100,0,110,0\r\n", "点名,编码,X,Y,H\r\n").output.bytes(), "点名,编码,X,Y,H\r\n");
    // A point needs no elevation.
    EXPECT_EQ(addCodes("1200,0,0,10,0\r\n", "P,,5,0\r\n").output.bytes(), "P,1200,5,0\r\n");
    try {
        addCodes("1200,0,0,10,0\r\n", "P,,5,0\r\n\r\nQ,,5\r\n");
        FAIL() << "no error";
    } catch (const StepError& error) {
        EXPECT_EQ(error.describe(), "文件“points.dat”第 3 行，字段 3：缺少该字段（这一行只有 3 个字段）");
    }
    EXPECT_THROW(addCodes("1200,0,0,10,0\r\n", "P\r\n"), StepError);
    EXPECT_THROW(addCodes("1200,0,0,10,0\r\n", "P,,1e999,0\r\n"), StepError);
    EXPECT_THROW(addCodes("1200,0,0,10\r\n", "P,,5,0\r\n"), StepError);
}

}  // namespace
}  // namespace qorvel
