#include "assemble/section_line_match.h"

#include <gtest/gtest.h>

#include "core/step_error.h"

namespace qorvel {
namespace {

std::string match(const std::string& stakes, const std::string& lines, double tolerance) {
    double carried = 0;
    return MatchSectionLines(DataFile::FromBytes("stakes.dat", stakes), DataFile::FromBytes("lines.dat", lines),
                             tolerance, carried)
        .output.bytes();
}

TEST(SectionLineMatch, PerpendicularDistanceToTheWholeLine) {
    const std::string stake = "1200,,100,50,10\r\n";
    EXPECT_EQ(match(stake, "1,90,50.25,110,50.25\r\n", 0.5), "1200,90,50.25,110,50.25\r\n");
    EXPECT_EQ(match(stake, "1,90,50.5,110,50.5\r\n", 0.5), "");  // exactly the tolerance
    EXPECT_EQ(match(stake, "1,100.005,0,100.005,10\r\n", 0.01), "1200,100.005,0,100.005,10\r\n");  // north-south
    EXPECT_EQ(match(stake, "1,300,49.995,400,49.995\r\n", 0.01), "1200,300,49.995,400,49.995\r\n");  // far beyond the end
    EXPECT_EQ(match(stake, "1,500,50.001,500,50.001\r\n", 0.01), "1200,500,50.001,500,50.001\r\n");  // ends coincide
}

TEST(SectionLineMatch, EveryPairInFileOrderFieldsCopiedAsRead) {
    const std::string stakes = "1200,,100,50,10\r\n1220,,100,70,10\r\n";
    const std::string lines = "1, 90 ,50,110,50.0 \r\n2,90,70,110,70\r\n3,95,45,105,55\r\n";
    EXPECT_EQ(match(stakes, lines, 0.01),
              "1200, 90 ,50,110,50.0 \r\n1200,95,45,105,55\r\n1220,90,70,110,70\r\n");
    EXPECT_EQ(match("", lines, 0.01), "");
    EXPECT_EQ(match(stakes, "", 0.01), "");
    EXPECT_EQ(match("1200,,100\r\n", "", 0.01), "");  // stakes are not read when there is no line
    EXPECT_THROW(match("1200,,100\r\n", lines, 0.01), StepError);
    EXPECT_THROW(match(stakes, "1,90,50,110\r\n", 0.01), StepError);
}

TEST(SectionLineMatch, EveryPairTestedCarriesTheAzimuth) {
    double carried = 0;
    // The last pair tested runs from the stake due west to its foot.
    MatchSectionLines(DataFile::FromBytes("s", "1,,100,50\r\n"), DataFile::FromBytes("l", "1,0,0,0,10\r\n"), 0.01,
                      carried);
    EXPECT_EQ(carried, 270.0);
}

}  // namespace
}  // namespace qorvel
