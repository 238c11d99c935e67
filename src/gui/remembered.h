#pragma once
// What the window keeps from one run of the program to the next, in Qt's settings store in the
// user's configuration folder (organisation "QORVEL", application "qorvel"): the settings value
// (tolerances, switches, the code page, the layer box and the layout box), the one-click dialog's
// own entries (its two layers, drawing, detail point file and output folder), the folder each
// file dialog last showed, and the five drawings last opened. Whatever was never
// stored, or was stored in a form no longer valid (a tolerance that is not a number above 0, a
// layout that does not exist), reads as its start value, so the first start shows what a new
// installation shows.
//
// The tests point the store at a temporary folder (QSettings::setPath) and empty it before each
// window they make.

#include <QString>
#include <QStringList>

#include "frame/settings.h"

namespace qorvel::gui {

// Names the application for the settings store; called once before the first window.
void NameSettingsStore();

Settings RememberedSettings();
void RememberSettings(const Settings& settings);

// What the one-click dialog was last run with; empty when never run.
enum class OneClickEntry { LabelLayer, LineLayer, Drawing, Points, OutputFolder };
QString RememberedOneClick(OneClickEntry entry);
void RememberOneClick(OneClickEntry entry, const QString& value);
// The one-click dialog's kind of section sheets ("pdf", "svg", "dxf"); empty for none.
QString RememberedSheetKind();
void RememberSheetKind(const QString& kind);

// The folder a file dialog instance (see FileRequest::instance) last showed; empty when none.
QString RememberedFolder(int dialog);
void RememberFolder(int dialog, const QString& folder);

// The drawings last opened, the newest first, at most five.
inline constexpr int kRecentDrawings = 5;
QStringList RecentDrawings();
// Puts `path` first among the recent drawings (once).
void RememberDrawing(const QString& path);

}  // namespace qorvel::gui
