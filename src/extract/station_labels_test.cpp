#include "extract/station_labels.h"

#include <gtest/gtest.h>

#include "core/step_error.h"
#include "extract/extract_testing.h"
#include "support/recording_progress.h"

namespace qorvel {
namespace {

using testing::Entity;
using testing::MakeDrawing;
using testing::RecordingProgress;
constexpr auto kText = EntityKind::Text;

TEST(StationLabels, LastLabelFirstWithThreeDecimals) {
    const Drawing drawing = MakeDrawing({
        Entity(kText, "zh", {100, 200, 0}, "K0+100"),                    // A
        Entity(kText, "other", {1, 1, 1}, "K9+000"),
        Entity(EntityKind::MText, "zh", {1, 1, 1}, "K9+100"),
        Entity(kText, "zh", {120.0005, -0.5, 12.34}, "K0+120 中桩,左"),  // B: Chinese and a comma
        Entity(kText, "ZH", {1, 1, 1}, "K9+200"),
        Entity(kText, "zh", {-0.0004, 1e6, -3}, ""),                     // C: empty
    });
    NullProgress progress;
    const auto result = ExtractStationLabels(drawing, "zh", progress);
    ASSERT_FALSE(result.warning);
    EXPECT_EQ(result.labels, 3u);
    EXPECT_EQ(result.output.bytes(),
              "1,,0.000,1000000.000,-3.000,\r\n"
              "2,,120.000,-0.500,12.340,K0+120 \xD6\xD0\xD7\xAE,\xD7\xF3\r\n"  // GBK
              "3,,100.000,200.000,0.000,K0+100\r\n");
}

TEST(StationLabels, ProgressThroughGatheringAndWriting) {
    const Drawing drawing = MakeDrawing({Entity(kText, "zh", {1, 2, 3}, "A"), Entity(kText, "zh", {1, 2, 3}, "B")});
    RecordingProgress progress;
    ExtractStationLabels(drawing, "zh", progress);
    EXPECT_EQ(progress.calls,
              (std::vector<std::string>{"percent 0", "advance 转存文字点坐标及高程： 1 1/2", "advance 转存文字点坐标及高程： 2 2/2",
                                        "percent 0", "advance 把坐标及高程写入文件： 1 1/2", "advance 把坐标及高程写入文件： 2 2/2"}));
}

TEST(StationLabels, AParagraphIsNoLabel) {
    const Drawing drawing = MakeDrawing({Entity(kText, "zh", {1, 2, 3}, "A"), Entity(EntityKind::MText, "dmx", {1, 2, 3}, "B")});
    RecordingProgress progress;
    const auto result = ExtractStationLabels(drawing, "dmx", progress);
    ASSERT_TRUE(result.warning);
    EXPECT_EQ(result.warning->title, "注意！");
    EXPECT_EQ(result.warning->text, "该图层没有CASS高程点的实体或者没有该图层，请检查！");
    EXPECT_TRUE(result.output.bytes().empty());
    EXPECT_TRUE(progress.calls.empty());
    // No such layer at all (letter case counts): the layer asked for and the drawing's layers.
    EXPECT_EQ(ExtractStationLabels(drawing, "ZH", progress).warning->text,
              "该图层没有CASS高程点的实体或者没有该图层，请检查！\n"
              "图中没有“ZH”图层（图层名区分大小写），图中的图层有：dmx、zh。");
}

TEST(StationLabels, LabelsTheDataFileCannotHoldFailNamingTheirLine) {
    NullProgress progress;
    const Drawing emoji = MakeDrawing({Entity(kText, "zh", {1, 2, 3}, "K1+000", 10), Entity(kText, "zh", {1, 2, 3}, "K1+\xF0\x9F\x98\x80", 40)});
    try {
        ExtractStationLabels(emoji, "zh", progress);
        FAIL() << "a label GBK cannot hold was written";
    } catch (const StepError& error) {
        EXPECT_EQ(error.describe(), "文件“route.dxf”第 40 行：文字“K1+\xF0\x9F\x98\x80”含有 GBK 编码无法表示的字符，无法写入桩号文字文件");
    }
    const Drawing twoLines = MakeDrawing({Entity(kText, "zh", {1, 2, 3}, "K1\n+000", 12)});
    EXPECT_THROW(ExtractStationLabels(twoLines, "zh", progress), StepError);
}

}  // namespace
}  // namespace qorvel
