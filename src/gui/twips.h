#pragma once
// The window and its dialogs are laid out in twips (1/1440 inch), the unit surveyors' older
// tools used; the screen's logical dpi turns them into pixels, 15 twips to a pixel at 96 dpi,
// so the strip keeps its proportions on a high-resolution screen.

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace qorvel::gui {

inline constexpr int kTwipsPerInch = 1440;

// Rounded to the nearest pixel.
int TwipsToPixels(int twips, double dpi);

class TwipScale {
public:
    explicit TwipScale(double dpi) : dpi_(dpi) {}
    // The logical dpi of the screen `widget` is on (the primary screen before it is shown).
    static TwipScale For(const QWidget& widget);

    double dpi() const { return dpi_; }
    int operator()(int twips) const { return TwipsToPixels(twips, dpi_); }
    QPoint Point(int left, int top) const { return {(*this)(left), (*this)(top)}; }
    QSize Size(int width, int height) const { return {(*this)(width), (*this)(height)}; }
    QRect Rect(int left, int top, int width, int height) const { return {Point(left, top), Size(width, height)}; }

private:
    double dpi_;
};

}  // namespace qorvel::gui
