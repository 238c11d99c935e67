// Form2: start states, "确定" with the strict reading, the keys, "恢复默认", "取消" and the close
// box, reopening, the settings remembered between runs, and the end of the program while it is
// open.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "gui/main_window.h"
#include "gui/qt_step_host.h"
#include "gui/settings_dialog.h"
#include "testing/gui_tests.h"
#include "testing/scripted_interaction.h"
#include "testing/window_fixture.h"

namespace qorvel::gui::testing {
namespace {

QLineEdit* Box(SettingsDialog& dialog, int n) { return Find<QLineEdit>(dialog, QString("Text%1").arg(n)); }

void Type(SettingsDialog& dialog, int box, const QString& text) {
    QLineEdit* edit = Box(dialog, box);
    edit->clear();
    QTest::keyClicks(edit, text);
    QCOMPARE(edit->text(), text);
}

void Confirm(SettingsDialog& dialog) { QTest::mouseClick(Find<QPushButton>(dialog, "Command1"), Qt::LeftButton); }

// The caption beside box TextN.
QString CaptionOf(SettingsDialog& dialog, int n) {
    for (QLabel* label : dialog.findChildren<QLabel*>())
        if (label->buddy() == Box(dialog, n)) return label->text();
    return {};
}

void VerifyStartState(SettingsDialog& dialog) {
    QVERIFY(Find<QRadioButton>(dialog, "Option1")->isChecked());
    QVERIFY(!Find<QRadioButton>(dialog, "Option2")->isChecked());
    for (int n = 1; n <= 5; ++n) QVERIFY(!Find<QCheckBox>(dialog, QString("Check%1").arg(n))->isChecked());
    const QStringList start{"0.05", "0.01", "0.01", "0.05", "0.08"};
    for (int n = 1; n <= 5; ++n) QCOMPARE(Box(dialog, n)->text(), start[n - 1]);
    QCOMPARE(Find<QComboBox>(dialog, "Combo1")->currentData().toString().toStdString(), Settings{}.codePage);
}

class SettingsDialogTest final : public QObject, private ShownMainWindow {
    Q_OBJECT

private:

    SettingsDialog& Open() {
        window_->Dispatch("BT1");
        SettingsDialog* dialog = window_->settingsDialog();
        if (dialog == nullptr) qFatal("no settings dialog");
        return *dialog;
    }

private slots:
    void init() {
        QVERIFY(Show());
    }
    void cleanup() { Close(); }

    void OpensWithItsStartStatesBesideAWorkingMainWindow() {
        SettingsDialog& dialog = Open();
        QCOMPARE(dialog.objectName(), QString("Form2"));
        QCOMPARE(dialog.windowTitle(), QString("设置"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.windowModality(), Qt::NonModal);
        VerifyStartState(dialog);
        QCOMPARE(Find<QRadioButton>(dialog, "Option1")->text(), QString("图上里程为字符型"));
        QCOMPARE(Find<QRadioButton>(dialog, "Option2")->text(), QString("图上里程为数值"));
        const QStringList checks{"幅别颠倒生成", "变换高差正负号", "转换为字符型桩号", "断面桩号隔一行生成",
                                 "按路线前进方向区分左右"};
        for (int n = 1; n <= 5; ++n) QCOMPARE(Find<QCheckBox>(dialog, QString("Check%1").arg(n))->text(), checks[n - 1]);
        // The new switch keeps to the column of the others, clear of the buttons.
        QVERIFY(Find<QCheckBox>(dialog, "Check5")->y() > Find<QCheckBox>(dialog, "Check4")->y());
        QVERIFY(Find<QCheckBox>(dialog, "Check5")->geometry().bottom() < Find<QPushButton>(dialog, "Command2")->y());
        QCOMPARE(CaptionOf(dialog, 1), QString("桩号文字插入点与中桩点允许偏差值"));
        QCOMPARE(CaptionOf(dialog, 2), QString("向碎步点添加桩号代码时，允许碎步点距离横断面线的直线距离为"));
        QCOMPARE(CaptionOf(dialog, 3), QString("匹配断面线桩号时，允许中桩点与断面线的垂直距离允许值"));
        QCOMPARE(CaptionOf(dialog, 4), QString("碎步点按桩号归类时，其垂直断面线的允许距离值"));
        QCOMPARE(CaptionOf(dialog, 5), QString("生成成果时，规避中桩的距离值"));
        int metres = 0;
        for (QLabel* label : dialog.findChildren<QLabel*>()) metres += label->text() == "米" ? 1 : 0;
        QCOMPARE(metres, 5);
        QCOMPARE(Find<QPushButton>(dialog, "Command1")->text(), QString("确定"));
        QCOMPARE(Find<QPushButton>(dialog, "Command2")->text(), QString("恢复默认"));
        QCOMPARE(Find<QPushButton>(dialog, "Command3")->text(), QString("取消"));
        // The code page stands below the switches, clear of the buttons; the usual one first.
        QComboBox* codePage = Find<QComboBox>(dialog, "Combo1");
        QVERIFY(codePage->y() > Find<QCheckBox>(dialog, "Check5")->geometry().bottom());
        QVERIFY(codePage->geometry().bottom() < Find<QPushButton>(dialog, "Command2")->y());
        QCOMPARE(codePage->currentIndex(), 0);
        // Each box stands on the row of its caption, and the rows follow the dialog's order.
        QVERIFY(Box(dialog, 1)->y() < Box(dialog, 3)->y());
        QVERIFY(Box(dialog, 3)->y() < Box(dialog, 4)->y());
        QVERIFY(Box(dialog, 4)->y() < Box(dialog, 5)->y());
        QVERIFY(Box(dialog, 5)->y() < Box(dialog, 2)->y());

        // The main window still takes commands, and showing it again brings the same dialog.
        window_->Dispatch("guanyu");
        QCOMPARE(ui_->messages.size(), std::size_t{1});
        QCOMPARE(&Open(), &dialog);
    }

    void ConfirmTakesOnlyNumbersAboveZero() {
        SettingsDialog& dialog = Open();
        Type(dialog, 1, "0.1");
        // Each refused with the box named and what it takes; the dialog stays, nothing is stored.
        for (const QString& bad : {QString("0,05"), QString("abc"), QString(), QString("0"), QString("-0.1"),
                                   QString("0.1abc")}) {
            ui_->Clear();
            Type(dialog, 4, bad);
            Confirm(dialog);
            QCOMPARE(ui_->messages.size(), std::size_t{1});
            QCOMPARE(ui_->messages[0].title, QString("注意！"));
            QVERIFY2(ui_->messages[0].text.startsWith("“碎步点按桩号归类时，其垂直断面线的允许距离值”只接受大于 0 的数"),
                     qPrintable(ui_->messages[0].text));
            QVERIFY(ui_->messages[0].text.contains(bad.isEmpty() ? QString("空白") : "“" + bad + "”"));
            QVERIFY(dialog.isVisible());
            QCOMPARE(window_->SettingsInForce().stakeTolerance, 0.05);
            QCOMPARE(window_->SettingsInForce().groupTolerance, 0.05);
        }
        // The avoid distance takes any number, 0 and below included, but a number.
        Type(dialog, 4, " 2e-1 ");
        Type(dialog, 5, "0,1");
        ui_->Clear();
        Confirm(dialog);
        QCOMPARE(ui_->messages.size(), std::size_t{1});
        QVERIFY(ui_->messages[0].text.startsWith("“生成成果时，规避中桩的距离值”只接受一个数"));
        Type(dialog, 5, "-.5");
        // Return means "确定".
        QTest::keyClick(Box(dialog, 5), Qt::Key_Return);
        QCOMPARE(ui_->messages.size(), std::size_t{1});
        QCOMPARE(window_->SettingsInForce().stakeTolerance, 0.1);
        QCOMPARE(window_->SettingsInForce().groupTolerance, 0.2);
        QCOMPARE(window_->SettingsInForce().avoidDistance, -0.5);
        // Hidden, but loaded: showing it again shows what was typed.
        QVERIFY(!dialog.isVisible());
        QCOMPARE(window_->settingsDialog(), &dialog);
        QCOMPARE(&Open(), &dialog);
        QCOMPARE(Box(dialog, 4)->text(), QString(" 2e-1 "));
        // Escape closes it, forgetting what was not confirmed.
        Type(dialog, 1, "0.3");
        QTest::keyClick(Box(dialog, 1), Qt::Key_Escape);
        QVERIFY(window_->settingsDialog() == nullptr);
        QCOMPARE(window_->SettingsInForce().stakeTolerance, 0.1);
    }

    void ANumberBeyondRangeIsRefusedAndNothingStored() {
        SettingsDialog& dialog = Open();
        Type(dialog, 1, "0.3");
        Type(dialog, 3, "1e999");
        Confirm(dialog);
        QCOMPARE(ui_->messages.size(), std::size_t{1});
        QCOMPARE(ui_->messages[0].title, QString("注意！"));
        QVERIFY(ui_->messages[0].text.contains("匹配断面线桩号时"));
        QVERIFY(ui_->messages[0].text.contains("1e999"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(window_->SettingsInForce().stakeTolerance, 0.05);
        QCOMPARE(window_->SettingsInForce().matchTolerance, 0.01);
        // Corrected, it goes through.
        Type(dialog, 3, "1e9");
        Confirm(dialog);
        QCOMPARE(window_->SettingsInForce().stakeTolerance, 0.3);
        QCOMPARE(window_->SettingsInForce().matchTolerance, 1e9);

        // The sheets' scale is held to the range the command line holds it to.
        ui_->Clear();
        SettingsDialog& sheets = Open();
        Find<QLineEdit>(sheets, "SheetScale")->setText("0.5");
        Confirm(sheets);
        QCOMPARE(ui_->messages.size(), std::size_t{1});
        QVERIFY(sheets.isVisible());
        QCOMPARE(window_->SettingsInForce().sheetScale, 200.0);
    }

    void CancelEscapeAndTheCloseBoxLeaveEverySettingAsItWas() {
        SettingsDialog* dialog = &Open();
        Type(*dialog, 4, "0.07");
        Confirm(*dialog);
        QCOMPARE(window_->SettingsInForce().groupTolerance, 0.07);

        // A switch ticked, a tolerance typed, a code page chosen, then each way out without "确定".
        const auto change = [&] {
            dialog = &Open();
            Type(*dialog, 4, "0.2");
            Find<QCheckBox>(*dialog, "Check1")->click();
            Find<QCheckBox>(*dialog, "Check2")->click();
            Find<QRadioButton>(*dialog, "Option2")->click();
            Find<QComboBox>(*dialog, "Combo1")->setCurrentIndex(1);
        };
        const auto unchanged = [&] {
            QVERIFY(window_->settingsDialog() == nullptr);
            const Settings settings = window_->SettingsInForce();
            QCOMPARE(settings.groupTolerance, 0.07);
            QVERIFY(!settings.swapSides && !settings.negateHeights && !settings.numericLabels);
            QCOMPARE(settings.codePage, Settings{}.codePage);
        };
        change();
        QTest::keyClick(Find<QCheckBox>(*dialog, "Check2"), Qt::Key_Escape);
        unchanged();
        change();
        QTest::mouseClick(Find<QPushButton>(*dialog, "Command3"), Qt::LeftButton);
        unchanged();
        change();
        QVERIFY(dialog->close());
        unchanged();

        // Reopened, it shows the settings in force; the next start remembers nothing else.
        SettingsDialog& again = Open();
        QCOMPARE(Box(again, 4)->text(), QString("0.07"));
        QVERIFY(!Find<QCheckBox>(again, "Check2")->isChecked());
        QVERIFY(Find<QRadioButton>(again, "Option1")->isChecked());
        QVERIFY(ShowAgain());
        QVERIFY(!window_->SettingsInForce().swapSides);
    }

    void ConfirmedSwitchesAreSeenByAStep() {
        SettingsDialog& dialog = Open();
        Find<QRadioButton>(dialog, "Option2")->click();
        Find<QCheckBox>(dialog, "Check2")->click();
        Find<QCheckBox>(dialog, "Check4")->click();
        Find<QCheckBox>(dialog, "Check5")->click();
        Find<QComboBox>(dialog, "Combo1")->setCurrentIndex(2);
        QVERIFY(!window_->SettingsInForce().numericLabels);
        Confirm(dialog);
        Settings settings = window_->SettingsInForce();
        QVERIFY(settings.numericLabels);
        QVERIFY(!settings.swapSides);
        QVERIFY(settings.negateHeights);
        QVERIFY(!settings.stationText);
        QVERIFY(settings.blankLine);
        QVERIFY(settings.routeSides);
        QCOMPARE(FromUtf8(settings.codePage), Find<QComboBox>(dialog, "Combo1")->itemData(2).toString());
        // The two options are one choice.
        SettingsDialog& again = Open();
        Find<QRadioButton>(again, "Option1")->click();
        QVERIFY(!Find<QRadioButton>(again, "Option2")->isChecked());
        Confirm(again);
        QVERIFY(!window_->SettingsInForce().numericLabels);
    }

    void RememberedFromOneRunToTheNextUntilRestored() {
        SettingsDialog& dialog = Open();
        VerifyStartState(dialog);  // the first start
        Type(dialog, 3, "0.02");
        Type(dialog, 5, "-0.1");
        Find<QCheckBox>(dialog, "Check3")->click();
        Find<QCheckBox>(dialog, "Check5")->click();
        Find<QComboBox>(dialog, "Combo1")->setCurrentIndex(1);
        Find<QComboBox>(dialog, "SheetSize")->setCurrentIndex(2);
        Find<QLineEdit>(dialog, "SheetScale")->setText("500");
        Find<QLineEdit>(dialog, "SheetProject")->setText("示例公路");
        Find<QComboBox>(dialog, "DxfUnits")->setCurrentIndex(1);
        Confirm(dialog);
        const std::string codePage = window_->SettingsInForce().codePage;
        Find<QComboBox>(*window_, "Combo1")->setEditText("ZH");
        Find<QComboBox>(*window_, "Combo2")->setCurrentIndex(2);

        QVERIFY(ShowAgain());  // the program's next start
        const Settings remembered = window_->SettingsInForce();
        QCOMPARE(remembered.matchTolerance, 0.02);
        QCOMPARE(remembered.avoidDistance, -0.1);
        QCOMPARE(remembered.stakeTolerance, 0.05);
        QVERIFY(remembered.stationText && remembered.routeSides && !remembered.swapSides);
        QCOMPARE(remembered.layerName, std::string("ZH"));
        QCOMPARE(remembered.codePage, codePage);
        QCOMPARE(remembered.layout, std::string("3"));
        QCOMPARE(remembered.sheetSize, std::string("A1"));
        QCOMPARE(remembered.sheetScale, 500.0);
        QCOMPARE(remembered.sheetProject, std::string("示例公路"));
        QCOMPARE(remembered.dxfUnits, std::string("mm"));
        QCOMPARE(Find<QComboBox>(*window_, "Combo2")->currentText(), QString("格式 3"));
        SettingsDialog& again = Open();
        QCOMPARE(Box(again, 3)->text(), QString("0.02"));
        QVERIFY(Find<QCheckBox>(again, "Check5")->isChecked());

        // "恢复默认" brings back the start values, in force through "确定".
        QTest::mouseClick(Find<QPushButton>(again, "Command2"), Qt::LeftButton);
        VerifyStartState(again);
        QVERIFY(window_->SettingsInForce().routeSides);
        QCOMPARE(window_->SettingsInForce().matchTolerance, 0.02);
        Confirm(again);
        QVERIFY(ShowAgain());
        VerifyStartState(Open());
        QCOMPARE(window_->SettingsInForce().matchTolerance, 0.01);
    }

    void ExitClosesItAndForgetsWhatWasNotConfirmed() {
        SettingsDialog& dialog = Open();
        Type(dialog, 5, "0.5");
        window_->Dispatch("BT-EXIT");
        QVERIFY(window_->settingsDialog() == nullptr);
        QVERIFY(!window_->isVisible());
        QCOMPARE(ui_->programEnds, 1);
        QCOMPARE(window_->SettingsInForce().avoidDistance, 0.08);
    }
};

}  // namespace

std::unique_ptr<QObject> MakeSettingsDialogTest() { return std::make_unique<SettingsDialogTest>(); }

}  // namespace qorvel::gui::testing

#include "settings_dialog_test.moc"
