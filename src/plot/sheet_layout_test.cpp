#include "plot/sheet_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
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
        placed.push_back(text);
    }
    std::vector<PlotPoint> points;
    std::vector<std::string> texts;
    std::vector<PlotText> placed;
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

TEST(SheetPlanner, ColumnsFromTheBottomUpWithTheirStakesOnOneVerticalThenANewSheet) {
    const PlotBox area{0, 0, 300, 200};
    // Three sections of 60 mm fit in a column; the column is as wide as its widest section on
    // either side of the stakes; the third column would pass the right edge.
    const SectionExtent extents[] = {{40, 50, 60}, {55, 30, 60}, {40, 50, 60}, {40, 50, 60},
                                     {40, 50, 60}, {40, 50, 60}, {40, 50, 60}};
    SheetPlanner planner(area);
    for (const SectionExtent& extent : extents) planner.Add(extent);
    ASSERT_EQ(planner.sheets(), 2u);
    std::vector<SectionPlace> places;
    for (const SectionExtent& extent : extents) places.push_back(planner.Place(extent).value());

    const double row = 60 + SheetPlanner::kRowGap;
    const double firstWidth = 55 + 50;  // the widest reach left and right of the stakes
    const double used = firstWidth + SheetPlanner::kColumnGap + 90;
    const double shift = (300 - used) / 2;  // the columns of a sheet stand centred
    const SectionPlace expected[] = {{0, shift + 55, 0}, {0, shift + 55, row}, {0, shift + 55, 2 * row},
                                     {0, shift + firstWidth + SheetPlanner::kColumnGap + 40, 0},
                                     {0, shift + firstWidth + SheetPlanner::kColumnGap + 40, row},
                                     {0, shift + firstWidth + SheetPlanner::kColumnGap + 40, 2 * row},
                                     {1, (300 - 90) / 2.0 + 40, 0}};
    for (std::size_t i = 0; i < places.size(); ++i) {
        EXPECT_EQ(places[i].sheet, expected[i].sheet) << i;
        EXPECT_DOUBLE_EQ(places[i].stakeX, expected[i].stakeX) << i;
        EXPECT_DOUBLE_EQ(places[i].bottom, expected[i].bottom) << i;
    }
    // A second pass that asks for more than the first planned has no place.
    EXPECT_FALSE(planner.Place({40, 50, 150}));

    // A section too wide for what is left of its column goes on, even with height to spare;
    // sizes no sheet can hold, or no size at all, take a place of their own and never stall.
    SheetPlanner wide(area);
    const double inf = std::numeric_limits<double>::infinity();
    const SectionExtent sizes[] = {{20, 20, 10}, {10, 285, 10}, {1e300, inf, inf}, {std::nan(""), std::nan(""), std::nan("")}};
    for (const SectionExtent& extent : sizes) wide.Add(extent);
    EXPECT_EQ(wide.sheets(), 4u);
    std::vector<std::size_t> sheets;
    for (const SectionExtent& extent : sizes) sheets.push_back(wide.Place(extent).value().sheet);
    EXPECT_EQ(sheets, (std::vector<std::size_t>{0, 1, 2, 3}));
}

TEST(SheetFrame, TheTitleBlockOfARoadDrawing) {
    for (const SheetSize size : {SheetSize::A4, SheetSize::A3, SheetSize::A1}) {
        const SheetGeometry sheet = SheetGeometry::Of(size);
        SheetTitle title{"某某高速公路改扩建工程", "K线", "横断面图", ScaleRatio(200), ScaleRatio(40), "S3-2", 4, 12, "2024-05-01"};
        RecordingCanvas canvas;
        DrawSheetFrame(sheet, title, canvas);
        SCOPED_TRACE(std::string(SheetSizeName(size)));
        for (const char* text : {"项目名称", "某某高速公路改扩建工程", "路线名称", "K线", "横断面图", "比例", "横向 1:200", "纵向 1:40",
                                 "设计", "复核", "审核", "图号", "S3-2-4", "第 4 张 共 12 张", "日期 2024-05-01"})
            EXPECT_NE(std::find(canvas.texts.begin(), canvas.texts.end(), text), canvas.texts.end()) << text;
        // Every text within the title block, none over another.
        for (std::size_t a = 0; a < canvas.placed.size(); ++a) {
            const PlotBox box = EstimatedTextBox(canvas.placed[a]);
            EXPECT_TRUE(sheet.titleBlock.Contains({box.left, box.bottom}) && sheet.titleBlock.Contains({box.right, box.top}))
                << canvas.placed[a].text;
            for (std::size_t b = a + 1; b < canvas.placed.size(); ++b)
                EXPECT_FALSE(Overlap(box, EstimatedTextBox(canvas.placed[b]))) << canvas.placed[a].text << " / " << canvas.placed[b].text;
        }
        EXPECT_LT(sheet.titleBlock.top, sheet.drawingArea.bottom);
    }
    EXPECT_EQ(SheetDrawingNumber("", 3), "");
}

TEST(SectionFigure, DrawsTheGroundThroughBothSidesAndTheStakeAtScale) {
    SectionDrawing section = Section("120", 101.2, {{3, 100.8, "p1", ""}, {11.5, 99.6, "p2", "DL"}},
                                     {{4, 101.0, "p3", ""}, {7, 102.3, "p4", ""}});
    section.chainage = 120;
    section.numericChainage = true;
    FigureScale scale;  // 1:200: a metre is 5 mm across; twice that up with exaggeration 2
    scale.exaggeration = 2;
    const SectionFigure figure = BuildSectionFigure(section, scale);
    EXPECT_FALSE(figure.clipped);
    EXPECT_FALSE(figure.empty);
    EXPECT_DOUBLE_EQ(figure.datumElevation, 99);  // a whole metre, 2 mm of paper below the lowest at least

    ASSERT_EQ(figure.ground.size(), 1u);
    const double pairs[][2] = {{-11.5, 99.6}, {-3, 100.8}, {0, 101.2}, {4, 101.0}, {7, 102.3}};
    ASSERT_EQ(figure.ground[0].size(), std::size(pairs));
    for (std::size_t i = 0; i < std::size(pairs); ++i) {
        EXPECT_NEAR(figure.ground[0][i].x, pairs[i][0] * 5, 1e-9) << i;
        EXPECT_NEAR(figure.ground[0][i].y, (pairs[i][1] - 99) * 10, 1e-9) << i;
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
    for (const char* text : {"K0+120", "101.200", "99.00", "15"})
        EXPECT_NE(std::find(canvas.texts.begin(), canvas.texts.end(), text), canvas.texts.end()) << text;
    const PlotBox placed{10, 20, 10 + figure.bounds.Width(), 20 + figure.bounds.Height()};
    for (PlotPoint p : canvas.points) EXPECT_TRUE(placed.Contains(p)) << p.x << "," << p.y;

    // The datum is a round elevation, by how tall the section is.
    for (const auto& [highest, datum] : {std::pair{108.0, 107.0}, std::pair{125.0, 105.0}, std::pair{180.0, 100.0}}) {
        const SectionFigure tall = BuildSectionFigure(Section("K0+140", 107.5, {{5, highest, "", ""}}, {}), scale);
        EXPECT_DOUBLE_EQ(tall.datumElevation, datum) << highest;
    }
}

// What the table of a figure writes: each row's texts from left to right, and whether turned.
struct TableTexts {
    std::vector<std::string> distances, elevations;
    bool turned = false;
};
TableTexts TableOf(const SectionFigure& figure) {
    std::vector<const PlotText*> numbers;
    for (const PlotText& text : figure.texts)
        if (text.layer == PlotLayer::Table && text.text != "距离" && text.text != "高程") numbers.push_back(&text);
    std::stable_sort(numbers.begin(), numbers.end(), [](const PlotText* a, const PlotText* b) { return a->at.x < b->at.x; });
    TableTexts table;
    const double top = numbers.empty() ? 0 : std::max_element(numbers.begin(), numbers.end(), [](auto* a, auto* b) {
                                                 return a->at.y < b->at.y;
                                             })[0]->at.y;
    for (const PlotText* text : numbers) {
        (text->at.y == top ? table.distances : table.elevations).push_back(text->text);
        table.turned |= text->angle == 90;
    }
    return table;
}

TEST(SectionFigure, TheTableWritesEachPointsOffsetAndElevationAndNoTextOverlaps) {
    FigureScale scale;
    scale.table = true;
    // Points far apart: numbers level, as the result file writes them.
    SectionDrawing sparse = Section("K0+200", 100.2, {{6, 100.125, "", ""}}, {{10.555, 99.4, "", ""}});
    TableTexts table = TableOf(BuildSectionFigure(sparse, scale));
    EXPECT_FALSE(table.turned);
    EXPECT_EQ(table.distances, (std::vector<std::string>{"-6.00", "0.00", "10.56"}));
    EXPECT_EQ(table.elevations, (std::vector<std::string>{"100.13", "100.20", "99.40"}));
    scale.elevationDecimals = 3;
    EXPECT_EQ(TableOf(BuildSectionFigure(sparse, scale)).elevations, (std::vector<std::string>{"100.125", "100.200", "99.400"}));
    scale.elevationDecimals = 2;

    // Points 0.2 m apart (a millimetre at 1:200): the numbers turn, and those that would touch
    // are left out and counted, never the stake's or the outermost points'.
    SectionDrawing crowded = Section("地面线加密", 100, {}, {});
    for (int k = 1; k <= 60; ++k) {
        crowded.firstSide.push_back({0.2 * k, 100 - 0.01 * k, "", ""});
        crowded.secondSide.push_back({0.7 * k, 100 + 0.02 * k, "", ""});
    }
    crowded.problems = {"高程突变：左侧，12.50，3.20", "点距过大：右侧，3.00，40.00", "高程突变：右侧，1.00，2.00"};
    const SectionFigure figure = BuildSectionFigure(crowded, scale);
    table = TableOf(figure);
    EXPECT_TRUE(table.turned);
    EXPECT_GT(figure.omittedPoints, 0u);
    EXPECT_EQ(table.distances.size() + figure.omittedPoints, 121u);
    EXPECT_EQ(table.distances.front(), "-12.00");
    EXPECT_EQ(table.distances.back(), "42.00");
    EXPECT_NE(std::find(table.distances.begin(), table.distances.end(), "0.00"), table.distances.end());
    EXPECT_FALSE(figure.clipped);

    RecordingCanvas canvas;
    DrawSectionFigure(figure, {0, 0}, canvas);
    // A text chainage is written as it is, the problems' reasons once each beside it.
    for (const char* text : {"地面线加密", "高程突变、点距过大"})
        EXPECT_NE(std::find(canvas.texts.begin(), canvas.texts.end(), text), canvas.texts.end()) << text;
    for (std::size_t a = 0; a < canvas.placed.size(); ++a)
        for (std::size_t b = a + 1; b < canvas.placed.size(); ++b)
            ASSERT_FALSE(Overlap(EstimatedTextBox(canvas.placed[a]), EstimatedTextBox(canvas.placed[b])))
                << canvas.placed[a].text << " / " << canvas.placed[b].text;
}

TEST(SectionFigure, ValuesNoSheetCanHoldAreClippedWithinTheLimitsAndFlagged) {
    const double nan = std::nan("");
    const double inf = std::numeric_limits<double>::infinity();
    FigureScale scale;
    scale.table = true;
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
