#pragma once
// The window as the host of a step: its file dialog instances (each offers again the file last
// chosen in it), its message boxes, status bar panels and progress bar, and the text editor.
//
// A step runs to its end on the window's thread. Status and progress are painted at once with
// repaint(); about ten times a second the host also lets the window system's other events
// through (QEventLoop::ExcludeUserInputEvents), so the window stays painted and is not taken
// for hung, while clicks and keys wait in the queue. The window drops those when the step ends
// (MainWindow::RunStepCommand), so it takes no other command while a step runs.

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <map>

#include "app/gui/user_interaction.h"
#include "app/step_host.h"

class QLabel;
class QProgressBar;
class QWidget;

namespace qorvel::gui {

// Where a step's status and progress are shown.
struct StepDisplay {
    QPointer<QLabel> panel1;
    QPointer<QLabel> panel2;
    QPointer<QProgressBar> progress;
};

class QtStepHost final : public StepHost {
public:
    QtStepHost(QWidget& window, StepDisplay display, UserInteraction& ui);

    std::optional<std::string> AskOpenFile(int dialog, std::string_view filter) override;
    std::optional<std::string> AskSaveFile(int dialog, std::string_view filter) override;
    void ShowMessage(MessageRole role, std::string_view title, std::string_view text) override;
    void ShowFailure(std::string_view description) override;
    void SetStatus(int panel, std::string_view text) override;
    void SetProgress(int percent) override;
    void OpenResult(const std::string& path) override;
    void BringMainWindowToFront() override;

    // The file last chosen in dialog instance `dialog`; empty before its first use.
    QString LastFileOf(int dialog) const;

private:
    std::optional<std::string> Ask(int dialog, bool save, std::string_view filter);
    void KeepWindowPainted();

    QWidget& window_;
    StepDisplay display_;
    UserInteraction& ui_;
    std::map<int, QString> lastFiles_;
    QElapsedTimer sinceEvents_;
};

// Paths travel between Qt and the steps in the file system's own encoding.
std::string ToFileSystemPath(const QString& path);
QString FromFileSystemPath(const std::string& path);

// A file the user has marked read-only (no write permission for its owner). The save dialogs
// refuse it rather than replacing it.
bool IsReadOnlyFile(const QString& path);

}  // namespace qorvel::gui
