// Opens the section viewer on the four files of a survey, as `qorvel-gui --view` does, and
// reports how long it took until the window was painted, then steps through sections one by one
// and reports the time of a step (the list moved, the section and its plan built and painted):
//
//   QT_QPA_PLATFORM=offscreen qorvel_viewer_bench MEMBERS STAKES POINTS MATCHED [STEPS=1000]

#include <QApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "gui/main_window.h"
#include "gui/program.h"
#include "gui/section_viewer.h"
#include "gui/section_views.h"
#include "gui/user_interaction.h"

namespace {

// No one to answer: a message ends the benchmark with its text.
class UnattendedInteraction final : public qorvel::gui::UserInteraction {
public:
    std::optional<QString> ChooseFile(QWidget&, const qorvel::gui::FileRequest&) override { return std::nullopt; }
    void ShowMessage(QWidget&, const QString& title, const QString& text) override {
        std::fprintf(stderr, "%s %s\n", qPrintable(title), qPrintable(text));
    }
    bool AskYesNo(QWidget&, const QString&, const QString&) override { return false; }
    bool OpenInEditor(const QString&) override { return false; }
    bool OpenWithDesktop(const QString&) override { return false; }
    void StartWindowMove(QWidget&) override {}
    void EndProgram() override {}
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);  // nothing remembered from, or for, the user
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 5) {
        std::fprintf(stderr, "usage: %s MEMBERS STAKES POINTS MATCHED [STEPS]\n", argv[0]);
        return 2;
    }
    const int steps = arguments.size() > 5 ? arguments[5].toInt() : 1000;

    UnattendedInteraction ui;
    qorvel::gui::Program program(ui);
    QElapsedTimer timer;
    timer.start();
    if (!program.ViewSections(arguments.mid(1, 4))) return 1;
    qorvel::gui::SectionViewer& viewer = *program.mainWindow()->sectionViewer();
    viewer.repaint();
    QApplication::processEvents();
    const double openSeconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;

    std::vector<double> milliseconds;
    milliseconds.reserve(static_cast<std::size_t>(std::max(steps, 0)));
    for (int step = 0; step < steps; ++step) {
        timer.restart();
        viewer.StepBy(1);
        viewer.plot().repaint();
        viewer.plan().repaint();
        milliseconds.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    double total = 0;
    for (const double ms : milliseconds) total += ms;
    const std::size_t count = milliseconds.size();
    std::printf("sections %zu  open %.2f s", viewer.listedCount(), openSeconds);
    if (count > 0)
        std::printf("  step mean %.2f ms  95%% %.2f ms  max %.2f ms", total / static_cast<double>(count),
                    milliseconds[count * 95 / 100], milliseconds.back());
    std::printf("\n");
    return 0;
}
