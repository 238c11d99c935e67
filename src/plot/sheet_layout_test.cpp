#include "plot/sheet_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "plot/section_figure.h"

namespace qorvel {
namespace {

// Everything a figure draws, as points, so that tests can check where it all lies.
class RecordingCanvas final : public PlotCanvas {
public:
    void Line(PlotPoint from, PlotPoint to, PlotLayer) override { points.insert(points.end(), {from, to}); }
    void Polyline(std::span<const PlotPoint> line, bool, PlotLayer) override { points.insert(points.end(), line.begin(), line.end()); }
    void Mark(PlotPoint at, PlotLayer) override { points.push_back(at); }
    void Text(const PlotText& text) override {
        points.push_back(text.at);
        texts.push_back(text.text);
    }
    std::vector<PlotPoint> points;
    std::vector<std::string> texts;
};

SectionDrawing Section(std::string station, double stakeElevation, std::vector<SurveyedPoint> first,
                       std::vector<SurveyedPoint> second) {
    SectionDrawing section;
    section.station = std::move(station);
    section.stakeElevation = stakeElevation;
    section.firstSide = std::move(first);
    section.secondSide = std::move(second);
    return section;
}

TEST(SheetPlanner, FillsColumnsFromTheBottomUpThenLeftToRightThenANewSheet) {
    SheetPlanner planner({0, 0, 300, 200});
    std::vector<SectionPlace> places;
    for (int i = 0; i < 7; ++i) places.push_back(planner.Place(100, 60));
    // Three boxes and their gaps fit in a column; the third column would pass the right edge.
    const double column = 100 + SheetPlanner::kColumnGap;
    const double row = 60 + SheetPlanner::kRowGap;
    const SectionPlace expected[] = {{0, {0, 0}},      {0, {0, row}},      {0, {0, 2 * row}}, {0, {column, 0}},
                                     {0, {column, row}}, {0, {column, 2 * row}}, {1, {0, 0}}};
    for (std::size_t i = 0; i < places.size(); ++i) {
        EXPECT_EQ(places[i].sheet, expected[i].sheet) << i;
        EXPECT_DOUBLE_EQ(places[i].corner.x, expected[i].corner.x) << i;
        EXPECT_DOUBLE_EQ(places[i].corner.y, expected[i].corner.y) << i;
    }
    // A column is as wide as its widest box; a box wider than what is left starts a sheet even
    // when the column has height to spare.
    for (int i = 0; i < 3; ++i) planner.Place(100, 60);
    EXPECT_DOUBLE_EQ(planner.Place(40, 10).corner.x, column);
    EXPECT_EQ(planner.Place(250, 10).sheet, 2u);
    // Sizes no sheet can hold, or no size at all, take a place of their own and never stall.
    const SectionPlace huge = planner.Place(1e300, std::numeric_limits<double>::infinity());
    EXPECT_EQ(huge.sheet, 3u);
    EXPECT_EQ(planner.Place(std::nan(""), std::nan("")).sheet, 4u);
    EXPECT_EQ(planner.sheets(), 5u);
}

TEST(SectionFigure, DrawsTheGroundThroughBothSidesAndTheStakeAtScale) {
    const SectionDrawing section = Section("K0+120", 101.2, {{3, 100.8, "p1", ""}, {11.5, 99.6, "p2", "DL"}},
                                           {{4, 101.0, "p3", ""}, {7, 102.3, "p4", ""}});
    FigureScale scale;  // 1:200: a metre is 5 mm across; twice that up with exaggeration 2
    scale.exaggeration = 2;
    const SectionFigure figure = BuildSectionFigure(section, scale);
    EXPECT_FALSE(figure.clipped);
    EXPECT_FALSE(figure.empty);
    EXPECT_DOUBLE_EQ(figure.datumElevation, 98);  // a whole metre, at least one below the lowest

    ASSERT_EQ(figure.ground.size(), 1u);
    const double pairs[][2] = {{-11.5, 99.6}, {-3, 100.8}, {0, 101.2}, {4, 101.0}, {7, 102.3}};
    ASSERT_EQ(figure.ground[0].size(), std::size(pairs));
    for (std::size_t i = 0; i < std::size(pairs); ++i) {
        EXPECT_NEAR(figure.ground[0][i].x, pairs[i][0] * 5, 1e-9) << i;
        EXPECT_NEAR(figure.ground[0][i].y, (pairs[i][1] - 98) * 10, 1e-9) << i;
    }
    // A mark for each surveyed point, naming its side and place for the viewer's hover.
    ASSERT_EQ(figure.marks.size(), 4u);
    EXPECT_FALSE(figure.marks[0].secondSide);
    EXPECT_EQ(figure.marks[0].index, 1u);
    EXPECT_TRUE(figure.marks[3].secondSide);
    EXPECT_EQ(figure.marks[3].index, 1u);
    ASSERT_TRUE(figure.stake);
    EXPECT_DOUBLE_EQ(figure.stake->from.x, 0);
    // Ticks every 5 m over whole ticks beyond the farthest points: -15 to 10.
    ASSERT_EQ(figure.ticks.size(), 6u);
    EXPECT_DOUBLE_EQ(figure.ticks.front().from.x, -75);
    EXPECT_DOUBLE_EQ(figure.ticks.back().from.x, 50);

    RecordingCanvas canvas;
    DrawSectionFigure(figure, {10, 20}, canvas);
    EXPECT_GE(canvas.points.size(), figure.PrimitiveCount());
    for (const char* text : {"K0+120", "101.200", "98.00", "15"})
        EXPECT_NE(std::find(canvas.texts.begin(), canvas.texts.end(), text), canvas.texts.end()) << text;
    const PlotBox placed{10, 20, 10 + figure.bounds.Width(), 20 + figure.bounds.Height()};
    for (PlotPoint p : canvas.points) EXPECT_TRUE(placed.Contains(p)) << p.x << "," << p.y;
}

TEST(SectionFigure, ValuesNoSheetCanHoldAreClippedWithinTheLimitsAndFlagged) {
    const double nan = std::nan("");
    const double inf = std::numeric_limits<double>::infinity();
    FigureScale scale;
    scale.maxWidth = 200;
    scale.maxHeight = 150;
    const SectionDrawing sections[] = {
        Section("far", 100, {{1e300, 100, "", ""}, {2e300, 1e300, "", ""}}, {{5, 101, "", ""}}),
        Section("deep", -1e9, {{3, 100, "", ""}}, {{4, 100.5, "", ""}, {8, -1e9, "", ""}}),
        Section("none", nan, {{nan, 1, "", ""}}, {{inf, -inf, "", ""}, {1, nan, "", ""}}),
        Section("fine", 100, {{2, 99, "", ""}}, {}),
    };
    for (const SectionDrawing& section : sections) {
        for (double horizontal : {200.0, 1.0, 1e6}) {
            scale.horizontal = horizontal;
            const SectionFigure figure = BuildSectionFigure(section, scale);
            SCOPED_TRACE(section.station + " 1:" + std::to_string(horizontal));
            RecordingCanvas canvas;
            DrawSectionFigure(figure, {0, 0}, canvas);
            EXPECT_LE(figure.bounds.Width(), scale.maxWidth + 1e-9);
            EXPECT_LE(figure.bounds.Height(), scale.maxHeight + 1e-9);
            EXPECT_LE(figure.ticks.size(), 60u);
            for (PlotPoint p : canvas.points) ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
            EXPECT_NE(std::find(canvas.texts.begin(), canvas.texts.end(), section.station), canvas.texts.end());
            if (section.station != "fine") {
                EXPECT_TRUE(figure.clipped);
            } else if (horizontal == 200) {
                EXPECT_FALSE(figure.clipped);
            }
        }
    }
    // The deep section shows its ground, not the stake's impossible elevation.
    scale.horizontal = 200;
    const SectionFigure deep = BuildSectionFigure(sections[1], scale);
    EXPECT_FALSE(deep.stake);
    EXPECT_EQ(deep.marks.size(), 2u);

    const SectionFigure empty = BuildSectionFigure(Section("K1+000", 12.5, {}, {}), scale);
    EXPECT_TRUE(empty.empty);
    EXPECT_FALSE(empty.clipped);
    EXPECT_TRUE(empty.ground.empty());
    EXPECT_TRUE(empty.stake);
}

}  // namespace
}  // namespace qorvel
