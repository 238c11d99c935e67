#pragma once
// The window as the host of a step: its file dialogs (one for each role of file), its message
// boxes, status bar panels and progress bar, and the text editor.
//
// An open dialog is titled with what it asks for and which of how many ("打开（2/4）：碎步点文件")
// and offers the file last chosen for its role, or opens in the folder its role last showed,
// in this run or an earlier one. A save dialog is titled with what will be written
// ("保存：中桩文件") and offers the step's usual name in the folder of the step's first input (the
// attached drawing for a drawing step that did not ask for it). A name typed without an
// extension gets the one of the dialog's filter (".dat"). The host refuses, and asks again for,
// an output that is one of the step's inputs ("警告！") or a read-only file, and asks before
// replacing an existing file.
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
#include <optional>
#include <utility>

#include "frame/session.h"
#include "frame/step_host.h"
#include "gui/user_interaction.h"

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
    // `session` gives the attached drawing, whose folder the save dialogs of the drawing steps offer.
    QtStepHost(QWidget& window, StepDisplay display, UserInteraction& ui, const Session& session);

    std::optional<std::string> AskFile(const FileQuestion& question) override;
    void ShowMessage(MessageRole role, std::string_view title, std::string_view text) override;
    void ShowFailure(std::string_view description) override;
    void SetStatus(int panel, std::string_view text) override;
    void SetProgress(int percent) override;
    void OpenResult(const std::string& path) override;
    void BringMainWindowToFront() override;

    // The file last chosen for files of `role`; empty before the first.
    QString LastFileOf(FileRole role) const;

    // The next question for a file of `role` is answered with `path`, without a dialog (a
    // drawing chosen from the recent drawings is opened by the very step 打开图形 runs; the
    // viewer opens the files of a run). One answer for each role.
    void AnswerNextWith(FileRole role, const QString& path);
    // The next question for a file of `role` is answered with none (an input the step reads
    // only when given).
    void AnswerNextWithNone(FileRole role);
    // Drops the answers no question took (a step that failed before asking).
    void ForgetAnswers() { presetAnswers_.clear(); }

private:
    void KeepWindowPainted();
    FileRequest RequestFor(const FileQuestion& question) const;
    // Why `chosen` cannot be the output of `question`, or what the user said to replacing it:
    // true when it may be written.
    bool AcceptOutput(const FileQuestion& question, const QString& chosen, const QString& title);

    QWidget& window_;
    StepDisplay display_;
    UserInteraction& ui_;
    const Session& session_;
    std::map<FileRole, QString> lastFiles_;
    std::map<FileRole, std::optional<QString>> presetAnswers_;
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
