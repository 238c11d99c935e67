#include "assemble/centre_stake_merge.h"

#include <cmath>

#include <gtest/gtest.h>

#include "core/step_error.h"

namespace qorvel {
namespace {

DataFile file(const std::string& name, const std::string& bytes) { return DataFile::FromBytes(name, bytes); }

CentreStakeMergeResult merge(const std::string& labels, const std::string& points, CentreStakeMergeOptions options = {}) {
    NullProgress progress;
    return MergeCentreStakes(file("labels.dat", labels), file("points.dat", points), options, progress);
}

TEST(CentreStakeMerge, FindsTheStakeBesideItsLabel) {
    const auto result = merge("1,,1000.000,2000.000,0.000,K1+200\r\n",
                              "1,,1000,2000,9\r\n"             // at the label itself: 0.4504 away
                              "2,code,999.750,2000.375,12.3\r\n"
                              "3,,999.7505,2000.3751,12.3456\r\n");  // also close: the last one is kept
    EXPECT_EQ(result.output.bytes(), "1200,,999.751,2000.375,12.346\r\n");
    EXPECT_EQ(result.stakes, 1u);
}

TEST(CentreStakeMerge, ToleranceIsStrict) {
    const double offsetEast = 0.4504 * std::sin(5.695182712812092);
    const double offsetNorth = 0.4504 * std::cos(5.695182712812092);
    const double dEast = 500.03 - (500 + offsetEast);
    const double dNorth = 300.04 - (300 + offsetNorth);
    const double distance = std::sqrt(dEast * dEast + dNorth * dNorth);
    const std::string labels = "1,,500,300,0,K0+100\r\n";
    const std::string points = "P,,500.03,300.04,1\r\n";
    EXPECT_EQ(merge(labels, points, {distance, false}).stakes, 0u);
    EXPECT_EQ(merge(labels, points, {std::nextafter(distance, 1.0), false}).stakes, 1u);
}

TEST(CentreStakeMerge, ChainagesFromLabels) {
    const std::string points = "S,,99.750,200.375,5\r\n";
    const auto at = [&](const std::string& label, bool numeric) {
        return merge("1,,100,200,0," + label + "\r\n", points, {0.05, numeric}).output.bytes();
    };
    EXPECT_EQ(at("K0+123.45", false), "123.45,,99.750,200.375,5.000\r\n");
    EXPECT_EQ(at("1200", false), ",,99.750,200.375,5.000\r\n");  // a plain number is no station text
    EXPECT_EQ(at("1200", true), "1200,,99.750,200.375,5.000\r\n");
    EXPECT_EQ(at("K1+200", true), "1200,,99.750,200.375,5.000\r\n");
    EXPECT_EQ(at("12a", true), ",,99.750,200.375,5.000\r\n");
}

TEST(CentreStakeMerge, FieldsAreReadOnlyWhereTheMergeUsesThem) {
    // Without detail points a label's coordinates are never read.
    EXPECT_EQ(merge("1,,x\r\n", "").output.bytes(), "");
    // A label that finds no stake is never asked for its text.
    EXPECT_EQ(merge("1,,0,0,0\r\n", "S,,99.750,200.375,5\r\n").stakes, 0u);
    // An earlier match is not read for its numbers; only the stake kept must be numeric.
    EXPECT_EQ(merge("1,,100,200,0,K0+1\r\n", "A,,99.750,200.375,abc\r\nB,,99.751,200.375,7\r\n").output.bytes(),
              "1,,99.751,200.375,7.000\r\n");
    try {
        merge("1,,100,200,0,K0+1\r\n", "A,,99.750,200.375,7\r\n\r\nB,,99.751,200.375,abc\r\n");
        FAIL() << "no error";
    } catch (const StepError& error) {
        EXPECT_EQ(error.describe(), "文件“points.dat”第 3 行，字段 4：不是数字：“abc”");
    }
    try {
        merge("1,,100,2oo,0,K0+1\r\n", "A,,1,1,1\r\n");
        FAIL() << "no error";
    } catch (const StepError& error) {
        EXPECT_EQ(error.describe(), "文件“labels.dat”第 1 行，字段 3：不是数字：“2oo”");
    }
    EXPECT_THROW(merge("1,,100,200,0\r\n", "A,,99.750,200.375,7\r\n"), StepError);  // found, but no text
    EXPECT_THROW(merge("1,,100,200,0,K0+1\r\n", "A,,99.750,200.375\r\n"), StepError);  // matched, no elevation
    EXPECT_THROW(merge("1,,100,200,0,K0+1\r\n", "A,,99.750\r\n"), StepError);  // no northing
}

}  // namespace
}  // namespace qorvel
