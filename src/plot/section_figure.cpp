#include "plot/section_figure.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "core/decimal_text.h"

namespace qorvel {

namespace {

// Beyond this many metres a value lies off every window a sheet can hold; values are held
// within it so that no difference or product of two of them overflows.
constexpr double kFarthest = 1e12;
constexpr double kPadding = 2;  // millimetres around the figure

constexpr double kTickLength = 1.5;
constexpr double kTickLabelHeight = 2;
constexpr double kDatumTextHeight = 2.5;
constexpr double kDatumTextGap = 1.5;
constexpr double kStationHeight = 3.5;
constexpr double kElevationHeight = 3;
constexpr double kProblemHeight = 2.5;
constexpr double kProblemGap = 2;  // between the station and the problems' reasons
constexpr double kLineGap = 1.5;   // between the station and the stake's elevation
constexpr double kDatumClearance = 2;  // millimetres at least from the lowest point down to the datum
constexpr double kStakeOverhang = 3;  // the stake's line stands this far above the ground
constexpr double kSmallestTickSpacing = 4;  // millimetres; denser ticks step 10 m, 20 m, 50 m, ...
constexpr double kTickLabelsTop = -(kTickLength + 0.8);

// The table: digits 2 mm tall (the smallest a drawing's numbers are written), its row names a
// little larger, the rows as tall as their longest number when it is turned.
constexpr double kTableTextHeight = 2;
constexpr double kRowNameHeight = 2.5;
constexpr double kCellPadding = 0.7;  // above and below a row's numbers, beside the row names
constexpr double kTableGap = 1.5;     // between the tick offsets and the table, the table and the station
constexpr double kNumberGap = 0.4;    // at least between two numbers of a row

// An elevation or offset as shown: fixed decimals, or seven significant digits for values too
// large for fixed decimals to be read.
std::string NumberText(double value, int decimals) {
    if (!std::isfinite(value)) return "?";
    if (value == 0) value = 0;  // no "-0.000"
    char buffer[64];
    const auto result = std::abs(value) < 1e15
                            ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals)
                            : std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 7);
    return std::string(buffer, result.ptr);
}

struct GroundVertex {
    double offset = 0;
    double elevation = 0;
    bool valid = false;  // both numbers
};

// Holds a value within kFarthest; true when it had to be moved.
bool Hold(double& value) {
    if (value > kFarthest) { value = kFarthest; return true; }
    if (value < -kFarthest) { value = -kFarthest; return true; }
    return false;
}

struct Window {
    double left = 0, right = 0, bottom = 0, top = 0;
    bool Contains(double offset, double elevation) const {
        return offset >= left && offset <= right && elevation >= bottom && elevation <= top;
    }
};

// Liang and Barsky's clipping of the segment a-b to the window: false when nothing of it is
// inside; otherwise the parameters of the part inside, 0 <= t0 <= t1 <= 1.
bool ClipSegment(const GroundVertex& a, const GroundVertex& b, const Window& window, double& t0, double& t1) {
    t0 = 0;
    t1 = 1;
    const double dx = b.offset - a.offset;
    const double dy = b.elevation - a.elevation;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {a.offset - window.left, window.right - a.offset, a.elevation - window.bottom, window.top - a.elevation};
    for (int edge = 0; edge < 4; ++edge) {
        if (p[edge] == 0) {
            if (q[edge] < 0) return false;
            continue;
        }
        const double t = q[edge] / p[edge];
        if (p[edge] < 0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
    }
    return true;
}

void Include(PlotBox& box, PlotPoint p) {
    box.left = std::min(box.left, p.x);
    box.right = std::max(box.right, p.x);
    box.bottom = std::min(box.bottom, p.y);
    box.top = std::max(box.top, p.y);
}

// A datum at a multiple of 1 m for a section a few metres high, of 5 m or 10 m for a taller
// one: a round number to read heights from.
double DatumStep(double range) {
    if (!(range < 10)) return range < 50 ? 5 : 10;
    return 1;
}

// A number of the table, as the result files write it: two decimals after the four-decimal
// rounding of layouts 1 to 5, or three decimals (the layouts of other design packages).
std::string TableNumber(double value, int decimals) {
    if (!std::isfinite(value)) return "?";
    std::string text;
    if (decimals == 3)
        AppendFixed(text, value, 3);
    else
        AppendRoundedFixed(text, value, 4, Rounding::HalfToEven, 2);
    return text;
}

// One point's column of the table.
struct TableColumn {
    std::size_t vertex = 0;  // in the figure's ground vertices
    double x = 0;            // millimetres from the stake
    std::string distance;
    std::string elevation;
    double distanceWidth = 0;  // written level
    double elevationWidth = 0;
};

struct TableRow {
    bool turned = false;  // its numbers read upwards
    double height = 0;
};

struct TableShape {
    TableRow rows[2];      // distances, elevations; no rows for no table
    double height = 0;     // both rows; 0 for no table
    bool thinned = false;  // a row is turned: columns nearer than `spacing` lose their numbers
    double spacing = 0;
    double edge = 0;       // room beyond the outermost columns for half a number
};

double RowNameWidth() { return EstimatedTextWidth("距离", kRowNameHeight) + 2 * kCellPadding; }

// Each row's numbers level where every column's number fits beside its neighbours', turned
// otherwise.
TableShape ShapeOfTable(const std::vector<TableColumn>& columns) {
    TableShape shape;
    if (columns.empty()) return shape;
    const double levelRow = std::max(kTableTextHeight, kRowNameHeight) * 1.4 + 2 * kCellPadding;
    // A turned number is 1.1 heights across (EstimatedTextBox).
    shape.spacing = 1.1 * kTableTextHeight + kNumberGap;
    for (int row = 0; row < 2; ++row) {
        const auto width = [&](const TableColumn& column) { return row == 0 ? column.distanceWidth : column.elevationWidth; };
        bool level = true;
        double widest = 0;
        for (std::size_t k = 0; k < columns.size(); ++k) {
            widest = std::max(widest, width(columns[k]));
            if (k > 0 && columns[k].x - columns[k - 1].x < (width(columns[k]) + width(columns[k - 1])) / 2 + kNumberGap) level = false;
        }
        shape.rows[row] = {!level, level ? levelRow : std::max(levelRow, widest + 2 * kCellPadding)};
        shape.height += shape.rows[row].height;
        shape.thinned |= !level;
        shape.edge = std::max(shape.edge, (level ? widest : shape.spacing) / 2 + kNumberGap);
    }
    return shape;
}

// Which columns keep their numbers: all of a level table; of a turned one the stake's, and from
// the stake outward each column far enough from the last one kept, the outermost of each side
// in place of those too near it. `stakeVertex` parts the sides.
std::vector<bool> ThinColumns(const std::vector<const TableColumn*>& columns, std::size_t stakeVertex, const TableShape& shape) {
    std::vector<bool> kept(columns.size(), true);
    if (!shape.thinned) return kept;
    std::vector<std::size_t> left, right;  // each from the stake outward
    for (std::size_t k = columns.size(); k-- > 0;)
        if (columns[k]->vertex < stakeVertex) left.push_back(k);
    for (std::size_t k = 0; k < columns.size(); ++k)
        if (columns[k]->vertex > stakeVertex) right.push_back(k);
    for (const std::vector<std::size_t>* side : {&left, &right}) {
        if (side->empty()) continue;
        std::vector<std::size_t> keptHere;
        double last = 0;  // the stake
        for (const std::size_t k : *side) {
            kept[k] = std::abs(columns[k]->x - last) >= shape.spacing;
            if (kept[k]) {
                last = columns[k]->x;
                keptHere.push_back(k);
            }
        }
        const std::size_t outermost = side->back();
        if (kept[outermost]) continue;
        while (!keptHere.empty() && std::abs(columns[outermost]->x - columns[keptHere.back()]->x) < shape.spacing) {
            kept[keptHere.back()] = false;
            keptHere.pop_back();
        }
        const double previous = keptHere.empty() ? 0 : columns[keptHere.back()]->x;
        kept[outermost] = std::abs(columns[outermost]->x - previous) >= shape.spacing;
    }
    return kept;
}

double NextTickStep(double step) {
    // 5, 10, 20, 50, 100, 200, 500, ...
    const double magnitude = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    const double leading = step / magnitude;
    if (leading < 1.5) return 2 * magnitude;
    if (leading < 3.5) return 5 * magnitude;
    return 10 * magnitude;
}

}  // namespace

std::size_t SectionFigure::PrimitiveCount() const {
    return ground.size() + marks.size() + (stake ? 1 : 0) + 1 + ticks.size() + tableLines.size() + texts.size();
}

SectionFigure BuildSectionFigure(const SectionDrawing& section, const FigureScale& scale) {
    SectionFigure figure;
    figure.empty = !section.HasPoints();
    // Scales out of all reason are taken as the defaults rather than drawn as nothing or as
    // numbers without end.
    const double horizontal = scale.horizontal >= 1 && scale.horizontal <= 1e6 ? scale.horizontal : FigureScale{}.horizontal;
    const double exaggeration = scale.exaggeration >= 0.01 && scale.exaggeration <= 1e3 ? scale.exaggeration : 1;
    const double across = 1000 / horizontal;
    const double up = across * exaggeration;
    figure.millimetresPerMetreAcross = across;
    figure.millimetresPerMetreUp = up;

    // The ground line's vertices in drawing order: the first side from its farthest point in,
    // the stake, the second side outward.
    std::vector<GroundVertex> vertices;
    vertices.reserve(section.firstSide.size() + section.secondSide.size() + 1);
    bool clipped = false;
    auto vertex = [&](double offset, double elevation) {
        GroundVertex v{offset, elevation, std::isfinite(offset) && std::isfinite(elevation)};
        if (!v.valid) {
            clipped = true;
        } else {
            clipped |= Hold(v.offset);
            clipped |= Hold(v.elevation);
        }
        return v;
    };
    for (auto point = section.firstSide.rbegin(); point != section.firstSide.rend(); ++point)
        vertices.push_back(vertex(-std::abs(point->distance), point->elevation));
    const GroundVertex stake = vertex(0, section.stakeElevation);
    const std::size_t stakeVertex = section.firstSide.size();  // when the section has points
    if (!figure.empty) vertices.push_back(stake);
    for (const SurveyedPoint& point : section.secondSide) vertices.push_back(vertex(std::abs(point.distance), point.elevation));

    // The ground's extent, the stake's included.
    double lowest = std::numeric_limits<double>::infinity();
    double highest = -lowest;
    double leftmost = 0;
    double rightmost = 0;
    std::vector<double> elevations;
    elevations.reserve(vertices.size());
    for (const GroundVertex& v : vertices) {
        if (!v.valid) continue;
        lowest = std::min(lowest, v.elevation);
        highest = std::max(highest, v.elevation);
        leftmost = std::min(leftmost, v.offset);
        rightmost = std::max(rightmost, v.offset);
        elevations.push_back(v.elevation);
    }
    if (stake.valid) {
        lowest = std::min(lowest, stake.elevation);
        highest = std::max(highest, stake.elevation);
    }
    if (lowest > highest) lowest = highest = 0;  // nothing with a number at all

    // The table's numbers, for every point that has them; which are written is decided once the
    // window is known.
    std::vector<TableColumn> columns;
    TableShape table;
    if (scale.table && !figure.empty) {
        columns.reserve(vertices.size());
        for (std::size_t i = 0; i < vertices.size(); ++i) {
            const GroundVertex& v = vertices[i];
            if (!v.valid) continue;
            TableColumn column;
            column.vertex = i;
            column.x = v.offset * across;
            column.distance = TableNumber(v.offset, 2);
            column.elevation = TableNumber(v.elevation, scale.elevationDecimals == 3 ? 3 : 2);
            column.distanceWidth = EstimatedTextWidth(column.distance, kTableTextHeight);
            column.elevationWidth = EstimatedTextWidth(column.elevation, kTableTextHeight);
            columns.push_back(std::move(column));
        }
        table = ShapeOfTable(columns);
    }

    // Texts under the table: the station centred under the stake, the stake's elevation under
    // it, the problems' reasons to the right of the station; each within a share of the width.
    const double textRoom = (scale.maxWidth - 2 * kPadding) / 3;
    const std::string station = FittedText(StationLabel(section), kStationHeight, textRoom);
    const std::string stakeElevation = FittedText(TableNumber(section.stakeElevation, 3), kElevationHeight, textRoom);
    std::string reasons;
    for (const std::string& reason : ProblemReasons(section)) {
        if (!reasons.empty()) reasons += "、";
        reasons += reason;
    }
    reasons = FittedText(reasons, kProblemHeight, textRoom);
    const double halfText = std::max(EstimatedTextWidth(station, kStationHeight), EstimatedTextWidth(stakeElevation, kElevationHeight)) / 2;
    const double stationHalf = EstimatedTextWidth(station, kStationHeight) / 2;
    const double textRight =
        reasons.empty() ? halfText : std::max(halfText, stationHalf + kProblemGap + EstimatedTextWidth(reasons, kProblemHeight));

    // Up and down: from a round elevation below the lowest point to the highest, or, when that
    // is more than the figure can hold, a window around the points' middle elevation.
    const double tableTop = kTickLabelsTop - kTickLabelHeight - kTableGap;
    const double stationTop = tableTop - table.height - (table.height > 0 ? kTableGap : 0);
    const double elevationTop = stationTop - kStationHeight - kLineGap;
    const double below = -(elevationTop - kElevationHeight) + 0.3 * kElevationHeight;
    const double windowHeight = std::max(scale.maxHeight - 2 * kPadding - below - kStakeOverhang, 1.0) / up;
    const double datumStep = DatumStep(highest - lowest);
    Window window;
    // At least a little paper between the datum and the lowest point, however exaggerated.
    window.bottom = datumStep * std::floor((lowest - kDatumClearance / up) / datumStep);
    window.top = highest;
    if (window.top - window.bottom > windowHeight) {
        clipped = true;
        double middle = stake.valid ? stake.elevation : 0;
        if (!elevations.empty()) {
            auto median = elevations.begin() + static_cast<std::ptrdiff_t>(elevations.size() / 2);
            std::nth_element(elevations.begin(), median, elevations.end());
            middle = *median;
        }
        const double step = DatumStep(windowHeight);
        window.bottom = std::max(window.bottom, step * std::floor((middle - windowHeight / 2) / step));
        window.top = window.bottom + windowHeight;
    }
    const std::string datumText = NumberText(window.bottom, 2);
    const double datumTextWidth = EstimatedTextWidth(datumText, kDatumTextHeight);

    // Across: whole ticks beyond the farthest points on either side, at least one each way
    // for a section with nothing but its stake; or a window around the stake. Left of the
    // section stand the datum's elevation and the table's row names, right of it the last
    // tick's offset and the table's last numbers.
    window.left = std::floor(leftmost / kTickStep) * kTickStep;
    window.right = std::ceil(rightmost / kTickStep) * kTickStep;
    if (window.left == 0 && window.right == 0) {
        window.left = -kTickStep;
        window.right = kTickStep;
    }
    const double tickHalf = EstimatedTextWidth("00000", kTickLabelHeight) / 2;
    const double headerWidth = table.height > 0 ? RowNameWidth() : 0;
    const double leftFixed = std::max(datumTextWidth + kDatumTextGap, table.edge + headerWidth);
    const double rightFixed = std::max(tickHalf, table.edge);
    const double needed = std::max(-window.left * across + leftFixed, halfText) + std::max(window.right * across + rightFixed, textRight) +
                          2 * kPadding;
    if (needed > scale.maxWidth) {
        clipped = true;
        const double room = std::max(scale.maxWidth - 2 * kPadding - leftFixed - rightFixed - halfText - textRight, 1.0) / across;
        const double left = std::max(window.left, -room / 2);
        const double right = std::min(window.right, left + room);
        window.left = std::max(window.left, right - room);
        window.right = right;
    }
    figure.leftOffset = window.left;
    figure.rightOffset = window.right;
    figure.datumElevation = window.bottom;
    figure.topElevation = window.top;

    // The ground line, cut where it leaves the window or meets a point without numbers.
    std::vector<PlotPoint>* piece = nullptr;
    bool pieceOpen = false;  // the last piece ends at the previous vertex, unclipped
    for (std::size_t i = 0; i + 1 < vertices.size(); ++i) {
        const GroundVertex& a = vertices[i];
        const GroundVertex& b = vertices[i + 1];
        double t0 = 0;
        double t1 = 1;
        if (!a.valid || !b.valid || !ClipSegment(a, b, window, t0, t1)) {
            pieceOpen = false;
            continue;
        }
        const auto at = [&](double t) {
            return figure.At(a.offset + t * (b.offset - a.offset), a.elevation + t * (b.elevation - a.elevation));
        };
        if (!pieceOpen || t0 > 0) {
            piece = &figure.ground.emplace_back();
            piece->push_back(t0 > 0 ? at(t0) : figure.At(a.offset, a.elevation));
        }
        piece->push_back(t1 < 1 ? at(t1) : figure.At(b.offset, b.elevation));
        pieceOpen = t1 >= 1;
    }
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const GroundVertex& v = vertices[i];
        if (!v.valid) continue;
        if (!window.Contains(v.offset, v.elevation)) {
            clipped = true;
            continue;
        }
        if (!figure.empty && i == stakeVertex) continue;  // the stake has its own line
        const bool second = i > stakeVertex;
        const std::size_t index = second ? i - stakeVertex - 1 : stakeVertex - 1 - i;
        figure.marks.push_back({figure.At(v.offset, v.elevation), second, index});
    }

    if (stake.valid && window.Contains(0, stake.elevation)) {
        const PlotPoint top = figure.At(0, stake.elevation);
        figure.stake = PlotLine{{0, 0}, {0, top.y + kStakeOverhang}};
    } else {
        clipped = true;
    }
    figure.datum = {{window.left * across, 0}, {window.right * across, 0}};
    figure.texts.push_back({{window.left * across - kDatumTextGap, 0}, kDatumTextHeight, TextAlign::Right,
                            TextBaseline::Middle, datumText, PlotLayer::Annotation});

    double step = kTickStep;
    while (step * across < kSmallestTickSpacing) step = NextTickStep(step);
    const auto firstTick = static_cast<long long>(std::ceil(window.left / step));
    const auto lastTick = static_cast<long long>(std::floor(window.right / step));
    for (long long k = firstTick; k <= lastTick; ++k) {
        const double x = static_cast<double>(k) * step * across;
        figure.ticks.push_back({{x, 0}, {x, -kTickLength}});
        figure.texts.push_back({{x, kTickLabelsTop}, kTickLabelHeight, TextAlign::Centre, TextBaseline::Top,
                                NumberText(std::abs(static_cast<double>(k) * step), 0), PlotLayer::Annotation});
    }

    if (table.height > 0) {
        // The numbers of the points drawn, thinned where they crowd.
        std::vector<const TableColumn*> shown;
        for (const TableColumn& column : columns) {
            const GroundVertex& v = vertices[column.vertex];
            if (window.Contains(v.offset, v.elevation)) shown.push_back(&column);
        }
        const std::vector<bool> kept = ThinColumns(shown, stakeVertex, table);
        figure.turnedTable = table.thinned;
        const double left = window.left * across - table.edge;
        const double right = window.right * across + table.edge;
        const double rules[] = {tableTop, tableTop - table.rows[0].height, tableTop - table.height};
        for (const double y : rules) figure.tableLines.push_back({{left - headerWidth, y}, {right, y}});
        for (const double x : {left - headerWidth, left, right}) figure.tableLines.push_back({{x, rules[0]}, {x, rules[2]}});
        const char* names[] = {"距离", "高程"};
        for (int row = 0; row < 2; ++row) {
            const double middle = (rules[row] + rules[row + 1]) / 2;
            figure.texts.push_back({{left - headerWidth / 2, middle}, kRowNameHeight, TextAlign::Centre, TextBaseline::Middle,
                                    names[row], PlotLayer::Table});
            for (std::size_t k = 0; k < shown.size(); ++k) {
                if (!kept[k]) continue;
                figure.texts.push_back({{shown[k]->x, middle}, kTableTextHeight, TextAlign::Centre, TextBaseline::Middle,
                                        row == 0 ? shown[k]->distance : shown[k]->elevation, PlotLayer::Table,
                                        table.rows[row].turned ? 90.0 : 0.0});
            }
        }
        figure.omittedPoints = static_cast<std::size_t>(std::count(kept.begin(), kept.end(), false));
    }

    if (!station.empty())
        figure.texts.push_back({{0, stationTop}, kStationHeight, TextAlign::Centre, TextBaseline::Top, station, PlotLayer::Annotation});
    figure.texts.push_back(
        {{0, elevationTop}, kElevationHeight, TextAlign::Centre, TextBaseline::Top, stakeElevation, PlotLayer::Annotation});
    if (!reasons.empty())
        figure.texts.push_back({{stationHalf + kProblemGap, stationTop - kStationHeight / 2}, kProblemHeight, TextAlign::Left,
                                TextBaseline::Middle, reasons, PlotLayer::Annotation});

    PlotBox bounds{0, 0, 0, 0};
    for (const auto& line : figure.ground)
        for (PlotPoint p : line) Include(bounds, p);
    constexpr double r = kMarkDiameter / 2;
    for (const FigureMark& mark : figure.marks) {
        Include(bounds, {mark.at.x - r, mark.at.y - r});
        Include(bounds, {mark.at.x + r, mark.at.y + r});
    }
    if (figure.stake) Include(bounds, figure.stake->to);
    Include(bounds, figure.datum.from);
    Include(bounds, figure.datum.to);
    for (const PlotLine& tick : figure.ticks) Include(bounds, tick.to);
    for (const PlotLine& line : figure.tableLines) {
        Include(bounds, line.from);
        Include(bounds, line.to);
    }
    for (const PlotText& text : figure.texts) {
        const PlotBox box = EstimatedTextBox(text);
        Include(bounds, {box.left, box.bottom});
        Include(bounds, {box.right, box.top});
    }
    figure.bounds = {bounds.left - kPadding, bounds.bottom - kPadding, bounds.right + kPadding, bounds.top + kPadding};
    figure.clipped = clipped;
    return figure;
}

void DrawSectionFigure(const SectionFigure& figure, PlotPoint corner, PlotCanvas& canvas) {
    const double dx = corner.x - figure.bounds.left;
    const double dy = corner.y - figure.bounds.bottom;
    const auto moved = [&](PlotPoint p) { return PlotPoint{p.x + dx, p.y + dy}; };
    std::vector<PlotPoint> points;
    for (const auto& line : figure.ground) {
        points.clear();
        for (PlotPoint p : line) points.push_back(moved(p));
        canvas.Polyline(points, false, PlotLayer::Ground);
    }
    for (const FigureMark& mark : figure.marks) canvas.Mark(moved(mark.at), PlotLayer::Ground);
    if (figure.stake) canvas.Line(moved(figure.stake->from), moved(figure.stake->to), PlotLayer::Stake);
    canvas.Line(moved(figure.datum.from), moved(figure.datum.to), PlotLayer::Annotation);
    for (const PlotLine& tick : figure.ticks) canvas.Line(moved(tick.from), moved(tick.to), PlotLayer::Annotation);
    for (const PlotLine& line : figure.tableLines) canvas.Line(moved(line.from), moved(line.to), PlotLayer::Table);
    for (PlotText text : figure.texts) {
        text.at = moved(text.at);
        canvas.Text(text);
    }
}

namespace {

// The extents of a section's ground, for the scale that shows it whole (values that are no
// number, or beyond any survey, left out).
constexpr double kLargestGround = 1e5;

struct GroundExtent {
    double left = 0;
    double right = 0;
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();

    void Take(double distance, double elevation, double& reach) {
        if (std::isfinite(distance)) reach = std::max(reach, std::min(distance, kLargestGround));
        if (std::isfinite(elevation)) {
            low = std::min(low, elevation);
            high = std::max(high, elevation);
        }
    }
};

}  // namespace

SectionFigure FitSectionFigure(const SectionDrawing& section, double roomAcross, double roomUp, double zoom,
                               double exaggeration) {
    roomAcross = std::max(40.0, roomAcross);
    roomUp = std::max(20.0, roomUp);
    GroundExtent ground;
    ground.Take(0, section.stakeElevation, ground.left);
    for (const SurveyedPoint& point : section.firstSide) ground.Take(point.distance, point.elevation, ground.left);
    for (const SurveyedPoint& point : section.secondSide) ground.Take(point.distance, point.elevation, ground.right);
    const double across = std::max(10.0, ground.left + ground.right);
    const double up = ground.low <= ground.high ? std::clamp(ground.high - ground.low, 1.0, kLargestGround) : 1.0;
    const auto build = [&](double millimetresPerMetre) {
        FigureScale scale;
        scale.horizontal = 1000 / millimetresPerMetre;
        scale.exaggeration = exaggeration;
        scale.maxWidth = roomAcross * zoom * 1.5 + 100;
        scale.maxHeight = (roomUp * zoom + kFigureTextBand) * 1.5 + 100;
        return BuildSectionFigure(section, scale);
    };
    // First a guess from the ground, then corrected twice by what the figure measures (its
    // ticks round the ground out, its texts keep their size).
    double fitted = std::min(roomAcross / across, roomUp / (up * exaggeration));
    for (int pass = 0; pass < 2; ++pass) {
        const PlotBox bounds = build(fitted).bounds;
        const double over = std::max(bounds.Width() / roomAcross, bounds.Height() / (roomUp + kFigureTextBand));
        if (over > 0 && std::isfinite(over)) fitted /= std::max(over, 0.5);
    }
    return build(fitted * zoom);
}

}  // namespace qorvel
