// Runs the window's Qt test classes: `qorvel_gui_tests NAME [Qt Test options]` runs one class,
// without a name every class runs. CTest runs each class as its own test, offscreen. The
// windows are set up as the program sets them up (settings store, translations), except that
// what they remember goes to a temporary configuration folder, never the user's.

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <functional>
#include <map>

#include "gui/program.h"
#include "gui/remembered.h"
#include "testing/gui_tests.h"

int main(int argc, char** argv) {
    using namespace qorvel::gui::testing;
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const QTemporaryDir configuration;
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, configuration.path());
    qorvel::gui::NameSettingsStore();
    if (!qorvel::gui::InstallChineseTranslations(application)) std::fprintf(stderr, "no Qt translations\n");
    const std::map<QString, std::function<std::unique_ptr<QObject>()>> classes{
        {QStringLiteral("UnitsTest"), MakeUnitsTest},
        {QStringLiteral("MainWindowTest"), MakeMainWindowTest},
        {QStringLiteral("SettingsDialogTest"), MakeSettingsDialogTest},
        {QStringLiteral("ConsentDialogTest"), MakeConsentDialogTest},
        {QStringLiteral("WindowStepsTest"), MakeWindowStepsTest},
        {QStringLiteral("WindowDrawingTest"), MakeWindowDrawingTest},
        {QStringLiteral("OneClickDialogTest"), MakeOneClickDialogTest},
        {QStringLiteral("SectionViewerTest"), MakeSectionViewerTest},
    };
    QStringList arguments = QApplication::arguments();
    QString only;
    if (arguments.size() > 1 && !arguments[1].startsWith(u'-')) only = arguments.takeAt(1);
    if (!only.isEmpty() && classes.count(only) == 0) {
        std::fprintf(stderr, "no test class %s\n", qPrintable(only));
        return 2;
    }
    int failed = 0;
    for (const auto& [name, make] : classes) {
        if (!only.isEmpty() && name != only) continue;
        const std::unique_ptr<QObject> test = make();
        failed += QTest::qExec(test.get(), arguments);
    }
    return failed == 0 ? 0 : 1;
}
