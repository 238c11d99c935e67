#include "gui/painted_icons.h"

#include <initializer_list>

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

namespace qorvel::gui {

namespace {

constexpr qreal kCanvas = 24;

class PaintedIconEngine final : public QIconEngine {
public:
    explicit PaintedIconEngine(IconPainter painter) : painter_(painter) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setRenderHint(QPainter::TextAntialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / kCanvas, rect.height() / kCanvas);
        if (mode == QIcon::Disabled) painter->setOpacity(0.35);
        painter_(*painter);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QIconEngine* clone() const override { return new PaintedIconEngine(painter_); }

private:
    IconPainter painter_;
};

// Colours by kind of work: reading the drawing, assembling, checking, points, results.
const QColor kDrawingBlue(30, 90, 170);
const QColor kAssemblyGreen(20, 120, 60);
const QColor kCheckOrange(200, 100, 0);
const QColor kPointTeal(0, 120, 130);
const QColor kResultPurple(110, 40, 140);
const QColor kRouteGrey(110, 110, 110);

QPen Stroke(const QColor& colour, qreal width = 1.8) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Dot(QPainter& p, QPointF centre, qreal radius, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(centre, radius, radius);
}

void Glyph(QPainter& p, const QRectF& box, const QString& text, const QColor& colour, qreal pixelSize) {
    QFont font(QStringLiteral("Sans"));
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    font.setBold(true);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
}

// The step number in a round badge at the lower right corner.
void Badge(QPainter& p, int number, const QColor& colour) {
    const QPointF centre(17.5, 17.5);
    p.setPen(QPen(Qt::white, 1.2));
    p.setBrush(colour);
    p.drawEllipse(centre, 6.3, 6.3);
    const QString text = QString::number(number);
    Glyph(p, QRectF(11, 11.2, 13, 13), text, Qt::white, text.size() > 1 ? 7.5 : 9.5);
}

// A magnifying glass at the upper left, for the two checks.
void Magnifier(QPainter& p, const QColor& colour) {
    p.setBrush(QColor(255, 255, 255, 200));
    p.setPen(Stroke(colour, 2));
    p.drawEllipse(QPointF(9, 9), 6, 6);
    p.drawLine(QPointF(13.3, 13.3), QPointF(16, 16));
}

// A result sheet: a page with a folded corner, 13 wide from `left`, and rows at the heights given.
void ResultSheet(QPainter& p, qreal left, qreal bottom, std::initializer_list<qreal> rows) {
    QPainterPath page;
    page.moveTo(left, 1.5);
    page.lineTo(left + 9, 1.5);
    page.lineTo(left + 13, 5.5);
    page.lineTo(left + 13, bottom);
    page.lineTo(left, bottom);
    page.closeSubpath();
    p.setPen(QPen(kResultPurple, 1.3));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setPen(QPen(kResultPurple, 1.2));
    for (const qreal y : rows) p.drawLine(QPointF(left + 2.5, y), QPointF(left + 10.5, y));
}

}  // namespace

QIcon PaintedIcon(IconPainter painter) { return QIcon(new PaintedIconEngine(painter)); }

namespace icons {

void Settings(QPainter& p) {
    const QPointF centre(12, 12);
    QPainterPath gear;
    for (int tooth = 0; tooth < 8; ++tooth) {
        const qreal angle = tooth * 45.0;
        QTransform turn;
        turn.translate(centre.x(), centre.y()).rotate(angle);
        gear.addPolygon(turn.map(QPolygonF(QRectF(-2.2, -10.5, 4.4, 5))));
    }
    gear.addEllipse(centre, 8, 8);
    gear.setFillRule(Qt::WindingFill);
    QPainterPath hole;
    hole.addEllipse(centre, 3.2, 3.2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(85, 95, 110));
    p.drawPath(gear.simplified().subtracted(hole));
}

void OpenDrawing(QPainter& p) {
    // The folder's back, the drawing's sheet with a route and a section line on it, the front.
    const QColor folder(215, 160, 40);
    p.setPen(QPen(folder.darker(130), 1));
    p.setBrush(folder);
    QPainterPath back;
    back.moveTo(1.5, 20.5);
    back.lineTo(1.5, 4.5);
    back.lineTo(8, 4.5);
    back.lineTo(10, 6.5);
    back.lineTo(20.5, 6.5);
    back.lineTo(20.5, 20.5);
    back.closeSubpath();
    p.drawPath(back);
    p.setPen(QPen(kRouteGrey, 0.8));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5, 2.5, 14, 12));
    p.setPen(Stroke(kDrawingBlue, 1.5));
    p.drawPolyline(QPolygonF({QPointF(6.5, 12), QPointF(11, 8), QPointF(17.5, 7)}));
    p.setPen(Stroke(kCheckOrange, 1.2));
    p.drawLine(QPointF(9, 5), QPointF(13, 11));
    p.setPen(QPen(folder.darker(130), 1));
    p.setBrush(folder.lighter(120));
    p.drawPolygon(QPolygonF({QPointF(1.5, 20.5), QPointF(4.5, 11), QPointF(23, 11), QPointF(20.5, 20.5)}));
}

void OneClick(QPainter& p) {
    // The result sheet of step 10, reached in one go.
    ResultSheet(p, 2, 21.5, {8.0, 11.5, 15.0, 18.5});
    QPolygonF bolt;
    bolt << QPointF(17.5, 1) << QPointF(11.5, 12.5) << QPointF(15.5, 12.5) << QPointF(13, 23) << QPointF(22.5, 9.5)
         << QPointF(18, 9.5) << QPointF(21.5, 1);
    p.setPen(QPen(QColor(150, 70, 0), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(255, 180, 0));
    p.drawPolygon(bolt);
}

void AddCodes(QPainter& p) {
    // A luggage tag marked "K" hanging from a detail point.
    Dot(p, QPointF(4.5, 4.5), 2.2, kRouteGrey);
    p.setPen(Stroke(kRouteGrey, 1.2));
    p.drawLine(QPointF(4.5, 4.5), QPointF(7.5, 8));
    QPolygonF tag;
    tag << QPointF(6, 9) << QPointF(10, 5.5) << QPointF(17, 5.5) << QPointF(17, 12.5) << QPointF(10, 12.5);
    p.setPen(Stroke(kPointTeal, 1.4));
    p.setBrush(QColor(200, 235, 235));
    p.drawPolygon(tag);
    Glyph(p, QRectF(9.5, 5.5, 8, 7), QStringLiteral("K"), kPointTeal, 7);
    Badge(p, 8, kPointTeal);
}

void ProjectPoints(QPainter& p) {
    // Points on either side of a section line, each with an arrow onto it.
    p.setPen(Stroke(kDrawingBlue, 2));
    p.drawLine(QPointF(12, 2), QPointF(12, 22));
    p.setPen(Stroke(kPointTeal, 1.4));
    p.drawLine(QPointF(4.5, 7), QPointF(10, 7));
    p.drawLine(QPointF(10, 7), QPointF(8.2, 5.4));
    p.drawLine(QPointF(10, 7), QPointF(8.2, 8.6));
    p.drawLine(QPointF(19.5, 16), QPointF(14, 16));
    p.drawLine(QPointF(14, 16), QPointF(15.8, 14.4));
    p.drawLine(QPointF(14, 16), QPointF(15.8, 17.6));
    Dot(p, QPointF(3.5, 7), 2.2, kPointTeal);
    Dot(p, QPointF(20.5, 16), 2.2, kPointTeal);
    Dot(p, QPointF(12, 7), 1.6, kCheckOrange);
    Dot(p, QPointF(12, 16), 1.6, kCheckOrange);
}

void PolylineVertices(QPainter& p) {
    QPolygonF line;
    line << QPointF(2.5, 15) << QPointF(7, 5) << QPointF(12, 11) << QPointF(18, 3);
    p.setPen(Stroke(kDrawingBlue));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(line);
    p.setPen(QPen(kDrawingBlue, 1));
    p.setBrush(Qt::white);
    for (const QPointF& vertex : line) p.drawRect(QRectF(vertex - QPointF(1.8, 1.8), QSizeF(3.6, 3.6)));
    Badge(p, 1, kDrawingBlue);
}

void StationLabels(QPainter& p) {
    Glyph(p, QRectF(0, 0, 17, 13), QStringLiteral("K+"), kDrawingBlue, 11);
    p.setPen(Stroke(kRouteGrey, 1.5));
    p.drawLine(QPointF(1.5, 15), QPointF(11, 15));
    Badge(p, 2, kDrawingBlue);
}

void MergeStakes(QPainter& p) {
    // A station label joined to the stake point surveyed beside it.
    Glyph(p, QRectF(0, 0, 10, 11), QStringLiteral("K"), kDrawingBlue, 10);
    p.setPen(Stroke(kAssemblyGreen, 1.5));
    p.drawLine(QPointF(8.5, 6), QPointF(14.5, 6));
    p.drawLine(QPointF(14.5, 6), QPointF(12.5, 4));
    p.drawLine(QPointF(14.5, 6), QPointF(12.5, 8));
    Dot(p, QPointF(18, 6), 2.8, kAssemblyGreen);
    p.setPen(Stroke(kRouteGrey, 1.5));
    p.drawLine(QPointF(1.5, 14.5), QPointF(10, 14.5));
    Badge(p, 3, kAssemblyGreen);
}

void SectionLineEnds(QPainter& p) {
    // A section line across the route, its two ends marked.
    p.setPen(Stroke(kRouteGrey, 1.5));
    p.drawLine(QPointF(1.5, 9.5), QPointF(17, 9.5));
    p.setPen(Stroke(kDrawingBlue, 1.8));
    p.drawLine(QPointF(8, 2), QPointF(8, 17));
    Dot(p, QPointF(8, 2.5), 2.3, kCheckOrange);
    Dot(p, QPointF(8, 16.5), 2.3, kCheckOrange);
    Badge(p, 4, kDrawingBlue);
}

void CheckStakes(QPainter& p) {
    Magnifier(p, kCheckOrange);
    Glyph(p, QRectF(3, 3, 12, 12), QStringLiteral("K"), kCheckOrange, 8);
    Badge(p, 5, kCheckOrange);
}

void MatchLines(QPainter& p) {
    // The stake lying on a section line, with its chainage beside it.
    p.setPen(Stroke(kAssemblyGreen, 1.8));
    p.drawLine(QPointF(6, 1.5), QPointF(6, 18));
    p.setPen(QPen(kAssemblyGreen, 1.3));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(6, 9.5), 2.6, 2.6);
    Glyph(p, QRectF(9, 2, 10, 9), QStringLiteral("K"), kDrawingBlue, 8.5);
    Badge(p, 6, kAssemblyGreen);
}

void CheckLines(QPainter& p) {
    Magnifier(p, kCheckOrange);
    p.setPen(Stroke(kDrawingBlue, 1.5));
    p.drawLine(QPointF(9, 4.5), QPointF(9, 13.5));
    Badge(p, 7, kCheckOrange);
}

void GroupPoints(QPainter& p) {
    // Detail points gathered along one section line.
    p.setPen(Stroke(kAssemblyGreen, 1.8));
    p.drawLine(QPointF(2, 9), QPointF(20, 9));
    for (const qreal x : {3.5, 8.0, 12.5})
        Dot(p, QPointF(x, 9), 1.9, kPointTeal);
    Dot(p, QPointF(6, 3.5), 1.6, QColor(180, 180, 180));
    Dot(p, QPointF(14, 15), 1.6, QColor(180, 180, 180));
    Badge(p, 9, kAssemblyGreen);
}

void OutputSections(QPainter& p) {
    ResultSheet(p, 3, 20, {7.0, 10.0, 13.0});
    Badge(p, 10, kResultPurple);
}

void ViewSections(QPainter& p) {
    // A cross-section's ground line with its stake, and a magnifying glass over it.
    p.setPen(Stroke(kRouteGrey, 1.2));
    p.drawLine(QPointF(11, 3), QPointF(11, 21));
    QPolygonF ground;
    ground << QPointF(1.5, 14) << QPointF(5, 11) << QPointF(8.5, 13) << QPointF(11, 10) << QPointF(15, 12.5)
           << QPointF(18, 9) << QPointF(22.5, 11.5);
    p.setPen(Stroke(kAssemblyGreen, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(ground);
    p.setPen(Stroke(kResultPurple, 2));
    p.drawEllipse(QPointF(14, 9.5), 5.5, 5.5);
    p.setPen(Stroke(kResultPurple, 3));
    p.drawLine(QPointF(10, 14), QPointF(4, 20.5));
}

void ConvertSections(QPainter& p) {
    // A result sheet, an arrow, and the same sections on a sheet of another layout.
    p.setBrush(Qt::white);
    p.setPen(Stroke(kRouteGrey, 1.2));
    p.drawRect(QRectF(1.5, 2.5, 9, 12));
    p.setPen(Stroke(kResultPurple, 1.2));
    p.drawRect(QRectF(13.5, 9.5, 9, 12));
    for (const qreal y : {5.5, 8.5, 11.5}) {
        p.setPen(Stroke(kRouteGrey, 1));
        p.drawLine(QPointF(3.5, y), QPointF(8.5, y));
        p.setPen(Stroke(kResultPurple, 1));
        p.drawLine(QPointF(15.5, y + 7), QPointF(20.5, y + 7));
    }
    p.setPen(Stroke(kAssemblyGreen, 1.8));
    p.drawLine(QPointF(7, 18.5), QPointF(12, 18.5));
    p.drawLine(QPointF(10, 16.5), QPointF(12, 18.5));
    p.drawLine(QPointF(10, 20.5), QPointF(12, 18.5));
}

void About(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kDrawingBlue);
    p.drawEllipse(QPointF(12, 12), 10, 10);
    Dot(p, QPointF(12, 7), 1.7, Qt::white);
    p.setPen(Stroke(Qt::white, 2.8));
    p.drawLine(QPointF(12, 11), QPointF(12, 17.5));
}

void Exit(QPainter& p) {
    const QColor red(200, 30, 30);
    p.setPen(Stroke(red, 2.6));
    p.setBrush(Qt::NoBrush);
    // The arc leaves a gap at the top for the switch's stem.
    p.drawArc(QRectF(4, 4.5, 16, 16), 120 * 16, 300 * 16);
    p.drawLine(QPointF(12, 2.5), QPointF(12, 11.5));
}

void Expand(QPainter& p) {
    p.setPen(Stroke(kAssemblyGreen, 2.6));
    p.setBrush(Qt::NoBrush);
    for (const qreal x : {5.0, 12.0}) p.drawPolyline(QPolygonF({QPointF(x, 5), QPointF(x + 6, 12), QPointF(x, 19)}));
}

void Shrink(QPainter& p) {
    p.setPen(Stroke(kCheckOrange, 2.6));
    p.setBrush(Qt::NoBrush);
    for (const qreal x : {12.0, 19.0}) p.drawPolyline(QPolygonF({QPointF(x, 5), QPointF(x - 6, 12), QPointF(x, 19)}));
}

}  // namespace icons

}  // namespace qorvel::gui
