#include "checks/stake_check.h"

#include <gtest/gtest.h>

#include "core/step_error.h"
#include "core/text_encoding.h"

namespace qorvel {
namespace {

StakeCheckResult check(const std::string& labels, const std::string& stakes, bool numericLabels = false) {
    NullProgress progress;
    return CheckCentreStakes(DataFile::FromBytes("labels.dat", labels), DataFile::FromBytes("stakes.dat", stakes),
                             numericLabels, progress);
}

std::string gbk(const char* utf8) { return Utf8ToGbk(utf8).value(); }

TEST(StakeCheck, ComparesTheChainageTextTheMergeWrites) {
    // K0+100.50 is written 100.5; a stake written otherwise, or with a blank, is another text.
    EXPECT_EQ(check("1,,0,0,0,K0+100.50  \r\n", "100.5,,1,1,1\r\n").problems, 0u);
    const auto other = check("1,,0,0,0,K0+100.50  \r\n", "100.50,,1,1,1\r\n100.5 ,,1,1,1\r\n");
    EXPECT_EQ(other.output.bytes(), gbk("缺少中桩") + ",1,,0,0,0,K0+100.50  \r\n");
    EXPECT_EQ(other.output.bytes().substr(0, 9), "\xC8\xB1\xC9\xD9\xD6\xD0\xD7\xAE,");
    // Numeric labels: plain numbers are chainages, station text still counts.
    const auto numeric = check("1,,0,0,0,1260\r\n2,,0,0,0,K1+260\r\n3,,0,0,0,12a\r\n", "1260,,1,1,1\r\n12a,,1,1,1\r\n", true);
    EXPECT_EQ(numeric.output.bytes(), gbk("桩号无法识别") + ",3,,0,0,0,12a\r\n");
    EXPECT_EQ(numeric.labels, 3u);
    EXPECT_EQ(numeric.problems, 1u);
    EXPECT_EQ(check("1,,0,0,0,1260\r\n", "1260,,1,1,1\r\n").problems, 1u);
    // A label without a chainage is unreadable even when a stake has an empty chainage too.
    EXPECT_EQ(check("1,,0,0,0,K\r\n", ",,1,1,1\r\n").output.bytes(), gbk("桩号无法识别") + ",1,,0,0,0,K\r\n");
}

TEST(StakeCheck, EveryLabelNeedsItsText) {
    EXPECT_EQ(check("1,,0,0,0,K1+200\r\n", "").problems, 1u);
    try {
        check("1,,0,0,0,K1+200\r\n\r\n2,,0,0,0\r\n", "1200,,1,1,1\r\n");
        FAIL() << "no error";
    } catch (const StepError& error) {
        EXPECT_EQ(error.describe(), "文件“labels.dat”第 3 行，字段 5：缺少该字段（这一行只有 5 个字段）");
    }
}

}  // namespace
}  // namespace qorvel
