#include "plot/section_figure.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

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
constexpr double kProblemSpacing = 3.5;
constexpr std::size_t kProblemLines = 3;
constexpr double kStakeOverhang = 3;  // the stake's line stands this far above the ground
constexpr double kSmallestTickSpacing = 4;  // millimetres; denser ticks step 10 m, 20 m, 50 m, ...

constexpr double kTickLabelsTop = -(kTickLength + 0.5);
constexpr double kStationTop = kTickLabelsTop - kTickLabelHeight - 1.5;
constexpr double kElevationTop = kStationTop - kStationHeight - 1;
constexpr double kProblemsTop = kElevationTop - kElevationHeight - 1;

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

void IncludeText(PlotBox& box, const PlotText& text) {
    const double width = EstimatedTextWidth(text.text, text.height);
    double left = text.at.x;
    if (text.align == TextAlign::Centre) left -= width / 2;
    if (text.align == TextAlign::Right) left -= width;
    double bottom = text.at.y;
    if (text.baseline == TextBaseline::Middle) bottom -= text.height / 2;
    if (text.baseline == TextBaseline::Top) bottom -= text.height;
    // Descenders and accents reach a little beyond the digits' height.
    Include(box, {left, bottom - 0.3 * text.height});
    Include(box, {left + width, bottom + 1.3 * text.height});
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
    return ground.size() + marks.size() + (stake ? 1 : 0) + 1 + ticks.size() + texts.size();
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

    // Texts under the stake, each at most a third of the figure's width.
    const double textRoom = (scale.maxWidth - 2 * kPadding) / 3;
    const std::string station = FittedText(section.station, kStationHeight, textRoom);
    const std::string stakeElevation = FittedText(NumberText(section.stakeElevation, 3), kElevationHeight, textRoom);
    // At most three lines of problems; the third says there are more when there are.
    std::vector<std::string> problems;
    for (const std::string& problem : section.problems) {
        if (problem.empty()) continue;
        if (problems.size() + 1 == kProblemLines && section.problems.size() > kProblemLines) {
            problems.push_back("…");
            break;
        }
        problems.push_back(FittedText(problem, kProblemHeight, textRoom));
        if (problems.size() == kProblemLines) break;
    }
    double halfText = std::max(EstimatedTextWidth(station, kStationHeight), EstimatedTextWidth(stakeElevation, kElevationHeight));
    for (const std::string& problem : problems) halfText = std::max(halfText, EstimatedTextWidth(problem, kProblemHeight));
    halfText /= 2;

    // Up and down: from a whole metre at least one below the lowest point to the highest, or,
    // when that is more than the figure can hold, a window around the points' middle elevation.
    const double below = -kProblemsTop + kProblemSpacing * static_cast<double>(problems.size());
    const double windowHeight = std::max(scale.maxHeight - 2 * kPadding - below - kStakeOverhang, 1.0) / up;
    Window window;
    window.bottom = std::floor(lowest) - 1;
    window.top = highest;
    if (window.top - window.bottom > windowHeight) {
        clipped = true;
        double middle = stake.valid ? stake.elevation : 0;
        if (!elevations.empty()) {
            auto median = elevations.begin() + static_cast<std::ptrdiff_t>(elevations.size() / 2);
            std::nth_element(elevations.begin(), median, elevations.end());
            middle = *median;
        }
        window.bottom = std::max(window.bottom, std::floor(middle - windowHeight / 2));
        window.top = window.bottom + windowHeight;
    }
    const std::string datumText = NumberText(window.bottom, 2);
    const double datumTextWidth = EstimatedTextWidth(datumText, kDatumTextHeight);

    // Across: whole ticks beyond the farthest points on either side, at least one each way
    // for a section with nothing but its stake; or a window around the stake.
    window.left = std::floor(leftmost / kTickStep) * kTickStep;
    window.right = std::ceil(rightmost / kTickStep) * kTickStep;
    if (window.left == 0 && window.right == 0) {
        window.left = -kTickStep;
        window.right = kTickStep;
    }
    const double tickHalf = EstimatedTextWidth("00000", kTickLabelHeight) / 2;
    const double needed = std::max(-window.left * across + datumTextWidth + kDatumTextGap, halfText) +
                          std::max(window.right * across + tickHalf, halfText) + 2 * kPadding;
    if (needed > scale.maxWidth) {
        clipped = true;
        const double room =
            std::max(scale.maxWidth - 2 * kPadding - datumTextWidth - kDatumTextGap - tickHalf - 2 * halfText, 1.0) / across;
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
        if (!figure.empty && i == section.firstSide.size()) continue;  // the stake has its own line
        const bool second = i > section.firstSide.size();
        const std::size_t index = second ? i - section.firstSide.size() - 1 : section.firstSide.size() - 1 - i;
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

    if (!station.empty())
        figure.texts.push_back({{0, kStationTop}, kStationHeight, TextAlign::Centre, TextBaseline::Top, station, PlotLayer::Annotation});
    figure.texts.push_back(
        {{0, kElevationTop}, kElevationHeight, TextAlign::Centre, TextBaseline::Top, stakeElevation, PlotLayer::Annotation});
    for (std::size_t i = 0; i < problems.size(); ++i)
        figure.texts.push_back({{0, kProblemsTop - kProblemSpacing * static_cast<double>(i)}, kProblemHeight, TextAlign::Centre,
                                TextBaseline::Top, problems[i], PlotLayer::Annotation});

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
    for (const PlotText& text : figure.texts) IncludeText(bounds, text);
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
    for (PlotText text : figure.texts) {
        text.at = moved(text.at);
        canvas.Text(text);
    }
}

}  // namespace qorvel
