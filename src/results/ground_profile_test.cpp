#include "results/ground_profile.h"

#include <gtest/gtest.h>

#include "support/error_of.h"

namespace qorvel {
namespace {

using testing::ErrorOf;

// Stakes in descending order; 1020 twice (the second row as 1020.0), a label that was not read.
const DataFile kStakes = DataFile::FromBytes(
    "stakes.dat", "1040,,40,10,51.0004\r\n1020,,20,0,50.5\r\n,,5,5,1\r\n1020.0,,99,99,9\r\n12345.6785,,0,0,-2.5\r\n");

TEST(GroundProfile, StakesForwardInEachKind) {
    GroundProfile profile = WriteGroundProfile(kStakes, ProfileKind::Dmx);
    EXPECT_EQ(profile.output.bytes(),
              "HINTCAD5.83_DMX_SHUJU\r\n"
              "    1020.000\t 50.500000\r\n"
              "    1040.000\t 51.000400\r\n"
              "   12345.679\t -2.500000\r\n");
    EXPECT_EQ(GroundProfileSummary(profile), "纵断面地面线：共有中桩 3 个。");
    EXPECT_EQ(WriteGroundProfile(kStakes, ProfileKind::Csv).output.bytes(),
              "\xEF\xBB\xBF桩号,里程,高程\r\nK1+020,1020.000,50.500\r\nK1+040,1040.000,51.000\r\n"
              "K12+345.678,12345.679,-2.500\r\n");
    EXPECT_EQ(WriteGroundProfile(kStakes, ProfileKind::Dat).output.bytes(),
              "1020.000,50.500\r\n1040.000,51.000\r\n12345.679,-2.500\r\n");
}

TEST(GroundProfile, KindByExtensionAndMissingElevation) {
    EXPECT_EQ(ProfileKindOfPath("out/13-profile.DMX"), ProfileKind::Dmx);
    EXPECT_EQ(ProfileKindOfPath("a.dat"), ProfileKind::Dat);
    EXPECT_EQ(ProfileKindOfPath("a.csv/b"), std::nullopt);
    EXPECT_EQ(ProfileKindOfPath("a.txt"), std::nullopt);
    const DataFile stakes = DataFile::FromBytes("stakes.dat", "1000,,0,0,50\r\n1020,,20,0\r\n");
    EXPECT_EQ(ErrorOf([&] { WriteGroundProfile(stakes, ProfileKind::Dat); }),
              "文件“stakes.dat”第 2 行，字段 4：缺少该字段（这一行只有 4 个字段）");
}

}  // namespace
}  // namespace qorvel
