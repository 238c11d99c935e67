#include "checks/line_check.h"

#include <gtest/gtest.h>

#include "core/text_encoding.h"

namespace qorvel {
namespace {

LineCheckResult check(const std::string& stakes, const std::string& matched) {
    NullProgress progress;
    return CheckSectionLines(DataFile::FromBytes("stakes.dat", stakes), DataFile::FromBytes("matched.dat", matched),
                             progress);
}

std::string gbk(const char* utf8) { return Utf8ToGbk(utf8).value(); }

TEST(LineCheck, ChainagesCompareAsWritten) {
    const auto result = check("1200,,500.000,300.000,10.500\r\n"
                              "1220\n"  // only field 0 is read
                              "1240,,540.000,300.000,10.700\r\n",
                              "1200 ,500,280,500,320\r\n"  // another text than 1200
                              "1220,520,280,520,320\r\n"
                              "1240,540,280,540,320\r\n"
                              "1240\n");
    EXPECT_EQ(result.output.bytes(), gbk("缺少断面线") + ",1200,,500.000,300.000,10.500\r\n" +
                                         gbk("断面线重复") + ",1240,,540.000,300.000,10.700\r\n");
    EXPECT_EQ(result.stakes, 3u);
    EXPECT_EQ(result.missing, 1u);
    EXPECT_EQ(result.repeated, 1u);
    EXPECT_EQ(result.output.bytes().substr(0, 11), "\xC8\xB1\xC9\xD9\xB6\xCF\xC3\xE6\xCF\xDF,");
    EXPECT_EQ(check("", "1200,0,0,1,1\r\n").stakes, 0u);
}

}  // namespace
}  // namespace qorvel
