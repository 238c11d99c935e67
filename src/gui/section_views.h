#pragma once
// The two drawings of the section viewer: the section itself, drawn through the same figure as
// the section sheets (plot/section_figure.h) so that the screen shows what the sheets will, and
// the plan of its line, stake and member points.
//
// SectionPlotView chooses the figure's scale so that the ground of the section fills the view
// with the texts at a readable size; the wheel zooms about the mouse, a drag pans, a double
// click shows the whole section again. A grid with elevations and offsets lies behind the
// figure. Resting the mouse on a surveyed point names it (name, code, offset, elevation), in
// a tooltip and through pointHovered.

#include <QPointF>
#include <QString>
#include <QWidget>
#include <optional>

#include "frame/sections_on_view.h"
#include "plot/section_figure.h"

namespace qorvel::gui {

class SectionPlotView final : public QWidget {
    Q_OBJECT

public:
    explicit SectionPlotView(QWidget* parent = nullptr);

    // Shows `section`, the whole of it; nothing for none.
    void SetSection(std::optional<SectionDrawing> section);
    // Vertical scale over horizontal (1, 2, 5, 10); the zoom and pan stay.
    void SetExaggeration(double exaggeration);
    void ResetView();

    const std::optional<SectionDrawing>& section() const { return section_; }
    const SectionFigure& figure() const { return figure_; }
    double zoom() const { return zoom_; }
    // Where a surveyed point of the figure is drawn, in the view's pixels.
    QPointF PixelOf(const FigureMark& mark) const;
    // The text naming the surveyed point drawn within a few pixels of `pixel`; empty for none.
    QString PointTextAt(QPointF pixel) const;

signals:
    void pointHovered(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void Rebuild();
    QPointF ToPixels(PlotPoint millimetres) const;
    PlotPoint ToMillimetres(QPointF pixel) const;
    void PaintGrid(QPainter& painter) const;

    std::optional<SectionDrawing> section_;
    SectionFigure figure_;
    double exaggeration_ = 1;
    double zoom_ = 1;
    QPointF pan_;               // pixels
    double pixelsPerMm_ = 1;
    std::optional<QPointF> dragFrom_;
    QString hovered_;
};

// The plan of the section: north up, east to the right, both at one scale.
class PlanView final : public QWidget {
    Q_OBJECT

public:
    explicit PlanView(QWidget* parent = nullptr);
    void SetPlan(std::optional<SectionPlan> plan);
    const std::optional<SectionPlan>& plan() const { return plan_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<SectionPlan> plan_;
};

}  // namespace qorvel::gui
