// The drawing in the window: "打开图形" attaches a drawing and the layer box offers its layers;
// the drawing steps run from the window write what the command line writes.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolButton>

#include "frame/drawing_summary.h"
#include "gui/main_window.h"
#include "support/test_files.h"
#include "testing/gui_tests.h"
#include "testing/scripted_interaction.h"
#include "testing/window_fixture.h"

namespace qorvel::gui::testing {
namespace {

using qorvel::testing::ReadFile;
using qorvel::testing::RunProcess;
using qorvel::testing::TempDir;

const std::string kRoute = std::string(QORVEL_SOURCE_DIR) + "/examples/route.dxf";
// The layers of the example's lines, polylines and texts, in byte order: its title, section
// lines, station labels and centre line (not "gcd", which holds only points no step reads).
const QStringList kRouteLayers{"bt", "dmx", "zh", "zxx"};

QStringList Items(const QComboBox& box) {
    QStringList items;
    for (int index = 0; index < box.count(); ++index) items << box.itemText(index);
    return items;
}

class WindowDrawingTest final : public QObject, private ShownMainWindow {
    Q_OBJECT

private:

    QComboBox& Layers() { return *window_->findChild<QComboBox*>("Combo1"); }

    // The closing message of the step, compared with the line the command line prints.
    void ExpectTheCommandLinesFile(const std::vector<std::string>& arguments, const std::string& windowFile) {
        const TempDir cli;
        std::vector<std::string> withOutput = arguments;
        withOutput.insert(withOutput.end(), {"-o", cli.File("cli.dat")});
        const auto run = RunProcess(QORVEL_BINARY, withOutput);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(ReadFile(windowFile), ReadFile(cli.File("cli.dat")));
        QVERIFY(!ui_->messages.empty());
        QCOMPARE(ui_->messages.back().title, QString("提示！"));
        QCOMPARE(ui_->messages.back().text + "\n", QString::fromStdString(run.out));
        QCOMPARE(ui_->editorCalls, std::vector<QString>{Q(windowFile)});
    }

private slots:
    void init() {
        QVERIFY(Show());
    }
    void cleanup() { Close(); }

    void OpenDrawingAttachesItAndListsItsLayers() {
        Layers().setEditText("中线");  // typed by the surveyor, kept
        ui_->Answer(Q(kRoute));
        QTest::mouseClick(window_->findChild<QToolButton*>("BT-DWG"), Qt::LeftButton);
        QCOMPARE(ui_->fileDialogs.size(), std::size_t{1});
        QCOMPARE(ui_->fileDialogs[0].instance, static_cast<int>(FileRole::Drawing));
        QVERIFY(!ui_->fileDialogs[0].save);
        QCOMPARE(ui_->fileDialogs[0].nameFilters, QStringList{"DXF图形文件(*.dxf)"});
        QCOMPARE(ui_->messages.size(), std::size_t{1});
        QCOMPARE(ui_->messages[0].text, QString("连接CAD成功！"));
        QVERIFY(window_->session().drawing != nullptr);
        QCOMPARE(SummaryOfAttachedDrawing(window_->session())->path, kRoute);
        QCOMPARE(Items(Layers()), kRouteLayers);
        QCOMPARE(Layers().currentText(), QString("中线"));

        // Cancelled: the drawing and the list stay. The instance offers the drawing again.
        ui_->Clear();
        ui_->Answer(std::nullopt);
        window_->Dispatch("BT-DWG");
        QCOMPARE(ui_->fileDialogs[0].offeredFile, Q(kRoute));
        QVERIFY(ui_->messages.empty());
        QCOMPARE(SummaryOfAttachedDrawing(window_->session())->path, kRoute);

        // A drawing that cannot be read is reported; the one attached before stays, and so
        // does its list.
        TempDir dir;
        const std::string broken = dir.Write("broken.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nx\n10\n1y\n");
        ui_->Clear();
        Layers().setEditText("dmx");
        ui_->Answer(Q(broken));
        window_->Dispatch("BT-DWG");
        QCOMPARE(ui_->messages.size(), std::size_t{1});
        QCOMPARE(ui_->messages[0].title, QString("警告！"));
        QVERIFY2(ui_->messages[0].text.contains("broken.dxf"), qPrintable(ui_->messages[0].text));
        QCOMPARE(SummaryOfAttachedDrawing(window_->session())->path, kRoute);
        QCOMPARE(Items(Layers()), kRouteLayers);
        QCOMPARE(Layers().currentText(), QString("dmx"));

        // Another drawing replaces the list.
        const std::string other = dir.Write(
            "other.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nQ1\n10\n0\n20\n0\n11\n1\n21\n1\n0\nENDSEC\n0\nEOF\n");
        ui_->Clear();
        ui_->Answer(Q(other));
        window_->Dispatch("BT-DWG");
        QCOMPARE(Items(Layers()), QStringList{"Q1"});
        QCOMPARE(Layers().currentText(), QString("dmx"));

        // At the next start, 最近打开 lists both drawings, the last first; choosing one opens it
        // as the toolbar's button does, without a dialog.
        QVERIFY(ShowAgain());
        auto* recent = window_->findChild<QMenu*>("RecentDrawings");
        QVERIFY(recent != nullptr);
        emit recent->aboutToShow();
        const QList<QAction*> entries = recent->actions();
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0]->text(), Q(other));
        QCOMPARE(entries[1]->text(), Q(kRoute));
        entries[1]->trigger();
        QVERIFY(ui_->fileDialogs.empty());
        QCOMPARE(ui_->messages.size(), std::size_t{1});
        QCOMPARE(ui_->messages[0].text, QString("连接CAD成功！"));
        QCOMPARE(SummaryOfAttachedDrawing(window_->session())->path, kRoute);
        QCOMPARE(Items(Layers()), kRouteLayers);
        emit recent->aboutToShow();
        QCOMPARE(recent->actions()[0]->text(), Q(kRoute));
    }

    void TheLayerBoxKeepsTheLettersAsTyped() {
        ui_->Answer(Q(kRoute));
        window_->Dispatch("BT-DWG");
        // "ZH" beside the drawing's "zh" stays "ZH" when the box is left.
        QLineEdit* typed = Layers().lineEdit();
        typed->clear();
        QTest::keyClicks(typed, "ZH");
        emit typed->editingFinished();
        QCOMPARE(Layers().currentText(), QString("ZH"));
        // The step reads "ZH", and its warning names it and the layers the drawing has.
        TempDir dir;
        ui_->Clear();
        ui_->Answer(Q(dir.File("labels.dat")));
        window_->Dispatch("BT3");
        QCOMPARE(ui_->messages.size(), std::size_t{2});  // "连接CAD成功！", then the warning
        QCOMPARE(ui_->messages[1].title, QString("注意！"));
        QVERIFY2(ui_->messages[1].text.contains("“ZH”") && ui_->messages[1].text.contains(kRouteLayers.join("、")),
                 qPrintable(ui_->messages[1].text));
        QVERIFY(ui_->editorCalls.empty());
        QVERIFY(!qorvel::testing::FileExists(dir.File("labels.dat")));
    }

    void DrawingStepsFromTheWindowWriteWhatTheCommandLineWrites() {
        TempDir dir;
        // The surveyor was working in another window (the drawing); step 1 brings the strip
        // back to the front when it has read the drawing.
        QWidget elsewhere;
        elsewhere.show();
        QVERIFY(QTest::qWaitForWindowExposed(&elsewhere));
        elsewhere.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &elsewhere);

        // Step 1 on the centre line asks for the drawing first, then where to save.
        Layers().setEditText("zxx");
        ui_->Answer(Q(kRoute)).Answer(Q(dir.File("vertices.dat")));
        window_->Dispatch("BT2");
        QCOMPARE(ui_->fileDialogs.size(), std::size_t{2});
        QCOMPARE(ui_->fileDialogs[0].instance, static_cast<int>(FileRole::Drawing));
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(window_.get()));
        ExpectTheCommandLinesFile({"polylines", kRoute, "--layer", "zxx"}, dir.File("vertices.dat"));
        // The step attached the drawing: the layer box lists its layers.
        QCOMPARE(Items(Layers()), kRouteLayers);
        QCOMPARE(Layers().currentText(), QString("zxx"));

        // Steps 2 and 4 reuse the drawing: only the save dialog is asked.
        ui_->Clear();
        Layers().setCurrentIndex(kRouteLayers.indexOf("zh"));
        ui_->Answer(Q(dir.File("labels.dat")));
        window_->Dispatch("BT3");
        QCOMPARE(ui_->fileDialogs.size(), std::size_t{1});
        QVERIFY(ui_->fileDialogs[0].save);
        ExpectTheCommandLinesFile({"labels", kRoute, "--layer", "zh"}, dir.File("labels.dat"));

        ui_->Clear();
        Layers().setCurrentIndex(kRouteLayers.indexOf("dmx"));
        ui_->Answer(Q(dir.File("lines.dat")));
        window_->Dispatch("BT5");
        QCOMPARE(ui_->fileDialogs.size(), std::size_t{1});
        ExpectTheCommandLinesFile({"lines", kRoute, "--layer", "dmx"}, dir.File("lines.dat"));
        // The example's own files are what these steps give.
        QCOMPARE(ReadFile(dir.File("labels.dat")), ReadFile(std::string(QORVEL_SOURCE_DIR) + "/examples/labels.dat"));
        QCOMPARE(ReadFile(dir.File("lines.dat")), ReadFile(std::string(QORVEL_SOURCE_DIR) + "/examples/lines.dat"));
    }
};

}  // namespace

std::unique_ptr<QObject> MakeWindowDrawingTest() { return std::make_unique<WindowDrawingTest>(); }

}  // namespace qorvel::gui::testing

#include "window_drawing_test.moc"
