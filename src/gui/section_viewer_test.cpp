// The section viewer on a small project: opened from the toolbar, stepped through with the keys,
// filtered, searched, hovered and exported, and opened alone as `qorvel-gui --view` opens it.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui/program.h"
#include "gui/section_viewer.h"
#include "gui/section_views.h"
#include "support/test_files.h"
#include "testing/gui_tests.h"
#include "testing/scripted_interaction.h"
#include "testing/window_fixture.h"

namespace qorvel::gui::testing {
namespace {

using qorvel::testing::FileExists;
using qorvel::testing::ReadFile;
using qorvel::testing::TempDir;

class SectionViewerTest final : public QObject, private ShownMainWindow {
    Q_OBJECT

private:
    TempDir dir_;
    QStringList files_;

private slots:
    void init() {
        QVERIFY(Show());
        // Five stations 20 m apart on a route running east, their lines drawn from north to
        // south, but that of 140 from south to north; a point north and south of each stake,
        // and at 180 one a billion metres down.
        std::string members, stakes, points, lines;
        for (int k = 0; k < 5; ++k) {
            const std::string chainage = std::to_string(100 + 20 * k), x = std::to_string(500 + 20 * k);
            const std::string north = "P" + std::to_string(2 * k + 1), south = "P" + std::to_string(2 * k + 2);
            members += chainage + "," + north + "," + south + "\r\n";
            stakes += chainage + ",," + x + ",300,10\r\n";
            points += north + ",dm," + x + ",305,10.5\r\n" + south + ",gc," + x + ",295,9.5\r\n";
            lines += chainage + "," + x + (k == 2 ? ",280," + x + ",320\r\n" : ",320," + x + ",280\r\n");
        }
        members.insert(members.size() - 2, ",P11");
        points += "P11,dm,580,297,-1e9\r\n";
        files_ = {Q(dir_.Write("members.dat", members)), Q(dir_.Write("stakes.dat", stakes)),
                  Q(dir_.Write("points.dat", points)), Q(dir_.Write("matched.dat", lines))};
    }
    void cleanup() { Close(); }

    void stepsThroughFiltersHoversAndExports() {
        for (const QString& file : files_) ui_->Answer(file);
        window_->Dispatch("BT-VIEW");
        SectionViewer* viewer = window_->sectionViewer();
        QVERIFY(viewer != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        // Inside the screen's room, clear of the always-on-top strip.
        QVERIFY(window_->screen()->availableGeometry().contains(viewer->frameGeometry()));
        QVERIFY(!viewer->frameGeometry().intersects(window_->frameGeometry()));
        QVERIFY(viewer->windowTitle().startsWith(QStringLiteral("断面查看")));
        QCOMPARE(viewer->listedCount(), std::size_t{5});
        QCOMPARE(viewer->currentSection(), std::optional<std::size_t>(0));

        const auto press = [&](Qt::Key key, std::size_t expected) {
            QTest::keyClick(viewer, key);
            QCOMPARE(viewer->currentSection(), std::optional<std::size_t>(expected));
            QCOMPARE(viewer->plot().section()->station, std::to_string(100 + 20 * expected));
        };
        press(Qt::Key_PageDown, 1);
        press(Qt::Key_Down, 2);
        press(Qt::Key_End, 4);
        QVERIFY(viewer->plot().figure().clipped);
        QVERIFY(!viewer->plot().grab().isNull());  // painted, clipped to the window
        press(Qt::Key_PageDown, 4);  // nothing beyond the last
        press(Qt::Key_Home, 0);
        press(Qt::Key_PageUp, 0);

        // The point under the mouse is named with its code; the exaggeration stretches the figure.
        SectionPlotView& plot = viewer->plot();
        QVERIFY(!plot.figure().marks.empty());
        const FigureMark mark = plot.figure().marks.front();
        QTest::mouseMove(&plot, plot.PixelOf(mark).toPoint());
        const QString named = Find<QLabel>(*viewer, "PointInfo")->text();
        QVERIFY2(named.contains(QStringLiteral("P1")) && named.contains(QStringLiteral("dm")), qPrintable(named));
        Find<QComboBox>(*viewer, "Exaggeration")->setCurrentIndex(3);
        QCOMPARE(plot.figure().millimetresPerMetreUp, 10 * plot.figure().millimetresPerMetreAcross);
        QVERIFY(viewer->plan().plan().has_value());

        // Only the sections with problems are listed (the reversed line, the spike); a station
        // outside the filter lifts it.
        Find<QCheckBox>(*viewer, "ProblemsOnly")->click();
        QCOMPARE(viewer->listedCount(), std::size_t{2});
        QCOMPARE(viewer->currentSection(), std::optional<std::size_t>(2));
        QVERIFY(Find<QLabel>(*viewer, "SectionProblems")->text().contains(QStringLiteral("断面线反向")));
        auto* jump = Find<QLineEdit>(*viewer, "JumpBox");
        jump->setFocus();
        QTest::keyClicks(jump, QStringLiteral("61"));
        QTest::keyClick(jump, Qt::Key_Home);  // Home and End move in the text, not in the list
        QTest::keyClick(jump, Qt::Key_1);
        QTest::keyClick(jump, Qt::Key_End);
        QCOMPARE(jump->text(), QStringLiteral("161"));
        QCOMPARE(viewer->currentSection(), std::optional<std::size_t>(2));
        QTest::keyClick(jump, Qt::Key_Return);
        QCOMPARE(viewer->currentSection(), std::optional<std::size_t>(3));
        QCOMPARE(viewer->listedCount(), std::size_t{5});

        // An input is never written over; every section goes to a DXF.
        const std::string members = ReadFile(files_[0].toStdString());
        ui_->Clear();
        ui_->Answer(files_[0]).Answer(Q(dir_.File("all.dxf")));
        Find<QPushButton>(*viewer, "ExportAll")->click();
        QCOMPARE(ReadFile(files_[0].toStdString()), members);
        QVERIFY(FileExists(dir_.File("all.dxf")));
        QCOMPARE(ui_->messages.size(), std::size_t{2});
        QCOMPARE(ui_->messages[0].title, QStringLiteral("警告！"));
        QVERIFY2(ui_->messages[1].text.startsWith(QStringLiteral("共绘制断面 5 个")), qPrintable(ui_->messages[1].text));

        // Closed, it lets the sections go; the session keeps none.
        viewer->close();
        QVERIFY(viewer->sections() == nullptr);
        QVERIFY(window_->session().sectionsOnView == nullptr);
    }

    void opensAloneAsTheViewOptionDoes() {
        Close();
        ui_ = std::make_unique<ScriptedInteraction>();
        Program program(*ui_);
        QVERIFY(program.ViewSections(files_));
        SectionViewer* viewer = program.mainWindow()->sectionViewer();
        QVERIFY(viewer->isVisible());
        QVERIFY(!program.mainWindow()->isVisible());
        QVERIFY(ui_->fileDialogs.empty());
        viewer->close();
        QCOMPARE(ui_->programEnds, 1);
        // A file that cannot be read: its reason shown, no viewer.
        Program failing(*ui_);
        QVERIFY(!failing.ViewSections({Q(dir_.File("missing.dat")), files_[1], files_[2], files_[3]}));
        QVERIFY(failing.mainWindow()->sectionViewer() == nullptr);
        QCOMPARE(ui_->messages.back().title, QStringLiteral("警告！"));
    }
};

}  // namespace

std::unique_ptr<QObject> MakeSectionViewerTest() { return std::make_unique<SectionViewerTest>(); }

}  // namespace qorvel::gui::testing

#include "section_viewer_test.moc"
