// Form1: its controls as the surveyor sees them, the dispatch of every key, the keyboard, the
// toggles and moving the window by its surface.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <vector>

#include "frame/result_layouts.h"
#include "gui/main_window.h"
#include "gui/one_click_dialog.h"
#include "gui/qt_step_host.h"
#include "gui/settings_dialog.h"
#include "gui/toolbar_table.h"
#include "gui/twips.h"
#include "testing/gui_tests.h"
#include "testing/scripted_interaction.h"
#include "testing/window_fixture.h"

namespace qorvel::gui::testing {
namespace {

struct KeyAndTooltip {
    const char* key;
    const char* tooltip;
};

// Toolbar1 from the left, as the surveyor knows it.
const std::vector<KeyAndTooltip> kToolbar1{
    {"BT1", "设置"},
    {"BT-CODE", "向碎步点中增加桩号代码"},
    {"BT-M", "计算碎步点移动到横断面线上的坐标"},
    {"BT-DWG", "打开图形"},
    {"BT2", "提取多段线节点坐标"},
    {"BT3", "提取中桩桩号文字信息"},
    {"BT4", "合成中桩坐标"},
    {"BT5", "提取横断面线端点坐标"},
    {"BT-Check-K", "检查有无漏掉的中桩数据"},
    {"BT6", "断面线匹配桩号"},
    {"BT7", "检查有无缺失的断面线"},
    {"BT8", "碎步点按桩号归属"},
    {"BT9", "成果输出"},
    {"BT-ALL", "一键生成断面成果"},
    {"guanyu", "关于本软件"},
    {"BT-EXIT", "退出"},
};

const std::vector<std::pair<const char*, const char*>> kCommandButtons{
    {"Command8", "1、提取多段线节点坐标"},   {"Command7", "2、提取中桩桩号文字"},
    {"Command6", "3、桩号文字与桩号坐标合并"}, {"Command1", "4、提取横断面线端点坐标"},
    {"Command10", "5、检查有无漏掉的中桩数据"}, {"Command2", "6、断面线匹配桩号"},
    {"Command5", "7、检查有无缺失的断面线"},   {"Command3", "8、碎步点添加桩号代码"},
    {"Command4", "9、碎步点按桩号归类"},       {"Command9", "10、输出成果"},
    {"Command11", "计算横断面线上的点"},
};


class MainWindowTest final : public QObject, private ShownMainWindow {
    Q_OBJECT

private:

private slots:
    void init() {
        QVERIFY(Show());
    }
    void cleanup() { Close(); }

    void StartsAsTheExpandedStrip() {
        MainWindow& w = *window_;
        QVERIFY(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(w.isExpanded());
        QVERIFY(Find<QToolBar>(w, "Toolbar3")->isVisible());  // the shrink toggle
        QVERIFY(!Find<QToolBar>(w, "Toolbar2")->isVisible());
        QCOMPARE(Find<QToolBar>(w, "Toolbar2")->pos(), Find<QToolBar>(w, "Toolbar3")->pos());

        // The strip holds every control in sight: each step's toolbar button, the two boxes and
        // the progress bar.
        QList<QWidget*> controls;
        for (const StepButton& button : StepButtons())
            if (!button.key.empty()) controls.push_back(Find<QToolButton>(w, std::string(button.key).c_str()));
        for (const char* name : {"Label1", "Combo1", "Combo2", "ProgressBar1"}) controls.push_back(Find<QWidget>(w, name));
        for (QWidget* control : controls) {
            const QRect placed(control->mapTo(&w, QPoint(0, 0)), control->size());
            QVERIFY2(control->isVisible(), qPrintable(control->objectName()));
            QVERIFY2(w.rect().contains(placed), qPrintable(control->objectName()));
        }
        QCOMPARE(Find<QStatusBar>(w, "StatusBar1")->geometry().bottom(), w.rect().bottom());

        auto* layer = Find<QComboBox>(w, "Combo1");
        QVERIFY(layer->isEditable());
        auto* layout = Find<QComboBox>(w, "Combo2");
        QVERIFY(!layout->isEditable());
        QCOMPARE(layout->count(), static_cast<int>(ResultLayouts().size()));
        QVERIFY(w.settingsDialog() == nullptr);
    }

    void ToolbarButtonsInOrderWithTheirTooltips() {
        const QList<QAction*> actions = Find<QToolBar>(*window_, "Toolbar1")->actions();
        // Later commands may join the toolbar; these stand in this order among them.
        qsizetype next = 0;
        for (const KeyAndTooltip& expected : kToolbar1) {
            while (next < actions.size() && actions[next]->objectName() != QString(expected.key)) ++next;
            QVERIFY2(next < actions.size(), expected.key);
            QVERIFY2(actions[next]->toolTip().startsWith(QString(expected.tooltip)), expected.key);
            QVERIFY(!actions[next]->icon().isNull());
            auto* button = Find<QToolButton>(*window_, expected.key);
            QCOMPARE(button->defaultAction(), actions[next]);
            QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
        }
        QCOMPARE(Find<QToolButton>(*window_, "ZKai")->toolTip(), QString("展开工具条"));
        QCOMPARE(Find<QToolButton>(*window_, "SJin")->toolTip(), QString("缩进工具条"));
        // The whole toolbar fits the strip, left of the layer box.
        QVERIFY(Find<QToolBar>(*window_, "Toolbar1")->geometry().right() < Find<QLabel>(*window_, "Label1")->x());
        // A numbered step's tooltip gives its shortcut and the files it reads.
        QCOMPARE(Find<QToolButton>(*window_, "BT4")->toolTip(), QString("合成中桩坐标（Alt+3）\n需要：桩号文字文件、碎步点文件"));
        QCOMPARE(Find<QToolButton>(*window_, "BT-ALL")->toolTip(), QString("一键生成断面成果（Ctrl+R）"));
    }

    void TheKeyboardReachesEveryCommand() {
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        // Alt+1 ... Alt+0 run steps 1 to 10 by their number; every shortcut is in its tooltip.
        for (const StepDescription& step : StepCatalogue()) {
            if (step.number < 1 || step.number > 10) continue;
            const std::string_view key = FindStepButton(step.id)->key;
            ui_->Clear();
            QTest::keyClick(window_.get(), static_cast<Qt::Key>(Qt::Key_0 + step.number % 10), Qt::AltModifier);
            QVERIFY2(!ui_->fileDialogs.empty(), key.data());
            QCOMPARE(ui_->fileDialogs[0].instance, static_cast<int>(step.inputs[0].role));
            QVERIFY(Find<QToolButton>(*window_, FromUtf8(key))->toolTip().contains(
                QString("（Alt+%1）").arg(step.number % 10)));
        }
        ui_->Clear();
        QTest::keyClick(window_.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(ui_->fileDialogs.size(), std::size_t{1});
        QCOMPARE(ui_->fileDialogs[0].title, QString("打开：路线图形"));
        QVERIFY(Find<QToolButton>(*window_, "BT-DWG")->toolTip().contains("（Ctrl+O）"));
        QTest::keyClick(window_.get(), Qt::Key_R, Qt::ControlModifier);
        QVERIFY(window_->oneClickDialog() != nullptr && window_->oneClickDialog()->isVisible());
        window_->oneClickDialog()->close();

        // Tab goes from button to button along the toolbar.
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        Find<QToolButton>(*window_, "BT1")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Find<QToolButton>(*window_, "BT-CODE")));
    }

    void CommandButtonsLieOutOfSightButWork() {
        for (const auto& [name, caption] : kCommandButtons) {
            auto* button = Find<QPushButton>(*window_, name);
            QCOMPARE(button->text(), QString(caption));
            QVERIFY2(button->geometry().top() >= window_->height(), name);  // below the strip
            // A click reaches the same command as the toolbar key.
            const StepButton* step = FindStepButtonByButton(name);
            QVERIFY(step != nullptr);
            ui_->Clear();
            window_->Dispatch(step->key);
            const auto byKeyDialogs = ui_->fileDialogs;
            const auto byKeyMessages = ui_->messages;
            ui_->Clear();
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(ui_->fileDialogs.size(), byKeyDialogs.size());
            if (!byKeyDialogs.empty()) {
                QCOMPARE(ui_->fileDialogs[0].instance, byKeyDialogs[0].instance);
                QCOMPARE(ui_->fileDialogs[0].nameFilters, byKeyDialogs[0].nameFilters);
            }
            QCOMPARE(ui_->messages.size(), byKeyMessages.size());
            if (!byKeyMessages.empty()) QCOMPARE(ui_->messages[0].text, byKeyMessages[0].text);
        }
    }

    void EveryStepKeyRunsItsStep() {
        for (const StepButton& button : StepButtons()) {
            if (button.key.empty()) continue;                   // not on the toolbar
            if (button.step == StepId::ConvertSections) continue;  // opens a dialog of its own
            const StepDescription& step = Describe(button.step);
            ui_->Clear();  // every dialog is cancelled
            window_->Dispatch(button.key);
            const QString caption = QString::fromUtf8(step.caption.data(), step.caption.size());
            QVERIFY2(!ui_->fileDialogs.empty(), qPrintable(caption));
            QCOMPARE(ui_->fileDialogs[0].instance, static_cast<int>(step.inputs[0].role));
            QVERIFY(ui_->editorCalls.empty());
            QVERIFY(!window_->isRunningStep());
        }
    }

    void SettingsAboutAndExitKeys() {
        window_->Dispatch("guanyu");
        QCOMPARE(ui_->messages.size(), std::size_t{1});
        QCOMPARE(ui_->messages[0].title, QString("QORVEL 5.0"));
        QVERIFY(ui_->messages[0].text.contains("QORVEL 5.0"));
        QVERIFY(ui_->messages[0].text.contains("建议"));

        QTest::mouseClick(Find<QToolButton>(*window_, "BT1"), Qt::LeftButton);
        SettingsDialog* settings = window_->settingsDialog();
        QVERIFY(settings != nullptr);
        QVERIFY(settings->isVisible());
        QVERIFY(!settings->isModal());

        window_->Dispatch("BT-EXIT");
        QCOMPARE(ui_->programEnds, 1);
        QVERIFY(!window_->isVisible());
        QVERIFY(window_->settingsDialog() == nullptr);
    }

    void KeysDifferingOnlyInLetterCaseDoNothing() {
        const QSize size = window_->size();
        for (const char* key : {"bt1", "Bt1", "bt-exit", "BT-exit", "Guanyu", "GUANYU", "zkai", "SJIN", "bt4",
                                "BT-Check-k", "BT-code", "bt-m", "BT4 ", " BT4", "BT10", "bt-dwg", "BT-all", ""}) {
            window_->Dispatch(key);
        }
        QVERIFY(ui_->messages.empty());
        QVERIFY(ui_->fileDialogs.empty());
        QCOMPARE(ui_->programEnds, 0);
        QVERIFY(window_->settingsDialog() == nullptr);
        QCOMPARE(window_->size(), size);
        QVERIFY(window_->isVisible());
    }

    void TogglesShrinkAndExpandTheStrip() {
        MainWindow& w = *window_;
        auto* status = Find<QStatusBar>(w, "StatusBar1");
        auto* panel2 = Find<QLabel>(*status, "Panel2");
        panel2->setText("已合并中桩坐标高程:18 个");

        const QSize expanded = w.size();
        QTest::mouseClick(Find<QToolButton>(w, "SJin"), Qt::LeftButton);
        QVERIFY(w.width() < expanded.width());
        QVERIFY(!w.isExpanded());
        QVERIFY(Find<QToolBar>(w, "Toolbar2")->isVisible());
        QVERIFY(!Find<QToolBar>(w, "Toolbar3")->isVisible());
        QVERIFY(!status->isVisible());
        // Only the toggle remains in sight.
        QVERIFY(w.rect().contains(Find<QToolBar>(w, "Toolbar2")->geometry()));
        for (const char* hidden : {"BT1", "Label1", "Combo1", "Combo2"}) {
            const QWidget* control = Find<QWidget>(w, hidden);
            QVERIFY2(control->mapTo(&w, QPoint(0, 0)).x() >= w.width(), hidden);
        }

        QTest::mouseClick(Find<QToolButton>(w, "ZKai"), Qt::LeftButton);
        QCOMPARE(w.size(), expanded);
        QVERIFY(w.isExpanded());
        QVERIFY(!Find<QToolBar>(w, "Toolbar2")->isVisible());
        QVERIFY(Find<QToolBar>(w, "Toolbar3")->isVisible());
        QVERIFY(status->isVisible());
        QCOMPARE(panel2->text(), QString("已合并中桩坐标高程:18 个"));

        // A toggle does not look at the state: expanding while expanded only swaps the toggles.
        w.Dispatch("ZKai");
        QCOMPARE(w.size(), expanded);
        QVERIFY(status->isVisible());
        w.Dispatch("SJin");
        w.Dispatch("SJin");
        QVERIFY(w.width() < expanded.width());
        QVERIFY(Find<QToolBar>(w, "Toolbar2")->isVisible());
    }

    void AnyButtonOnTheSurfaceMovesTheWindow() {
        MainWindow& w = *window_;
        const QPoint surface(4, 3);  // above the toggle, left of the toolbar
        QVERIFY(PressMovesWindow(w, surface));
        QVERIFY(!PressMovesWindow(w, Find<QLabel>(w, "Label1")->geometry().center()));
        QVERIFY(!PressMovesWindow(w, Find<QComboBox>(w, "Combo1")->geometry().center()));
        QVERIFY(!PressMovesWindow(w, Find<QToolBar>(w, "Toolbar1")->geometry().center()));
        QVERIFY(!PressMovesWindow(w, Find<QStatusBar>(w, "StatusBar1")->geometry().center()));
        QVERIFY(!PressMovesWindow(w, QPoint(w.width() + 5, 3)));

        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
            QTest::mousePress(&w, button, {}, surface);
            QTest::mouseRelease(&w, button, {}, surface);
        }
        QCOMPARE(ui_->windowMoves.size(), std::size_t{3});
        QCOMPARE(ui_->windowMoves[0], static_cast<QWidget*>(&w));
        // A press on the layer label reaches the window too, but it is on a control.
        QTest::mousePress(Find<QLabel>(w, "Label1"), Qt::LeftButton);
        QCOMPARE(ui_->windowMoves.size(), std::size_t{3});
    }
};

}  // namespace

std::unique_ptr<QObject> MakeMainWindowTest() { return std::make_unique<MainWindowTest>(); }

}  // namespace qorvel::gui::testing

#include "main_window_test.moc"
