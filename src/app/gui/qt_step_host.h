#pragma once
// The window as the host of a step: its file dialogs (one for each role of file, offering again
// the file last chosen for that role), its message boxes, status bar panels and progress bar, and the text editor.
//
// A step runs to its end on the window's thread. Status and progress are painted at once with
// repaint(); about ten times a second the host also lets the window system's other events
// through (QEventLoop::ExcludeUserInputEvents), so the window stays painted and is not taken
// for hung, while clicks and keys wait in the queue. The window drops those when the step ends
// (the workbench's end of a run), so it takes no other command while a step runs.

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

    std::optional<std::string> AskFile(const FileQuestion& question) override;
    void ShowMessage(MessageRole role, std::string_view title, std::string_view text) override;
    void ShowFailure(std::string_view description) override;
    void SetStatus(int panel, std::string_view text) override;
    void SetProgress(int percent) override;
    void OpenResult(const std::string& path) override;
    void BringMainWindowToFront() override;

    // The file last chosen for files of `role`; empty before the first.
    QString LastFileOf(FileRole role) const;

private:
    void KeepWindowPainted();

    QWidget& window_;
    StepDisplay display_;
    UserInteraction& ui_;
    std::map<FileRole, QString> lastFiles_;
    QElapsedTimer sinceEvents_;
};

// Texts of the steps (UTF-8) for Qt.
QString FromUtf8(std::string_view text);

// Paths travel between Qt and the steps in the file system's own encoding.
std::string ToFileSystemPath(const QString& path);
QString FromFileSystemPath(const std::string& path);

// A file the user has marked read-only (no write permission for its owner). The save dialogs
// refuse it rather than replacing it.
bool IsReadOnlyFile(const QString& path);

}  // namespace qorvel::gui
