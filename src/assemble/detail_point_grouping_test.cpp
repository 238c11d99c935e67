#include "assemble/detail_point_grouping.h"

#include <gtest/gtest.h>

#include "core/step_error.h"

namespace qorvel {
namespace {

DetailPointGroupingResult group(const std::string& lines, const std::string& points, double tolerance = 0.05) {
    double carried = 0;
    NullProgress progress;
    return GroupDetailPoints(DataFile::FromBytes("matched.dat", lines), DataFile::FromBytes("points.dat", points),
                             tolerance, carried, progress);
}

TEST(DetailPointGrouping, MembersWithinTheToleranceInPointFileOrder) {
    const auto result = group("1200,0,0,10,0\r\n1220,0,20,10,20\r\n",
                              "9,,5,0.03,1\r\n"     // 0.03 off the first line
                              "8,,5,0.07,1\r\n"     // 0.07 off: not a member
                              "7,,-40,-0.01,1\r\n"  // on the extension beyond the first end
                              "6,,2,0,1\r\n");
    EXPECT_EQ(result.output.bytes(), "1200,9,7,6\r\n1220,\r\n");
    EXPECT_EQ(result.stations, 2u);
    EXPECT_EQ(result.memberships, 3u);
}

TEST(DetailPointGrouping, UnnamedPointsJoinTheListAsTheyAlwaysHave) {
    EXPECT_EQ(group("1200,0,0,10,0\r\n", ",,1,0,0\r\nA,,2,0,0\r\n,,3,0,0\r\n").output.bytes(), "1200,A,\r\n");
    EXPECT_EQ(group("1200,0,0,10,0\r\n", "A,,1,0,0\r\n,,2,0,0\r\nB,,3,0,0\r\n").output.bytes(), "1200,A,,B\r\n");
}

TEST(DetailPointGrouping, RepeatedChainagesAndMissingFields) {
    EXPECT_EQ(group("1200,0,0,10,0\r\n1200,0,0,0,10\r\n", "A,,0,0,0\r\n").output.bytes(), "1200,A\r\n1200,A\r\n");
    EXPECT_EQ(group("1200,0\r\n", "").output.bytes(), "1200,\r\n");  // no points: the ends are never read
    EXPECT_THROW(group("1200,0,0,10\r\n", "A,,0,0,0\r\n"), StepError);
    EXPECT_THROW(group("1200,0,0,10,0\r\n", "A,,0\r\n"), StepError);
}

}  // namespace
}  // namespace qorvel
