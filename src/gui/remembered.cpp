#include "gui/remembered.h"

#include <QCoreApplication>
#include <QSettings>
#include <array>
#include <cmath>

#include "frame/drawing_code_pages.h"
#include "frame/plot_options.h"
#include "frame/result_layouts.h"

namespace qorvel::gui {

namespace {

// The keys of the settings value in the store. Keys are ASCII and never change: a renamed key
// would forget what every surveyor has set.
struct StoredTolerance {
    const char* key;
    double Settings::*value;
    bool positive;  // must be above 0 (the avoid distance may be any number)
};
constexpr std::array kTolerances{
    StoredTolerance{"tolerances/stake", &Settings::stakeTolerance, true},
    StoredTolerance{"tolerances/match", &Settings::matchTolerance, true},
    StoredTolerance{"tolerances/group", &Settings::groupTolerance, true},
    StoredTolerance{"tolerances/avoid", &Settings::avoidDistance, false},
    StoredTolerance{"tolerances/code", &Settings::codeTolerance, true},
};
struct StoredSwitch {
    const char* key;
    bool Settings::*value;
};
constexpr std::array kSwitches{
    StoredSwitch{"switches/numericLabels", &Settings::numericLabels},
    StoredSwitch{"switches/swapSides", &Settings::swapSides},
    StoredSwitch{"switches/negateHeights", &Settings::negateHeights},
    StoredSwitch{"switches/stationText", &Settings::stationText},
    StoredSwitch{"switches/blankLine", &Settings::blankLine},
    StoredSwitch{"switches/routeSides", &Settings::routeSides},
};
const char* const kLayerKey = "strip/layer";
const char* const kLayoutKey = "strip/layout";
const char* const kCodePageKey = "drawing/codePage";
const char* const kSheetKindKey = "oneClick/sheets";
// The section sheets' options: a text each (the numbers as the dialog wrote them).
struct StoredSheetText {
    const char* key;
    std::string Settings::*value;
};
constexpr std::array kSheetTexts{
    StoredSheetText{"sheets/size", &Settings::sheetSize},
    StoredSheetText{"sheets/project", &Settings::sheetProject},
    StoredSheetText{"sheets/road", &Settings::sheetRoad},
    StoredSheetText{"sheets/drawingNumber", &Settings::drawingNumber},
    StoredSheetText{"sheets/dxfUnits", &Settings::dxfUnits},
};
struct StoredSheetNumber {
    const char* key;
    double Settings::*value;
    std::string (*problem)(double);
};
constexpr std::array kSheetNumbers{
    StoredSheetNumber{"sheets/scale", &Settings::sheetScale, SheetScaleProblem},
    StoredSheetNumber{"sheets/exaggeration", &Settings::exaggeration, ExaggerationProblem},
};
const char* const kRecentKey = "recentDrawings";

QString FolderKey(int dialog) { return QStringLiteral("folders/%1").arg(dialog); }

QLatin1String OneClickKey(OneClickEntry entry) {
    switch (entry) {
        case OneClickEntry::LabelLayer: return QLatin1String("oneClick/labelLayer");
        case OneClickEntry::LineLayer: return QLatin1String("oneClick/lineLayer");
        case OneClickEntry::Drawing: return QLatin1String("oneClick/drawing");
        case OneClickEntry::Points: return QLatin1String("oneClick/points");
        case OneClickEntry::OutputFolder: return QLatin1String("oneClick/outputFolder");
    }
    return QLatin1String("oneClick/unknown");
}

// The layout remembered: its id, or the caption under which earlier versions kept it.
const ResultLayout* RememberedLayout(const QString& stored) {
    const std::string text = stored.toStdString();
    if (const ResultLayout* layout = FindResultLayout(text)) return layout;
    return FindResultLayoutByCaption(text);
}

}  // namespace

void NameSettingsStore() {
    QCoreApplication::setOrganizationName(QStringLiteral("QORVEL"));
    QCoreApplication::setApplicationName(QStringLiteral("qorvel"));
}

Settings RememberedSettings() {
    const QSettings store;
    Settings settings;
    for (const StoredTolerance& tolerance : kTolerances) {
        bool number = false;
        const double value = store.value(QLatin1String(tolerance.key)).toDouble(&number);
        if (number && std::isfinite(value) && (value > 0 || !tolerance.positive)) settings.*tolerance.value = value;
    }
    for (const StoredSwitch& entry : kSwitches)
        settings.*entry.value = store.value(QLatin1String(entry.key), settings.*entry.value).toBool();
    const QString layer = store.value(QLatin1String(kLayerKey), QString::fromStdString(settings.layerName)).toString();
    settings.layerName = layer.toStdString();
    const QString layout = store.value(QLatin1String(kLayoutKey)).toString();
    if (const ResultLayout* remembered = RememberedLayout(layout)) settings.layout = remembered->id;
    if (auto codePage = DrawingCodePageNamed(store.value(QLatin1String(kCodePageKey)).toString().toStdString()))
        settings.codePage = *codePage;
    for (const StoredSheetNumber& number : kSheetNumbers) {
        bool read = false;
        const double value = store.value(QLatin1String(number.key)).toDouble(&read);
        if (read && number.problem(value).empty()) settings.*number.value = value;
    }
    Settings sheets = settings;
    for (const StoredSheetText& text : kSheetTexts)
        if (store.contains(QLatin1String(text.key)))
            sheets.*text.value = store.value(QLatin1String(text.key)).toString().toStdString();
    // A size or unit nobody knows: the start values.
    if (SheetOptionsProblem(sheets).empty() && DxfUnitsByName(sheets.dxfUnits)) settings = sheets;
    return settings;
}

void RememberSettings(const Settings& settings) {
    QSettings store;
    for (const StoredTolerance& tolerance : kTolerances)
        store.setValue(QLatin1String(tolerance.key), settings.*tolerance.value);
    for (const StoredSwitch& entry : kSwitches) store.setValue(QLatin1String(entry.key), settings.*entry.value);
    store.setValue(QLatin1String(kLayerKey), QString::fromStdString(settings.layerName));
    store.setValue(QLatin1String(kLayoutKey), QString::fromStdString(settings.layout));
    store.setValue(QLatin1String(kCodePageKey), QString::fromStdString(settings.codePage));
    for (const StoredSheetNumber& number : kSheetNumbers) store.setValue(QLatin1String(number.key), settings.*number.value);
    for (const StoredSheetText& text : kSheetTexts)
        store.setValue(QLatin1String(text.key), QString::fromStdString(settings.*text.value));
}

QString RememberedOneClick(OneClickEntry entry) { return QSettings().value(OneClickKey(entry)).toString(); }

void RememberOneClick(OneClickEntry entry, const QString& value) { QSettings().setValue(OneClickKey(entry), value); }

QString RememberedSheetKind() { return QSettings().value(QLatin1String(kSheetKindKey)).toString(); }

void RememberSheetKind(const QString& kind) { QSettings().setValue(QLatin1String(kSheetKindKey), kind); }

QString RememberedFolder(int dialog) { return QSettings().value(FolderKey(dialog)).toString(); }

void RememberFolder(int dialog, const QString& folder) {
    if (!folder.isEmpty()) QSettings().setValue(FolderKey(dialog), folder);
}

QStringList RecentDrawings() {
    QStringList drawings = QSettings().value(QLatin1String(kRecentKey)).toStringList();
    drawings.removeAll(QString());
    drawings.removeDuplicates();
    while (drawings.size() > kRecentDrawings) drawings.removeLast();
    return drawings;
}

void RememberDrawing(const QString& path) {
    QStringList drawings = RecentDrawings();
    drawings.removeAll(path);
    drawings.prepend(path);
    while (drawings.size() > kRecentDrawings) drawings.removeLast();
    QSettings().setValue(QLatin1String(kRecentKey), drawings);
}

}  // namespace qorvel::gui
