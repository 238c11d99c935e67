#include "gui/section_views.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "gui/qt_step_host.h"

namespace qorvel::gui {

namespace {

constexpr double kMarginPixels = 44;      // room for the grid's labels along the left and bottom
constexpr double kGridSpacing = 64;       // pixels between grid lines, at least
constexpr double kHoverReach = 7;         // pixels from a point's mark
constexpr double kLargestZoom = 200;

QColor ColourOf(PlotLayer layer) {
    switch (layer) {
        case PlotLayer::Ground: return {0, 120, 60};
        case PlotLayer::Stake: return {200, 30, 30};
        case PlotLayer::Annotation: return {50, 50, 90};
        case PlotLayer::Frame: return {128, 128, 128};
        case PlotLayer::Table: return {50, 50, 90};
    }
    return Qt::black;
}

// The sections' drawing on the screen: millimetres of the figure to pixels of the view.
class PainterCanvas final : public PlotCanvas {
public:
    PainterCanvas(QPainter& painter, std::function<QPointF(PlotPoint)> toPixels, double pixelsPerMm)
        : painter_(painter), toPixels_(std::move(toPixels)), pixelsPerMm_(pixelsPerMm) {}

    void Line(PlotPoint from, PlotPoint to, PlotLayer layer) override {
        painter_.setPen(Pen(layer));
        painter_.drawLine(toPixels_(from), toPixels_(to));
    }
    void Polyline(std::span<const PlotPoint> points, bool closed, PlotLayer layer) override {
        QPolygonF polygon;
        polygon.reserve(static_cast<qsizetype>(points.size()));
        for (const PlotPoint& point : points) polygon << toPixels_(point);
        painter_.setPen(Pen(layer));
        painter_.setBrush(Qt::NoBrush);
        if (closed)
            painter_.drawPolygon(polygon);
        else
            painter_.drawPolyline(polygon);
    }
    void Mark(PlotPoint at, PlotLayer layer) override {
        const double radius = std::max(3.0, kMarkDiameter / 2 * pixelsPerMm_);
        painter_.setPen(QPen(ColourOf(layer), 1));
        painter_.setBrush(Qt::white);
        painter_.drawEllipse(toPixels_(at), radius, radius);
    }
    void Text(const PlotText& text) override {
        QFont font = painter_.font();
        font.setPixelSize(std::clamp(static_cast<int>(std::lround(text.height * kEmPerTextHeight * pixelsPerMm_)), 9, 22));
        const QFontMetricsF metrics(font);
        const QString shown = FromUtf8(text.text);
        QPointF at = toPixels_(text.at);
        const double width = metrics.horizontalAdvance(shown);
        if (text.align == TextAlign::Centre) at.rx() -= width / 2;
        if (text.align == TextAlign::Right) at.rx() -= width;
        if (text.baseline == TextBaseline::Middle) at.ry() += metrics.capHeight() / 2;
        if (text.baseline == TextBaseline::Top) at.ry() += metrics.capHeight();
        painter_.setFont(font);
        painter_.setPen(ColourOf(text.layer));
        painter_.drawText(at, shown);
    }

private:
    static QPen Pen(PlotLayer layer) { return QPen(ColourOf(layer), layer == PlotLayer::Ground ? 2 : 1); }

    QPainter& painter_;
    std::function<QPointF(PlotPoint)> toPixels_;
    double pixelsPerMm_;
};

// 1, 2 or 5 times a power of ten, at least `least`.
double RoundStep(double least) {
    if (!(least > 0) || !std::isfinite(least)) return 1;
    const double power = std::pow(10.0, std::floor(std::log10(least)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= least) return factor * power;
    return 10 * power;
}

QString Metres(double value, int decimals) { return QString::number(value == 0 ? 0.0 : value, 'f', decimals); }

}  // namespace

SectionPlotView::SectionPlotView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SectionPlot"));
    setMouseTracking(true);
    setMinimumSize(320, 240);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
}

void SectionPlotView::SetSection(std::optional<SectionDrawing> section) {
    section_ = std::move(section);
    ResetView();
}

void SectionPlotView::SetExaggeration(double exaggeration) {
    exaggeration_ = exaggeration;
    Rebuild();
    update();
}

void SectionPlotView::ResetView() {
    zoom_ = 1;
    pan_ = {};
    Rebuild();
    update();
}

void SectionPlotView::Rebuild() {
    figure_ = {};
    hovered_.clear();
    if (!section_) return;
    pixelsPerMm_ = std::max(1.0, logicalDpiX() / 25.4);
    const double roomAcross = std::max(40.0, (width() - 2 * kMarginPixels) / pixelsPerMm_);
    const double roomUp = std::max(20.0, (height() - 2 * kMarginPixels) / pixelsPerMm_ - kFigureTextBand);
    figure_ = FitSectionFigure(*section_, roomAcross, roomUp, zoom_, exaggeration_);
}

QPointF SectionPlotView::ToPixels(PlotPoint millimetres) const {
    const PlotBox& bounds = figure_.bounds;
    const QPointF corner((width() - bounds.Width() * pixelsPerMm_) / 2, (height() - bounds.Height() * pixelsPerMm_) / 2);
    return corner + pan_ +
           QPointF((millimetres.x - bounds.left) * pixelsPerMm_, (bounds.top - millimetres.y) * pixelsPerMm_);
}

PlotPoint SectionPlotView::ToMillimetres(QPointF pixel) const {
    const PlotBox& bounds = figure_.bounds;
    const QPointF corner((width() - bounds.Width() * pixelsPerMm_) / 2, (height() - bounds.Height() * pixelsPerMm_) / 2);
    const QPointF from = pixel - corner - pan_;
    return {bounds.left + from.x() / pixelsPerMm_, bounds.top - from.y() / pixelsPerMm_};
}

QPointF SectionPlotView::PixelOf(const FigureMark& mark) const { return ToPixels(mark.at); }

QString SectionPlotView::PointTextAt(QPointF pixel) const {
    if (!section_) return {};
    const FigureMark* nearest = nullptr;
    double nearestDistance = kHoverReach;
    for (const FigureMark& mark : figure_.marks) {
        const QPointF d = PixelOf(mark) - pixel;
        const double distance = std::hypot(d.x(), d.y());
        if (distance <= nearestDistance) {
            nearest = &mark;
            nearestDistance = distance;
        }
    }
    if (!nearest) return {};
    const auto& side = nearest->secondSide ? section_->secondSide : section_->firstSide;
    if (nearest->index >= side.size()) return {};
    const SurveyedPoint& point = side[nearest->index];
    return QStringLiteral("点名 %1  编码 %2  %3 %4 m  高程 %5 m")
        .arg(point.name.empty() ? QStringLiteral("（无）") : FromUtf8(point.name),
             point.code.empty() ? QStringLiteral("（无）") : FromUtf8(point.code),
             nearest->secondSide ? QStringLiteral("右") : QStringLiteral("左"), Metres(point.distance, 3),
             Metres(point.elevation, 3));
}

void SectionPlotView::PaintGrid(QPainter& painter) const {
    const double across = figure_.millimetresPerMetreAcross * pixelsPerMm_;  // pixels per metre
    const double up = figure_.millimetresPerMetreUp * pixelsPerMm_;
    if (!(across > 0) || !(up > 0) || !std::isfinite(across) || !std::isfinite(up)) return;
    const auto groundAt = [&](QPointF pixel) {
        const PlotPoint mm = ToMillimetres(pixel);
        return QPointF(mm.x / figure_.millimetresPerMetreAcross,
                       mm.y / figure_.millimetresPerMetreUp + figure_.datumElevation);
    };
    const QPointF topLeft = groundAt(QPointF(0, 0));
    const QPointF bottomRight = groundAt(QPointF(width(), height()));
    const double offsetStep = RoundStep(kGridSpacing / across);
    const double elevationStep = RoundStep(kGridSpacing / up);
    const int offsetDecimals = offsetStep < 1 ? 1 : 0;
    const int elevationDecimals = elevationStep < 1 ? 1 : 0;
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    const QPen gridPen(QColor(225, 225, 225), 1);
    const QColor labelColour(120, 120, 120);
    const double firstOffset = std::ceil(topLeft.x() / offsetStep);
    const double lastOffset = std::floor(bottomRight.x() / offsetStep);
    if (lastOffset - firstOffset < 500) {
        for (double k = firstOffset; k <= lastOffset; ++k) {
            const double x = ToPixels(figure_.At(k * offsetStep, figure_.datumElevation)).x();
            painter.setPen(gridPen);
            painter.drawLine(QPointF(x, 0), QPointF(x, height()));
            painter.setPen(labelColour);
            painter.drawText(QPointF(x + 2, height() - 4), Metres(k * offsetStep, offsetDecimals));
        }
    }
    const double firstElevation = std::ceil(bottomRight.y() / elevationStep);
    const double lastElevation = std::floor(topLeft.y() / elevationStep);
    if (lastElevation - firstElevation < 500) {
        for (double k = firstElevation; k <= lastElevation; ++k) {
            const double y = ToPixels(figure_.At(0, k * elevationStep)).y();
            painter.setPen(gridPen);
            painter.drawLine(QPointF(0, y), QPointF(width(), y));
            painter.setPen(labelColour);
            painter.drawText(QPointF(4, y - 2), Metres(k * elevationStep, elevationDecimals));
        }
    }
}

void SectionPlotView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!section_) {
        painter.setPen(Qt::gray);
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("没有要显示的断面"));
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    PaintGrid(painter);
    PainterCanvas canvas(painter, [this](PlotPoint p) { return ToPixels(p); }, pixelsPerMm_);
    DrawSectionFigure(figure_, {figure_.bounds.left, figure_.bounds.bottom}, canvas);
    painter.setPen(Qt::darkGray);
    painter.drawText(QRectF(0, 4, width() - 8, 20), Qt::AlignRight,
                     QStringLiteral("竖向放大 %1 倍").arg(exaggeration_) +
                         (figure_.clipped ? QStringLiteral("  （有超出范围的值，已截断）") : QString()));
}

void SectionPlotView::resizeEvent(QResizeEvent*) { Rebuild(); }

void SectionPlotView::wheelEvent(QWheelEvent* event) {
    if (!section_ || !(figure_.millimetresPerMetreAcross > 0) || !(figure_.millimetresPerMetreUp > 0)) return;
    const double factor = std::pow(1.25, event->angleDelta().y() / 120.0);
    const double zoom = std::clamp(zoom_ * factor, 1.0, kLargestZoom);
    if (zoom == zoom_) return;
    // The ground under the mouse stays under it.
    const QPointF mouse = event->position();
    const PlotPoint mm = ToMillimetres(mouse);
    const double offset = mm.x / figure_.millimetresPerMetreAcross;
    const double elevation = mm.y / figure_.millimetresPerMetreUp + figure_.datumElevation;
    zoom_ = zoom;
    Rebuild();
    pan_ += mouse - ToPixels(figure_.At(offset, elevation));
    if (zoom_ == 1) pan_ = {};
    update();
}

void SectionPlotView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) dragFrom_ = event->position();
}

void SectionPlotView::mouseMoveEvent(QMouseEvent* event) {
    if (dragFrom_) {
        pan_ += event->position() - *dragFrom_;
        dragFrom_ = event->position();
        update();
        return;
    }
    const QString text = PointTextAt(event->position());
    if (text == hovered_) return;
    hovered_ = text;
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPosition().toPoint(), text, this);
    emit pointHovered(text);
}

void SectionPlotView::mouseReleaseEvent(QMouseEvent*) { dragFrom_.reset(); }

void SectionPlotView::mouseDoubleClickEvent(QMouseEvent*) { ResetView(); }

void SectionPlotView::leaveEvent(QEvent*) {
    if (hovered_.isEmpty()) return;
    hovered_.clear();
    emit pointHovered({});
}

PlanView::PlanView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PlanView"));
    setMinimumSize(180, 150);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(250, 250, 245));
    setPalette(colours);
}

void PlanView::SetPlan(std::optional<SectionPlan> plan) {
    plan_ = std::move(plan);
    update();
}

void PlanView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::darkGray);
    painter.drawText(QPointF(6, 16), QStringLiteral("平面"));
    if (!plan_) return;
    painter.setRenderHint(QPainter::Antialiasing);
    // Everything with coordinates that are numbers, and its extent.
    double west = std::numeric_limits<double>::infinity(), east = -west, south = west, north = -west;
    const auto take = [&](double e, double n) {
        if (!std::isfinite(e) || !std::isfinite(n)) return;
        west = std::min(west, e);
        east = std::max(east, e);
        south = std::min(south, n);
        north = std::max(north, n);
    };
    take(plan_->stakeEast, plan_->stakeNorth);
    take(plan_->firstEndEast, plan_->firstEndNorth);
    take(plan_->secondEndEast, plan_->secondEndNorth);
    for (const SectionPlan::Member& member : plan_->members) take(member.east, member.north);
    if (!(west <= east)) return;
    const double span = std::max({east - west, north - south, 1.0});
    const double margin = 14;
    const double scale = std::min(width() - 2 * margin, height() - 2 * margin) / span;
    const QPointF centre(width() / 2.0, height() / 2.0);
    const double midEast = (west + east) / 2, midNorth = (south + north) / 2;
    const auto at = [&](double e, double n) {
        return centre + QPointF((e - midEast) * scale, -(n - midNorth) * scale);
    };
    painter.setPen(QPen(QColor(110, 110, 110), 2));
    painter.drawLine(at(plan_->firstEndEast, plan_->firstEndNorth), at(plan_->secondEndEast, plan_->secondEndNorth));
    for (const SectionPlan::Member& member : plan_->members) {
        if (!std::isfinite(member.east) || !std::isfinite(member.north)) continue;
        const QColor colour = member.side == SectionPlan::Side::Left    ? QColor(30, 90, 170)
                              : member.side == SectionPlan::Side::Right ? QColor(210, 110, 0)
                                                                        : QColor(150, 150, 150);
        painter.setPen(QPen(colour, 1));
        painter.setBrush(member.side == SectionPlan::Side::None ? QBrush(Qt::NoBrush) : QBrush(colour));
        painter.drawEllipse(at(member.east, member.north), 3, 3);
    }
    const QPointF stake = at(plan_->stakeEast, plan_->stakeNorth);
    painter.setPen(QPen(QColor(200, 30, 30), 2));
    painter.drawLine(stake + QPointF(-5, -5), stake + QPointF(5, 5));
    painter.drawLine(stake + QPointF(-5, 5), stake + QPointF(5, -5));
    // North.
    const QPointF arrow(width() - 14, 24);
    painter.setPen(QPen(Qt::darkGray, 1.5));
    painter.drawLine(arrow, arrow + QPointF(0, -14));
    painter.drawLine(arrow + QPointF(0, -14), arrow + QPointF(-4, -8));
    painter.drawLine(arrow + QPointF(0, -14), arrow + QPointF(4, -8));
    painter.drawText(arrow + QPointF(-6, 14), QStringLiteral("北"));
}

}  // namespace qorvel::gui
