#include "assemble/point_projection.h"

#include <gtest/gtest.h>

#include "core/step_error.h"

namespace qorvel {
namespace {

PointProjectionResult project(const std::string& matched, const std::string& points, double tolerance,
                              double& carried) {
    NullProgress progress;
    return ProjectPointsOntoSectionLines(DataFile::FromBytes("matched.dat", matched),
                                         DataFile::FromBytes("points.dat", points), tolerance, carried, progress);
}

PointProjectionResult project(const std::string& matched, const std::string& points, double tolerance = 0.05) {
    double carried = 0;
    return project(matched, points, tolerance, carried);
}

TEST(PointProjection, MembersOfTheInfiniteLineAtTheirFeet) {
    const auto result = project("1200,0,0,10,0\r\n",
                                "A,k,5,0.03,10.50\r\n"     // 0.03 off the line
                                "B,,5,0.07,10.6\r\n"       // 0.07 off: not a member
                                "C,,-40,-0.01, 9.9 \r\n");  // on the extension; elevation copied as text
    EXPECT_EQ(result.output.bytes(), "A,1200,5.000,0.000,10.50\r\nC,1200,-40.000,0.000, 9.9 \r\n");
    EXPECT_EQ(result.lines, 1u);
    EXPECT_EQ(result.points, 2u);
    // The tolerance is strict and comes from the caller.
    EXPECT_EQ(project("1200,0,0,10,0\r\n", "P,,5,0.25,1\r\n", 0.25).points, 0u);
    EXPECT_EQ(project("1200,0,0,10,0\r\n", "P,,5,0.25,1\r\n", 0.5).points, 1u);
}

TEST(PointProjection, EveryPairUpdatesTheCarriedAzimuth) {
    double carried = 42;
    // From P to its foot: due south (180); Q is not a member but its pair still counts (due
    // north, 0); R lies on the line, its foot is itself and leaves the azimuth as it was.
    project("1200,0,0,10,0\r\n", "P,,5,0.03,1\r\nQ,,5,-3,1\r\nR,,7,0,1\r\n", 0.05, carried);
    EXPECT_EQ(carried, 0);
    carried = 42;
    project("1200,0,0,10,0\r\n", "R,,7,0,1\r\n", 0.05, carried);
    EXPECT_EQ(carried, 42);
}

TEST(PointProjection, OnlyMembersNeedAnElevation) {
    EXPECT_EQ(project("1200,0,0,10,0\r\n", "far,,5,3\r\nP,,5,0,7\r\n").output.bytes(), "P,1200,5.000,0.000,7\r\n");
    try {
        project("1200,0,0,10,0\r\n", "far,,5,3\r\n\r\nnear,,5,0.01\r\n");
        FAIL() << "no error";
    } catch (const StepError& error) {
        EXPECT_EQ(error.describe(), "文件“points.dat”第 3 行，字段 4：缺少该字段（这一行只有 4 个字段）");
    }
    EXPECT_THROW(project("1200,0,0,10,0\r\n", "P,,5\r\n"), StepError);
    // Without points the section lines are not read, but each is counted.
    EXPECT_EQ(project("1200,0,0\r\n1220\r\n", "").lines, 2u);
}

}  // namespace
}  // namespace qorvel
