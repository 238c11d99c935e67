#include "gui/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace qorvel::gui {

int TwipsToPixels(int twips, double dpi) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / kTwipsPerInch));
}

TwipScale TwipScale::For(const QWidget& widget) {
    const QScreen* screen = widget.screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    return TwipScale(screen != nullptr ? screen->logicalDotsPerInch() : 96.0);
}

}  // namespace qorvel::gui
