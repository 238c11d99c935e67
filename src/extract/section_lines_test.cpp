#include "extract/section_lines.h"

#include <gtest/gtest.h>

#include "extract/extract_testing.h"
#include "support/recording_progress.h"

namespace qorvel {
namespace {

using testing::Entity;
using testing::MakeDrawing;
using testing::RecordingProgress;
constexpr auto kLine = EntityKind::Line;

TEST(SectionLines, LinesInDrawingOrderKeepingTheirDirection) {
    const Drawing drawing = MakeDrawing({
        Entity(kLine, "dmx", {100, 200, 5, 150.5, 260.25, 6}),
        Entity(kLine, "other", {1, 1, 0, 2, 2, 0}),
        Entity(EntityKind::LightweightPolyline, "dmx", {7, 7, 8, 8}),
        Entity(kLine, "dmx", {1000, 0.5, 0, 12.34449, -3.125, 0}),  // drawn right to left
        Entity(kLine, "DMX", {1, 1, 0, 2, 2, 0}),
        Entity(kLine, "dmx", {438230.71649, 3391642.98151, 0, -0.00049, 2.00050001, 0}),
    });
    const auto selection = SelectSectionLines(drawing, "dmx");
    ASSERT_FALSE(selection.warning);
    RecordingProgress progress;
    const auto file = WriteSectionLines(selection, progress);
    EXPECT_EQ(file.lines, 3u);
    EXPECT_EQ(file.output.bytes(),
              "1,100,200,150.5,260.25\r\n"
              "2,1000,0.5,12.345,-3.125\r\n"
              "3,438230.717,3391642.982,-0.001,2.001\r\n");
    EXPECT_EQ(progress.calls, (std::vector<std::string>{"advance 已提取横断面线条数： 1 1/3", "advance 已提取横断面线条数： 2 2/3",
                                                        "advance 已提取横断面线条数： 3 3/3"}));
}

TEST(SectionLines, OnlyPolylinesOnTheLayerGiveAnEmptyFile) {
    const Drawing drawing = MakeDrawing({Entity(EntityKind::LightweightPolyline, "dmx", {7, 7}), Entity(kLine, "other", {1, 1, 0, 2, 2, 0})});
    const auto selection = SelectSectionLines(drawing, "dmx");
    ASSERT_FALSE(selection.warning);
    RecordingProgress progress;
    const auto file = WriteSectionLines(selection, progress);
    EXPECT_EQ(file.lines, 0u);
    EXPECT_TRUE(file.output.bytes().empty());
    EXPECT_TRUE(progress.calls.empty());
}

TEST(SectionLines, Warnings) {
    const auto warningOf = [](const Drawing& drawing, std::string_view layer) {
        const auto selection = SelectSectionLines(drawing, layer);
        EXPECT_TRUE(selection.ends.empty());
        if (!selection.warning) return std::string("(no warning)");
        EXPECT_EQ(selection.warning->title, "请检查图形！");
        return selection.warning->text;
    };
    // Polylines are no lines, even on the right layer.
    EXPECT_EQ(warningOf(MakeDrawing({Entity(EntityKind::LightweightPolyline, "dmx", {1, 1})}), "dmx"), "没有检测到3D线段！请检查图形");
    const Drawing drawing = MakeDrawing({Entity(kLine, "dmx", {1, 1, 0, 2, 2, 0}), Entity(EntityKind::Text, "zh", {1, 1, 0}, "K")});
    // A layer the drawing has, holding no line.
    EXPECT_EQ(warningOf(drawing, "zh"), "图形中没有[zh]图层,或者线段不具备该图层属性");
    // A layer it does not have: named, with the drawing's layers.
    EXPECT_EQ(warningOf(drawing, "Dmx"), "图形中没有[Dmx]图层,或者线段不具备该图层属性\n"
                                         "图中没有“Dmx”图层（图层名区分大小写），图中的图层有：dmx、zh。");
    EXPECT_EQ(warningOf(drawing, ""), "图形中没有[]图层,或者线段不具备该图层属性\n"
                                      "图中没有“”图层（图层名区分大小写），图中的图层有：dmx、zh。");
    EXPECT_EQ(warningOf(MakeDrawing({Entity(kLine, "dmx", {1, 1, 0, 2, 2, 0})}), "a"),
              "图形中没有[a]图层,或者线段不具备该图层属性\n图中没有“a”图层（图层名区分大小写），图中的图层有：dmx。");
    // A layer name a megabyte long is named shortened.
    const std::string longName(1'000'000, 'L');
    EXPECT_EQ(warningOf(MakeDrawing({Entity(kLine, longName, {1, 1, 0, 2, 2, 0})}), "a"),
              "图形中没有[a]图层,或者线段不具备该图层属性\n图中没有“a”图层（图层名区分大小写），图中的图层有：" +
                  std::string(60, 'L') + "…。");
}

TEST(SectionLines, MoreThanAThousandLines) {
    Drawing drawing;
    for (int k = 1; k <= 1001; ++k) drawing.entities.push_back(Entity(kLine, "dmx", {double(k), 0, 0, double(k), 10, 0}));
    const auto selection = SelectSectionLines(drawing, "dmx");
    NullProgress progress;
    const auto file = WriteSectionLines(selection, progress);
    EXPECT_EQ(file.lines, 1001u);
    EXPECT_TRUE(file.output.bytes().ends_with("\r\n1001,1001,0,1001,10\r\n"));
}

}  // namespace
}  // namespace qorvel
