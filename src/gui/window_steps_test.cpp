// Whole steps run through the window with scripted dialog answers: the files must be the ones
// the command line writes, and the window must show what the step reports.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "gui/convert_dialog.h"
#include "gui/main_window.h"
#include "gui/qt_step_host.h"
#include "gui/settings_dialog.h"
#include "support/test_files.h"
#include "testing/gui_tests.h"
#include "testing/scripted_interaction.h"
#include "testing/window_fixture.h"

namespace qorvel::gui::testing {
namespace {

using qorvel::testing::FileExists;
using qorvel::testing::ReadFile;
using qorvel::testing::RunProcess;
using qorvel::testing::TempDir;

// Two stations 20 m apart on a route running east; each label sits 0.4504 m from its stake.
const char* const kLabels =
    "1,,500.250,299.625,0.000,K0+100\r\n"
    "2,,520.250,299.625,0.000,K0+120\r\n"
    "3,,540.250,299.625,0.000,K0+140\r\n";  // no stake surveyed here
const char* const kPoints =
    "1,,500,300,10.5\r\n"
    "2,,500,305,10.9\r\n"
    "3,,500.03,295,10.1\r\n"
    "4,,520,300,10.6\r\n"
    "5,,520.01,290,10.2\r\n";
const char* const kLines = "1,500,280,500,320\r\n2,520,320,520,280\r\n";

// The summary line the command line prints for the same step.
QString Cli(const std::vector<std::string>& arguments) {
    const auto run = RunProcess(QORVEL_BINARY, arguments);
    if (run.exitCode != 0) qFatal("qorvel failed: %s", run.err.c_str());
    QString out = QString::fromStdString(run.out);
    out.chop(1);  // its line end
    return out;
}

class WindowStepsTest final : public QObject, private ShownMainWindow {
    Q_OBJECT

private:
    std::vector<int> progressShown_;

    QString Panel2() { return Find<QLabel>(*window_, "Panel2")->text(); }
    void Click(const char* key) { QTest::mouseClick(Find<QToolButton>(*window_, key), Qt::LeftButton); }

private slots:
    void init() {
        QVERIFY(Show());
        progressShown_.clear();
        connect(Find<QProgressBar>(*window_, "ProgressBar1"), &QProgressBar::valueChanged, this,
                [this](int value) { progressShown_.push_back(value); });
    }
    void cleanup() { Close(); }

    void StepsThreeSixAndNineWriteWhatTheCommandLineWrites() {
        TempDir dir;
        const std::string labels = dir.Write("labels.dat", kLabels);
        const std::string points = dir.Write("points.dat", kPoints);
        const std::string lines = dir.Write("lines.dat", kLines);

        // Step 3.
        ui_->Answer(Q(labels)).Answer(Q(points)).Answer(Q(dir.File("stakes.dat")));
        Click("BT4");
        QCOMPARE(ui_->fileDialogs.size(), std::size_t{3});
        QCOMPARE(ui_->fileDialogs[0].instance, static_cast<int>(FileRole::StationLabels));
        QVERIFY(!ui_->fileDialogs[0].save);
        QCOMPARE(ui_->fileDialogs[0].nameFilters, QStringList{"提取的桩号文字信息_dat文件(*.dat)"});
        QCOMPARE(ui_->fileDialogs[0].offeredFile, QString());
        QCOMPARE(ui_->fileDialogs[0].title, QString("打开（1/2）：桩号文字文件"));
        QCOMPARE(ui_->fileDialogs[1].title, QString("打开（2/2）：碎步点文件"));
        QCOMPARE(ui_->fileDialogs[2].title, QString("保存：中桩文件"));
        // The save dialog offers the usual name beside the first input.
        QCOMPARE(ui_->fileDialogs[2].offeredFile, Q(dir.File("03-stakes.dat")));
        QCOMPARE(ui_->fileDialogs[1].instance, static_cast<int>(FileRole::DetailPoints));
        QCOMPARE(ui_->fileDialogs[1].nameFilters, QStringList{"全图碎步点数据_dat文件(*.dat)"});
        QCOMPARE(ui_->fileDialogs[2].instance, static_cast<int>(FileRole::CentreStakes));
        QVERIFY(ui_->fileDialogs[2].save);
        QCOMPARE(ui_->fileDialogs[2].nameFilters, QStringList{"保存_中桩数据dat文件(*.dat)"});
        QCOMPARE(ReadFile(dir.File("stakes.dat")), std::string("100,,500.000,300.000,10.500\r\n"
                                                               "120,,520.000,300.000,10.600\r\n"));
        QCOMPARE(ui_->messages.size(), std::size_t{1});
        QCOMPARE(ui_->messages[0].title, QString("提示！"));
        QCOMPARE(ui_->messages[0].text, QString("本次共合成中桩坐标个数 2 个！"));
        QCOMPARE(ui_->editorCalls, std::vector<QString>{Q(dir.File("stakes.dat"))});
        QCOMPARE(Panel2(), QString("已合并中桩坐标高程:3 个"));
        QCOMPARE(progressShown_, (std::vector<int>{33, 66, 100}));
        QCOMPARE(ui_->messages[0].text, Cli({"stakes", labels, points, "-o", dir.File("cli-stakes.dat")}));
        QCOMPARE(ReadFile(dir.File("stakes.dat")), ReadFile(dir.File("cli-stakes.dat")));

        // Step 6, from its command button.
        ui_->Clear();
        ui_->Answer(Q(dir.File("stakes.dat"))).Answer(Q(lines)).Answer(Q(dir.File("matched.dat")));
        QTest::mouseClick(Find<QPushButton>(*window_, "Command2"), Qt::LeftButton);
        QCOMPARE(ReadFile(dir.File("matched.dat")), std::string("100,500,280,500,320\r\n120,520,320,520,280\r\n"));
        QCOMPARE(ui_->messages.size(), std::size_t{1});
        QCOMPARE(ui_->messages[0].text,
                 Cli({"match", dir.File("stakes.dat"), lines, "-o", dir.File("cli-matched.dat")}));
        QCOMPARE(ReadFile(dir.File("matched.dat")), ReadFile(dir.File("cli-matched.dat")));
        // Each open dialog offers the file of its role last chosen, whichever step chose it: the
        // centre stakes step 3 has just written.
        QCOMPARE(ui_->fileDialogs[0].offeredFile, Q(dir.File("stakes.dat")));
        QCOMPARE(ui_->fileDialogs[1].offeredFile, QString());
        QCOMPARE(ui_->fileDialogs[2].offeredFile, Q(dir.File("06-matched.dat")));
        QCOMPARE(ui_->editorCalls, std::vector<QString>{Q(dir.File("matched.dat"))});

        // Step 9.
        ui_->Clear();
        progressShown_.clear();
        ui_->Answer(Q(dir.File("matched.dat"))).Answer(Q(points)).Answer(Q(dir.File("members.dat")));
        Click("BT8");
        QCOMPARE(ReadFile(dir.File("members.dat")), std::string("100,1,2,3\r\n120,4,5\r\n"));
        QCOMPARE(ui_->messages.size(), std::size_t{1});
        QCOMPARE(ui_->messages[0].title, QString("提示！"));
        QCOMPARE(ui_->messages[0].text,
                 Cli({"group", dir.File("matched.dat"), points, "-o", dir.File("cli-members.dat")}));
        QCOMPARE(ReadFile(dir.File("members.dat")), ReadFile(dir.File("cli-members.dat")));
        QCOMPARE(Panel2(), QString("完成添加归属点号的桩号有： 2 个"));
        QCOMPARE(progressShown_, (std::vector<int>{50, 100}));
        QCOMPARE(window_->host().LastFileOf(FileRole::Membership), Q(dir.File("members.dat")));
    }

    void CancelEndsAStepWithoutAWord() {
        TempDir dir;
        Find<QLabel>(*window_, "Panel2")->setText("上一步");
        ui_->Answer(std::nullopt);
        Click("BT4");
        QCOMPARE(ui_->fileDialogs.size(), std::size_t{1});
        QVERIFY(ui_->messages.empty());
        QVERIFY(ui_->editorCalls.empty());
        QCOMPARE(Panel2(), QString("上一步"));

        // Cancelling the save dialog after the inputs were read writes nothing.
        ui_->Clear();
        ui_->Answer(Q(dir.Write("labels.dat", kLabels))).Answer(Q(dir.Write("points.dat", kPoints))).Answer(std::nullopt);
        Click("BT4");
        QCOMPARE(ui_->fileDialogs.size(), std::size_t{3});
        QVERIFY(ui_->messages.empty());
        QCOMPARE(qorvel::testing::ListFolder(dir.path()), (std::vector<std::string>{"labels.dat", "points.dat"}));
        // A cancelled dialog does not forget the file the instance offered.
        QCOMPARE(window_->host().LastFileOf(FileRole::CentreStakes), QString());
        QCOMPARE(window_->host().LastFileOf(FileRole::StationLabels), Q(dir.File("labels.dat")));
    }

    void AFailureIsReportedAndLeavesTheOutputAlone() {
        TempDir dir;
        const std::string matched = dir.Write("matched.dat", "1200,0,0,10,0\n\n1220,0,5\n");
        const std::string output = dir.Write("members.dat", "earlier result\r\n");
        ui_->Answer(Q(matched)).Answer(Q(dir.Write("points.dat", kPoints))).Answer(Q(output));
        window_->Dispatch("BT8");
        QCOMPARE(ui_->messages.size(), std::size_t{1});
        QCOMPARE(ui_->messages[0].title, QString("警告！"));
        QVERIFY2(ui_->messages[0].text.contains("matched.dat"), qPrintable(ui_->messages[0].text));
        QVERIFY2(ui_->messages[0].text.contains("第 3 行"), qPrintable(ui_->messages[0].text));
        QVERIFY(ui_->editorCalls.empty());
        QCOMPARE(ReadFile(output), std::string("earlier result\r\n"));

        // A path that does not exist, typed into an open dialog, is reported too.
        ui_->Clear();
        ui_->Answer(Q(dir.File("no such file.dat")));
        window_->Dispatch("BT8");
        QCOMPARE(ui_->messages.size(), std::size_t{1});
        QCOMPARE(ui_->messages[0].title, QString("警告！"));
        QVERIFY(ui_->messages[0].text.contains("no such file.dat"));
    }

    void FilesInTheWrongOrderAreNamedAfterTheSummary() {
        TempDir dir;
        ui_->Answer(Q(dir.Write("points.dat", kPoints))).Answer(Q(dir.Write("labels.dat", kLabels)));
        ui_->Answer(Q(dir.File("stakes.dat")));
        window_->Dispatch("BT4");
        QCOMPARE(ui_->messages.size(), std::size_t{2});
        QCOMPARE(ui_->messages[0].title, QString("提示！"));
        QCOMPARE(ui_->messages[0].text, QString("本次共合成中桩坐标个数 0 个！"));
        QCOMPARE(ui_->messages[1].title, QString("注意！"));
        QVERIFY2(ui_->messages[1].text.contains("顺序弄反"), qPrintable(ui_->messages[1].text));
        QCOMPARE(ui_->editorCalls.size(), std::size_t{1});
    }

    void TheSettingsDialogAndTheBoxesReachTheStep() {
        TempDir dir;
        // A label written as a plain chainage, and a stake 0.02 m from where its label puts it.
        const std::string labels = dir.Write("labels.dat", "1,,100,200,0,1200\n2,,100,220,0,K1+220\n");
        const std::string points = dir.Write("points.dat", "A,,99.75,200.375,1\nB,,99.75,220.395,2\n");
        const std::string output = dir.File("s.dat");

        // "图上里程为数值" ticked and confirmed.
        window_->Dispatch("BT1");
        Find<QRadioButton>(*window_->settingsDialog(), "Option2")->click();
        QTest::mouseClick(Find<QPushButton>(*window_->settingsDialog(), "Command1"), Qt::LeftButton);
        Find<QComboBox>(*window_, "Combo1")->setCurrentText("中线 桩号");
        Find<QComboBox>(*window_, "Combo2")->setCurrentIndex(3);
        ui_->Answer(Q(labels)).Answer(Q(points)).Answer(Q(output));
        window_->Dispatch("BT4");
        QCOMPARE(ReadFile(output), std::string("1200,,99.750,200.375,1.000\r\n1220,,99.750,220.395,2.000\r\n"));
        QVERIFY(window_->SettingsInForce().numericLabels);
        QCOMPARE(window_->SettingsInForce().layerName, std::string("中线 桩号"));
        QCOMPARE(window_->SettingsInForce().layout, std::string("4"));

        // A tolerance and a switch, through "确定".
        window_->Dispatch("BT1");
        SettingsDialog* dialog = window_->settingsDialog();
        Find<QLineEdit>(*dialog, "Text1")->setText("0.01");
        Find<QRadioButton>(*dialog, "Option1")->click();
        QTest::mouseClick(Find<QPushButton>(*dialog, "Command1"), Qt::LeftButton);
        ui_->Clear();
        ui_->Answer(Q(labels)).Answer(Q(points)).Answer(Q(output));
        window_->Dispatch("BT4");
        QVERIFY(!window_->SettingsInForce().numericLabels);
        QCOMPARE(window_->SettingsInForce().stakeTolerance, 0.01);
        QCOMPARE(ReadFile(output), std::string(",,99.750,200.375,1.000\r\n"));
    }

    void AnOutputThatWouldDestroyAFileIsRefused() {
        TempDir dir;
        const std::string points = dir.Write("points.dat", kPoints);
        const std::string readOnly = dir.Write("locked.dat", "kept\r\n");
        QVERIFY(QFile::setPermissions(Q(readOnly), QFileDevice::ReadOwner));
        const std::string earlier = dir.Write("earlier.dat", "earlier\r\n");
        // One of the step's own inputs (through a link), a read-only file, an existing file the
        // surveyor will not replace, then a name without an extension.
        QVERIFY(QFile::link(Q(points), Q(dir.File("link.dat"))));
        ui_->Answer(Q(dir.Write("labels.dat", kLabels)))
            .Answer(Q(points))
            .Answer(Q(dir.File("link.dat")))
            .Answer(Q(readOnly))
            .Answer(Q(earlier))
            .Answer(Q(dir.File("stakes")));
        ui_->Reply(false);
        window_->Dispatch("BT4");
        QCOMPARE(ui_->fileDialogs.size(), std::size_t{6});
        for (std::size_t again = 3; again < 6; ++again) {
            QCOMPARE(ui_->fileDialogs[again].instance, static_cast<int>(FileRole::CentreStakes));
            QVERIFY(ui_->fileDialogs[again].save);
        }
        QCOMPARE(ui_->fileDialogs[4].offeredFile, Q(readOnly));
        QCOMPARE(ui_->messages.size(), std::size_t{3});
        QCOMPARE(ui_->messages[0].title, QString("警告！"));
        QVERIFY2(ui_->messages[0].text.contains("输入文件"), qPrintable(ui_->messages[0].text));
        QCOMPARE(ui_->messages[1].title, QString("注意！"));
        QVERIFY(ui_->messages[1].text.contains("只读"));
        QCOMPARE(ui_->questions.size(), std::size_t{1});
        QVERIFY(ui_->questions[0].text.contains(Q(earlier)));
        QCOMPARE(ui_->messages[2].title, QString("提示！"));
        QCOMPARE(ReadFile(points), std::string(kPoints));
        QCOMPARE(ReadFile(readOnly), std::string("kept\r\n"));
        QCOMPARE(ReadFile(earlier), std::string("earlier\r\n"));
        QVERIFY(FileExists(dir.File("stakes.dat")));
        QCOMPARE(ui_->editorCalls, std::vector<QString>{Q(dir.File("stakes.dat"))});
        QFile::setPermissions(Q(readOnly), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void DialogsOpenWhereTheyWereLastTime() {
        TempDir dir;
        ui_->Answer(Q(dir.Write("labels.dat", kLabels))).Answer(Q(dir.Write("points.dat", kPoints))).Answer(std::nullopt);
        window_->Dispatch("BT4");
        QVERIFY(ShowAgain());  // the program's next start
        ui_->Answer(std::nullopt);
        window_->Dispatch("BT-Check-K");  // step 5 reads the labels too
        QCOMPARE(ui_->fileDialogs.size(), std::size_t{1});
        QCOMPARE(ui_->fileDialogs[0].offeredFile, QString());
        QCOMPARE(QDir(ui_->fileDialogs[0].directory), QDir(Q(dir.path())));
    }

    void WithoutAnEditorTheSurveyorIsToldWhereTheResultIs() {
        TempDir dir;
        ui_->editorStarts = false;
        ui_->Answer(Q(dir.Write("labels.dat", kLabels))).Answer(Q(dir.Write("points.dat", kPoints)));
        ui_->Answer(Q(dir.File("stakes.dat")));
        window_->Dispatch("BT4");
        QCOMPARE(ui_->editorCalls.size(), std::size_t{1});
        QCOMPARE(ui_->messages.size(), std::size_t{2});
        QCOMPARE(ui_->messages[1].title, QString("注意！"));
        QVERIFY(ui_->messages[1].text.contains(Q(dir.File("stakes.dat"))));
    }

    void TheWindowTakesNoCommandWhileAStepRuns() {
        TempDir dir;
        bool checked = false;
        ui_->duringMessage = [&](const ScriptedInteraction::Message& message) {
            if (message.title != "提示！" || checked) return;
            checked = true;
            QVERIFY(window_->isRunningStep());
            window_->Dispatch("BT1");
            window_->Dispatch("guanyu");
            QTest::mouseClick(Find<QPushButton>(*window_, "Command6"), Qt::LeftButton);
            QVERIFY(!window_->close());
        };
        ui_->Answer(Q(dir.Write("labels.dat", kLabels))).Answer(Q(dir.Write("points.dat", kPoints)));
        ui_->Answer(Q(dir.File("stakes.dat")));
        window_->Dispatch("BT4");
        QVERIFY(checked);
        QCOMPARE(ui_->fileDialogs.size(), std::size_t{3});
        QCOMPARE(ui_->messages.size(), std::size_t{1});
        QVERIFY(window_->settingsDialog() == nullptr);
        QVERIFY(window_->isVisible());
        QVERIFY(!window_->isRunningStep());

        // Twice in a row runs the step twice from its start.
        ui_->Clear();
        for (int run = 0; run < 2; ++run)
            ui_->Answer(Q(dir.File("labels.dat"))).Answer(Q(dir.File("points.dat"))).Answer(Q(dir.File("again.dat")));
        window_->Dispatch("BT4");
        window_->Dispatch("BT4");
        QCOMPARE(ui_->fileDialogs.size(), std::size_t{6});
        QCOMPARE(ui_->messages.size(), std::size_t{2});
        QCOMPARE(ui_->messages[0].text, ui_->messages[1].text);
        QCOMPARE(ReadFile(dir.File("again.dat")), ReadFile(dir.File("stakes.dat")));
    }

    // 格式转换 in its dialog writes what the command line's convert writes.
    void TheConvertDialogWritesWhatTheCommandLineWrites() {
        TempDir dir;
        const std::string begin = dir.Write("begin.dat", "BEGIN,1100:1\r\n-3.250,52.100\r\n0.000,52.300\r\n4.100,52.450\r\n");
        Click("BT-CONV");
        ConvertDialog* dialog = window_->convertDialog();
        QVERIFY(dialog != nullptr && dialog->isVisible());
        ui_->Answer(Q(begin));
        QTest::mouseClick(Find<QPushButton>(*dialog, "ChooseInput"), Qt::LeftButton);
        QCOMPARE(Find<QLabel>(*dialog, "Detected")->text(), QString("文件内容为：BEGIN 块"));
        Find<QComboBox>(*dialog, "To")->setCurrentIndex(Find<QComboBox>(*dialog, "To")->findData("4"));
        ui_->Answer(Q(dir.File("window.dat")));
        QTest::mouseClick(Find<QPushButton>(*dialog, "ConvertButton"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(ui_->messages.back().text, Cli({"convert", begin, "--to", "4", "-o", dir.File("cli.dat")}));
        QCOMPARE(ReadFile(dir.File("window.dat")), ReadFile(dir.File("cli.dat")));
    }
};

}  // namespace

std::unique_ptr<QObject> MakeWindowStepsTest() { return std::make_unique<WindowStepsTest>(); }

}  // namespace qorvel::gui::testing

#include "window_steps_test.moc"
