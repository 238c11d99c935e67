#include "frame/file_shape.h"

#include <gtest/gtest.h>

#include "support/error_of.h"

namespace qorvel {
namespace {

using testing::ErrorOf;

std::string Judge(const std::string& bytes, FileRole role) {
    const DataFile file = DataFile::FromBytes("f.dat", bytes);
    return ErrorOf([&] { RefuseFileUnlikeItsRole(file, role); });
}

constexpr char kPoints[] = "1,,438250.000,3391620.000,152.346\n2,K,438251.928,3391617.702,152.064\n";
constexpr char kLabels[] = "1,,439140.065,3391946.927,0.000,K1+000\n2,,439120.065,3391946.927,0.000,K0+980\n";
constexpr char kLines[] = "1,438230.716,3391642.981,438269.284,3391597.019\n2,438246.037,3391655.837,438284.605,3391609.874\n";

TEST(FileShape, RefusesOnlyFilesThatCannotBeOfTheRole) {
    // Files that share a shape pass for one another: the step that finds nothing says so.
    EXPECT_EQ(Judge(kPoints, FileRole::StationLabels), "(no error)");
    EXPECT_EQ(Judge(kLabels, FileRole::DetailPoints), "(no error)");
    EXPECT_EQ(Judge(kLines, FileRole::CentreStakes), "(no error)");
    EXPECT_EQ(Judge("", FileRole::SectionLines), "(no error)");
    EXPECT_EQ(Judge("1000,689,690\nK0+020 x\n", FileRole::Membership), "(no error)");
    // A few damaged records are the step's to report; a field beginning with a number counts.
    EXPECT_EQ(Judge(std::string(kPoints) + "3,,,,\n", FileRole::DetailPoints), "(no error)");
    EXPECT_EQ(Judge("1,,43825x.9,-3391620,1\n", FileRole::DetailPoints), "(no error)");
    EXPECT_EQ(Judge("1100,480,300,520\n", FileRole::MatchedLines), "(no error)");

    // Points where section lines are asked: their empty code field is where a line's first end is.
    EXPECT_EQ(Judge(kPoints, FileRole::SectionLines),
              "文件“f.dat”第 1 行，字段 1：这不像断面线文件：它的 2 条记录中有 2 条在断面线文件的第一端的东坐标处没有数字，"
              "看起来是碎步点文件或中桩文件。请检查是否选错了文件或弄错了文件的顺序");
    const std::string report = Judge("缺少中桩,36,,438510.705\nx\n缺少中桩,37,,438510.705\n", FileRole::StationLabels);
    EXPECT_NE(report.find("第 1 行，字段 2：这不像桩号文字文件：它的 3 条记录中有 2 条"), std::string::npos) << report;
    EXPECT_NE(report.find("看起来是检查结果文件"), std::string::npos) << report;
    EXPECT_NE(Judge("1,,x,y\n\n2,,x,y\n", FileRole::DetailPoints).find("也看不出是哪一种数据文件"), std::string::npos);
    EXPECT_NE(Judge(kLabels, FileRole::MatchedLines).find("看起来是桩号文字文件"), std::string::npos);
}

}  // namespace
}  // namespace qorvel
