// "一键生成断面成果" from the toolbar: the dialog asks for the drawing, the layers, the detail
// point file, the folder, the layout and the switches, runs every stage and writes what
// `qorvel run` writes; it asks before replacing an earlier run's files and leaves no empty
// folder of its own behind.

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <tuple>

#include "frame/drawing_summary.h"
#include "frame/sections_on_view.h"
#include "gui/main_window.h"
#include "gui/one_click_dialog.h"
#include "gui/qt_step_host.h"
#include "gui/section_viewer.h"
#include "gui/settings_dialog.h"
#include "support/test_files.h"
#include "testing/gui_tests.h"
#include "testing/scripted_interaction.h"
#include "testing/window_fixture.h"

namespace qorvel::gui::testing {
namespace {

using qorvel::testing::FileExists;
using qorvel::testing::ListFolder;
using qorvel::testing::ReadFile;
using qorvel::testing::RunProcess;
using qorvel::testing::TempDir;

const std::string kExamples = std::string(QORVEL_SOURCE_DIR) + "/examples/";
const std::string kRoute = kExamples + "route.dxf";
const std::string kPoints = kExamples + "points.dat";

class OneClickDialogTest final : public QObject, private ShownMainWindow {
    Q_OBJECT

private:

    OneClickDialog& Open() {
        window_->Dispatch("BT-ALL");
        OneClickDialog* dialog = window_->oneClickDialog();
        if (dialog == nullptr) qFatal("no dialog");
        return *dialog;
    }
    void Click(OneClickDialog& dialog, const char* button) {
        QTest::mouseClick(Find<QPushButton>(dialog, button), Qt::LeftButton);
    }
    // The drawing, the detail points and the folder through their buttons; the label layer typed.
    void FillIn(OneClickDialog& dialog, const std::string& folder, const QString& labelLayer) {
        ui_->Answer(Q(kRoute));
        Click(dialog, "ChooseDrawing");
        ui_->Answer(Q(kPoints));
        Click(dialog, "ChoosePoints");
        ui_->Answer(Q(folder));
        Click(dialog, "ChooseFolder");
        Find<QComboBox>(dialog, "LabelLayer")->setEditText(labelLayer);
    }

private slots:
    void init() {
        QVERIFY(Show());
    }
    void cleanup() { Close(); }

    void RunsEveryStageAndWritesWhatTheCommandLineWrites() {
        TempDir dir;
        Find<QComboBox>(*window_, "Combo2")->setCurrentIndex(2);  // 格式 3
        Find<QComboBox>(*window_, "Combo1")->setEditText("zh");     // as after step 2
        OneClickDialog& dialog = Open();
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.isModal());
        QCOMPARE(dialog.windowTitle(), QString("一键生成断面成果"));
        QCOMPARE(Find<QLineEdit>(dialog, "Drawing")->text(), QString());
        QCOMPARE(Find<QComboBox>(dialog, "LineLayer")->currentText(), QString("dmx"));  // its own, not the strip's
        QCOMPARE(Find<QComboBox>(dialog, "Layout")->currentText(), QString("格式 3"));
        // It says which steps run in which order.
        const QString order = Find<QLabel>(dialog, "Stage")->text();
        qsizetype at = 0;
        for (const StepId id : PipelineSteps()) {
            const qsizetype next = order.indexOf(FromUtf8(Describe(id).caption), at);
            QVERIFY2(next >= at, qPrintable(order));
            at = next + 1;
        }

        FillIn(dialog, dir.File("out"), "zh");
        QCOMPARE(ui_->fileDialogs.size(), std::size_t{3});
        QCOMPARE(ui_->fileDialogs[0].instance, static_cast<int>(FileRole::Drawing));
        QCOMPARE(ui_->fileDialogs[1].instance, static_cast<int>(FileRole::DetailPoints));
        QCOMPARE(ui_->fileDialogs[2].instance, kOutputFolderDialog);
        QVERIFY(ui_->fileDialogs[2].folder);
        // Choosing the drawing attached it: both layer boxes and the window's offer its layers.
        QCOMPARE(SummaryOfAttachedDrawing(window_->session())->path, kRoute);
        const QStringList layers{"bt", "dmx", "zh", "zxx"};
        for (const char* box : {"LabelLayer", "LineLayer"}) {
            QCOMPARE(Find<QComboBox>(dialog, box)->count(), 4);
            for (int index = 0; index < 4; ++index) QCOMPARE(Find<QComboBox>(dialog, box)->itemText(index), layers[index]);
        }
        QCOMPARE(Find<QComboBox>(*window_, "Combo1")->itemText(3), layers[3]);
        QCOMPARE(Find<QComboBox>(dialog, "LineLayer")->currentText(), QString("dmx"));
        QVERIFY(ui_->messages.empty());  // attached without "连接CAD成功！"

        Find<QComboBox>(dialog, "Sheets")->setCurrentIndex(3);  // DXF
        ui_->Clear();
        Click(dialog, "Start");
        QVERIFY(ui_->fileDialogs.empty());
        QVERIFY(ui_->messages.empty());
        // The closing message offers the viewer, then the sheets; 是 opens them.
        QCOMPARE(ui_->questions.size(), std::size_t{2});
        QCOMPARE(ui_->questions[0].title, QString("提示！"));
        QVERIFY(ui_->questions[1].text.contains("10-sections.dxf"));
        QCOMPARE(ui_->desktopCalls, std::vector<QString>{Q(dir.File("out/10-sections.dxf"))});
        const QString summary = ui_->questions[0].text;
        QVERIFY2(summary.startsWith("断面成果已生成：" + Q(dir.File("out/10-sections.dat"))), qPrintable(summary));
        QVERIFY2(summary.contains("05-check-stakes.dat：共检查桩号文字 54 个，有问题的 1 个！\n"), qPrintable(summary));
        QVERIFY2(summary.contains("检查发现 2 个问题：\n缺少中桩：K0+340\n缺少断面线：中桩 660\n\n"), qPrintable(summary));
        QCOMPARE(ui_->editorCalls, std::vector<QString>{Q(dir.File("out/10-sections.dat"))});
        QVERIFY(!dialog.isVisible());
        QCOMPARE(Find<QProgressBar>(dialog, "Progress")->value(), 100);
        QVERIFY(window_->sectionViewer() != nullptr && window_->sectionViewer()->isVisible());
        QCOMPARE(window_->sectionViewer()->sections()->InputPaths().front(), dir.File("out/09-members.dat"));
        // The viewer lists the stations the checks found without a section, where they would be.
        SectionViewer& viewer = *window_->sectionViewer();
        QVERIFY2(viewer.windowTitle().endsWith("另有没有断面的桩号 2 个（缺少中桩 1 个，缺少断面线 1 个）。"),
                 qPrintable(viewer.windowTitle()));
        QCOMPARE(viewer.listedCount(), std::size_t{54});
        const SectionsOnView& listed = *viewer.sections();
        for (const auto& [station, problem, before] : {std::tuple{"K0+340", "缺少中桩", "320"}, {"660", "缺少断面线", "640"}}) {
            const std::optional<std::size_t> row = listed.FindStation(station);
            QVERIFY(row && !listed.Entry(*row).hasSection);
            QCOMPARE(listed.Entry(*row).problems, std::vector<std::string>{problem});
            QCOMPARE(listed.Entry(*row - 1).station, std::string(before));
        }
        viewer.ShowProblemsOnly(true);
        QCOMPARE(viewer.listedCount(), std::size_t{2});
        viewer.ShowProblemsOnly(false);

        // The same files as the command line's run with the same layout and sheets.
        const auto run = RunProcess(QORVEL_BINARY, {"run", kRoute, kPoints, "--label-layer", "zh", "--line-layer", "dmx",
                                                    "--format", "3", "--plot", "dxf", "-o", dir.File("cli")});
        QCOMPARE(run.exitCode, 0);
        const std::vector<std::string> files = ListFolder(dir.File("cli"));
        QCOMPARE(files.size(), std::size_t{11});
        QCOMPARE(ListFolder(dir.File("out")), files);
        for (const std::string& file : files)
            QVERIFY2(ReadFile(dir.File("out/" + file)) == ReadFile(dir.File("cli/" + file)), file.c_str());
        // Each stage's closing count is the line the command line printed for it.
        for (const QString& line : QString::fromStdString(run.out).split('\n', Qt::SkipEmptyParts))
            QVERIFY2(summary.contains(line + "\n"), qPrintable(line));

        // Opened again, the dialog keeps what was entered, its layers included, and takes the
        // strip's layout and switches as they are now.
        Find<QComboBox>(*window_, "Combo2")->setCurrentIndex(4);
        Find<QComboBox>(*window_, "Combo1")->setEditText("dmx ");
        window_->Dispatch("BT1");
        Find<QCheckBox>(*window_->settingsDialog(), "Check5")->click();
        QTest::mouseClick(Find<QPushButton>(*window_->settingsDialog(), "Command1"), Qt::LeftButton);
        OneClickDialog& again = Open();
        QCOMPARE(&again, &dialog);
        QCOMPARE(Find<QProgressBar>(again, "Progress")->value(), 0);
        QCOMPARE(Find<QLineEdit>(again, "Points")->text(), Q(kPoints));
        QCOMPARE(Find<QComboBox>(again, "LabelLayer")->currentText(), QString("zh"));
        QCOMPARE(Find<QComboBox>(again, "Layout")->currentText(), QString("格式 5"));
        QCOMPARE(Find<QComboBox>(again, "LineLayer")->currentText(), QString("dmx"));
        QVERIFY(Find<QCheckBox>(again, "RouteSides")->isChecked());
        QVERIFY(!Find<QCheckBox>(again, "NumericLabels")->isChecked());
        Find<QCheckBox>(again, "NumericLabels")->click();
        QVERIFY(again.RunSettings().numericLabels && again.RunSettings().routeSides);
        QCOMPARE(again.RunSettings().layout, std::string("5"));

        // Into the same folder: the files there are listed first, and 否 runs nothing.
        Find<QComboBox>(again, "LineLayer")->setEditText("dmx");
        const std::string earlier = ReadFile(dir.File("out/10-sections.dat"));
        ui_->Clear();
        ui_->Reply(false);
        Click(again, "Start");
        QCOMPARE(ui_->questions.size(), std::size_t{1});
        for (const std::string& file : files) QVERIFY2(ui_->questions[0].text.contains(Q(file)), file.c_str());
        QVERIFY(ui_->messages.empty());
        QCOMPARE(ReadFile(dir.File("out/10-sections.dat")), earlier);
        // 是 runs, with the layout now chosen.
        ui_->Clear();
        ui_->Reply(true).Reply(false).Reply(false);
        Click(again, "Start");
        QCOMPARE(ui_->questions.size(), std::size_t{3});  // the files to replace, the viewer, the sheets
        QVERIFY(ui_->desktopCalls.empty());
        QCOMPARE(ui_->questions[1].title, QString("提示！"));
        QVERIFY(ReadFile(dir.File("out/10-sections.dat")) != earlier);

        // Its entries are remembered for the program's next start.
        Find<QComboBox>(again, "LineLayer")->setEditText("dmx");
        QVERIFY(ShowAgain());
        OneClickDialog& next = Open();
        QCOMPARE(Find<QComboBox>(next, "LabelLayer")->currentText(), QString("zh"));
        QCOMPARE(Find<QComboBox>(next, "LineLayer")->currentText(), QString("dmx"));
        QCOMPARE(Find<QLineEdit>(next, "Drawing")->text(), Q(kRoute));
        QCOMPARE(Find<QLineEdit>(next, "Points")->text(), Q(kPoints));
        QCOMPARE(Find<QLineEdit>(next, "OutputFolder")->text(), Q(dir.File("out")));
    }

    void MissingEntriesAreNamedAndNothingRuns() {
        OneClickDialog& dialog = Open();
        Find<QComboBox>(dialog, "LineLayer")->setEditText("");
        Click(dialog, "Start");
        QCOMPARE(ui_->messages.size(), std::size_t{1});
        QCOMPARE(ui_->messages[0].title, QString("注意！"));
        QCOMPARE(ui_->messages[0].text, QString("请填写：路线图形、桩号文字图层、横断面线图层、碎步点文件、输出文件夹。"));
        QVERIFY(ui_->editorCalls.empty());
        QVERIFY(dialog.isVisible());
    }

    void AStopIsReportedAndTheDialogStaysForAnotherTry() {
        TempDir dir;
        OneClickDialog& dialog = Open();
        FillIn(dialog, dir.File("out"), "ZH");  // layers compare with their letter case
        ui_->Clear();
        Click(dialog, "Start");
        QCOMPARE(ui_->messages.size(), std::size_t{2});
        QCOMPARE(ui_->messages[0].title, QString("注意！"));
        QVERIFY(ui_->messages[0].text.startsWith("该图层没有CASS高程点的实体或者没有该图层，请检查！\n"));
        QCOMPARE(ui_->messages[1].title, QString("注意！"));
        QVERIFY2(ui_->messages[1].text.startsWith("一键生成停在“2、提取中桩桩号文字”"), qPrintable(ui_->messages[1].text));
        QVERIFY(ui_->editorCalls.empty());
        QVERIFY(dialog.isVisible());
        QVERIFY(!FileExists(dir.File("out")));  // made by the run, left empty, removed
        QVERIFY(!window_->isRunningStep());

        // Put right, it runs to the end.
        ui_->Clear();
        Find<QComboBox>(dialog, "LabelLayer")->setCurrentIndex(2);  // zh
        ui_->Reply(false);
        Click(dialog, "Start");
        QCOMPARE(ui_->questions.size(), std::size_t{1});
        QCOMPARE(ui_->questions[0].title, QString("提示！"));
        QVERIFY(FileExists(dir.File("out/10-sections.dat")));
        QVERIFY(window_->sectionViewer() == nullptr);  // 否: no viewer
    }

    void AClickBesideThePathListStillCounts() {
        TempDir dir;
        dir.Write("points.dat", "");
        OneClickDialog& dialog = Open();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* points = Find<QLineEdit>(dialog, "Points");
        points->setFocus();
        QTest::keyClicks(points, Q(dir.path()) + "/p");
        QTRY_VERIFY(points->completer()->popup()->isVisible());
        // The list closes, and the button clicked beside it opens its dialog at once. The click
        // comes through the window, as the window system delivers it while the list is open.
        auto* choose = Find<QPushButton>(dialog, "ChooseFolder");
        QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {}, choose->mapTo(&dialog, choose->rect().center()));
        QVERIFY(!points->completer()->popup()->isVisible());
        QCOMPARE(ui_->fileDialogs.size(), std::size_t{1});
        QVERIFY(ui_->fileDialogs[0].folder);

        // A message (here: what is missing) is never shown under an open list.
        points->setFocus();
        QTest::keyClicks(points, "o");
        QTRY_VERIFY(points->completer()->popup()->isVisible());
        Find<QLineEdit>(dialog, "OutputFolder")->clear();
        dialog.Start();
        QCOMPARE(ui_->messages.size(), std::size_t{1});
        QVERIFY(!points->completer()->popup()->isVisible());
    }

    void TheOutputFolderFollowsTheDrawingUntilOneIsNamed() {
        TempDir dir;
        const std::string other = dir.Write("other.dxf", ReadFile(kRoute));
        OneClickDialog& dialog = Open();
        auto* folder = Find<QLineEdit>(dialog, "OutputFolder");
        ui_->Answer(Q(kRoute));
        Click(dialog, "ChooseDrawing");
        QCOMPARE(folder->text(), Q(kExamples + "route_断面成果"));
        ui_->Answer(Q(other));
        Click(dialog, "ChooseDrawing");
        QCOMPARE(folder->text(), Q(dir.File("other_断面成果")));
        folder->setText(Q(dir.File("mine")));
        ui_->Answer(Q(kRoute));
        Click(dialog, "ChooseDrawing");
        QCOMPARE(folder->text(), Q(dir.File("mine")));
    }

    void ADrawingThatCannotBeReadIsReportedWhenChosen() {
        TempDir dir;
        OneClickDialog& dialog = Open();
        ui_->Answer(Q(dir.Write("broken.dxf", "0\nSECTION\n")));
        Click(dialog, "ChooseDrawing");
        QCOMPARE(ui_->messages.size(), std::size_t{1});
        QCOMPARE(ui_->messages[0].title, QString("警告！"));
        QVERIFY(window_->session().drawing == nullptr);
        QCOMPARE(Find<QLineEdit>(dialog, "Drawing")->text(), QString());
    }
};

}  // namespace

std::unique_ptr<QObject> MakeOneClickDialogTest() { return std::make_unique<OneClickDialogTest>(); }

}  // namespace qorvel::gui::testing

#include "one_click_dialog_test.moc"
