// Form3 before the main window: agree (or Return) opens it (only ever one), decline (or
// Escape) ends the program; the program asked for help, or started without a display, says
// so in one language.

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "gui/consent_dialog.h"
#include "gui/main_window.h"
#include "gui/program.h"
#include "testing/gui_tests.h"
#include "support/test_files.h"
#include "testing/scripted_interaction.h"

namespace qorvel::gui::testing {
namespace {

QPushButton* Button(QWidget& dialog, const char* name) {
    auto* button = dialog.findChild<QPushButton*>(name);
    if (button == nullptr) qFatal("no %s", name);
    return button;
}

int MainWindowsOpen() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        count += widget->objectName() == "Form1" && widget->isVisible() ? 1 : 0;
    return count;
}

class ConsentDialogTest final : public QObject {
    Q_OBJECT

private slots:
    void ShownFirstWithTheDisclaimer() {
        ScriptedInteraction ui;
        Program program(ui);
        ConsentDialog& consent = program.ShowConsent();
        QVERIFY(QTest::qWaitForWindowExposed(&consent));
        QCOMPARE(consent.objectName(), QString("Form3"));
        QCOMPARE(consent.windowTitle(), QString("Form3"));
        QVERIFY(program.mainWindow() == nullptr);
        auto* text = consent.findChild<QLabel*>("Label1");
        QVERIFY(text != nullptr);
        QVERIFY(text->text().contains("检查"));
        QVERIFY(text->text().contains("责任"));
        QCOMPARE(text->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(text->font().pointSize(), 12);
        QCOMPARE(Button(consent, "Command1")->text(), QString("同意"));
        QCOMPARE(Button(consent, "Command2")->text(), QString("不同意"));
    }

    void AgreeOpensTheMainWindowOnlyOnce() {
        ScriptedInteraction ui;
        Program program(ui);
        ConsentDialog& consent = program.ShowConsent();
        QTest::mouseClick(Button(consent, "Command1"), Qt::LeftButton);
        MainWindow* window = program.mainWindow();
        QVERIFY(window != nullptr);
        QVERIFY(window->isVisible());
        QVERIFY(!consent.isVisible());
        QCOMPARE(MainWindowsOpen(), 1);
        window->Dispatch("SJin");

        // Agreeing again while the main window is open shows the same window as it was.
        QTest::mouseClick(Button(program.ShowConsent(), "Command1"), Qt::LeftButton);
        QCOMPARE(program.mainWindow(), window);
        QVERIFY(!window->isExpanded());
        QCOMPARE(MainWindowsOpen(), 1);
        QCOMPARE(ui.programEnds, 0);
    }

    void ReturnAgreesAndEscapeDeclines() {
        ScriptedInteraction ui;
        Program program(ui);
        QTest::keyClick(&program.ShowConsent(), Qt::Key_Return);
        QVERIFY(program.mainWindow() != nullptr && program.mainWindow()->isVisible());
        QCOMPARE(ui.programEnds, 0);

        Program declined(ui);
        QTest::keyClick(&declined.ShowConsent(), Qt::Key_Escape);
        QCOMPARE(ui.programEnds, 1);
        QVERIFY(declined.mainWindow() == nullptr);
    }

    void DeclineEndsTheProgram() {
        ScriptedInteraction ui;
        Program program(ui);
        QTest::mouseClick(Button(program.ShowConsent(), "Command2"), Qt::LeftButton);
        QCOMPARE(ui.programEnds, 1);
        QVERIFY(program.mainWindow() == nullptr);
    }

    void HelpAndNoDisplayAnswerInOneLanguage() {
        using qorvel::testing::RunProcess;
        const auto help = RunProcess(QORVEL_GUI_BINARY, {"--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(QString::fromStdString(help.out).startsWith("用法：qorvel-gui"));
        // No display (and no other platform to fall back on): one line of our own, exit 1.
        const auto headless = RunProcess("/usr/bin/env", {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM=xcb",
                                                          QORVEL_GUI_BINARY, "--skip-consent"});
        QCOMPARE(headless.exitCode, 1);
        QCOMPARE(QString::fromStdString(headless.err).count('\n'), 1);
        QVERIFY2(QString::fromStdString(headless.err).startsWith("错误：没有可用的显示"), headless.err.c_str());
    }
};

}  // namespace

std::unique_ptr<QObject> MakeConsentDialogTest() { return std::make_unique<ConsentDialogTest>(); }

}  // namespace qorvel::gui::testing

#include "consent_dialog_test.moc"
