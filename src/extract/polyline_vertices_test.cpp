#include "extract/polyline_vertices.h"

#include <gtest/gtest.h>

#include "extract/extract_testing.h"
#include "support/recording_progress.h"

namespace qorvel {
namespace {

using testing::Entity;
using testing::MakeDrawing;
using testing::RecordingProgress;
constexpr auto kLightweight = EntityKind::LightweightPolyline;

std::string Extract(const Drawing& drawing, std::string_view layer) {
    const auto selection = SelectPolylineVertices(drawing, layer);
    EXPECT_FALSE(selection.warning) << selection.warning->text;
    NullProgress progress;
    return WritePolylineVertices(selection, progress).output.bytes();
}

std::string WarningOf(const Drawing& drawing, std::string_view layer) {
    const auto selection = SelectPolylineVertices(drawing, layer);
    EXPECT_TRUE(selection.records.empty());
    if (!selection.warning) return "(no warning)";
    EXPECT_EQ(selection.warning->title, "请检查图形！");
    return selection.warning->text;
}

TEST(PolylineVertices, LastPolylineFirstEachInItsOwnOrder) {
    // P1 with a1, a2, a3 drawn before P2 with b1, b2: b1, b2, a1, a2, a3.
    const Drawing drawing = MakeDrawing({
        Entity(kLightweight, "dmx", {1, 1, 2, 2, 3, 3}),
        Entity(EntityKind::Line, "dmx", {0, 0, 0, 9, 9, 0}),
        Entity(kLightweight, "dmx", {100, 200, 250.5, -47.125}),
    });
    EXPECT_EQ(Extract(drawing, "dmx"), "1,,100,200,0\r\n2,,250.5,-47.125,0\r\n3,,1,1,0\r\n4,,2,2,0\r\n5,,3,3,0\r\n");
}

TEST(PolylineVertices, RepeatsOnceReducedAreWrittenOnceWithoutGaps) {
    const Drawing drawing = MakeDrawing({
        Entity(kLightweight, "dmx", {10, 20, 100.0004, 7}),
        Entity(kLightweight, "dmx", {99.9996, 7, 30, 40}),  // starts where the first ends
        Entity(kLightweight, "dmx", {0.5, 5, 6, 7, 8, 9}),  // closed: the first vertex is not repeated at the end
        Entity(kLightweight, "other", {1, 1}),
        Entity(EntityKind::Polyline3d, "dmx", {5, 5, 6, 6}),
        Entity(EntityKind::Polyline2d, "dmx", {5, 5, 6, 6}),
    });
    EXPECT_EQ(Extract(drawing, "dmx"),
              "1,,0.5,5,0\r\n2,,6,7,0\r\n3,,8,9,0\r\n4,,100,7,0\r\n5,,30,40,0\r\n6,,10,20,0\r\n");
}

TEST(PolylineVertices, NumbersTheLinesWithProgress) {
    const auto selection = SelectPolylineVertices(MakeDrawing({Entity(kLightweight, "dmx", {1, 1, 2, 2, 1, 1, 3, 3})}), "dmx");
    RecordingProgress progress;
    const auto file = WritePolylineVertices(selection, progress);
    EXPECT_EQ(file.vertices, 3u);
    EXPECT_EQ(progress.calls, (std::vector<std::string>{"advance 已提取多段线节点数： 1 1/3", "advance 已提取多段线节点数： 2 2/3",
                                                        "advance 已提取多段线节点数： 3 3/3"}));
}

TEST(PolylineVertices, WarningsWhenNothingCanBeRead) {
    // Only 3D polylines: no lightweight one anywhere, however right the layer.
    EXPECT_EQ(WarningOf(MakeDrawing({Entity(EntityKind::Polyline3d, "dmx", {1, 1, 2, 2})}), "dmx"),
              "没有检测到2D线段！请检查图形");
    EXPECT_EQ(WarningOf(MakeDrawing({Entity(EntityKind::Line, "dmx", {1, 1, 0, 2, 2, 0})}), "dmx"), "没有检测到2D线段！请检查图形");
    const Drawing drawing = MakeDrawing({Entity(kLightweight, "dmx", {1, 1}), Entity(EntityKind::Polyline2d, "old", {1, 1})});
    EXPECT_EQ(WarningOf(drawing, "DMX"), "图形中没有[DMX]图层,或者线段不具备该图层属性\n"
                                         "图中没有“DMX”图层（图层名区分大小写），图中的图层有：dmx、old。");
    // Polylines on the layer, but none lightweight: nothing to write, and the surveyor is told.
    EXPECT_EQ(WarningOf(drawing, "old"), "没有检测到2D线段！请检查图形");
}

TEST(PolylineVertices, NoCapacityLimit) {
    std::vector<double> vertices;
    for (int k = 0; k < 30000; ++k) {
        vertices.push_back(k);
        vertices.push_back(0.5);
    }
    const auto selection = SelectPolylineVertices(MakeDrawing({Entity(kLightweight, "dmx", vertices)}), "dmx");
    NullProgress progress;
    const auto file = WritePolylineVertices(selection, progress);
    EXPECT_EQ(file.vertices, 30000u);
    EXPECT_TRUE(file.output.bytes().ends_with("\r\n30000,,29999,0.5,0\r\n"));
}

}  // namespace
}  // namespace qorvel
