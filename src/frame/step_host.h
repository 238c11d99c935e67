#pragma once
// What a step needs from the front end that runs it: its files by role, message boxes, status
// bar, progress bar and text editor. The window asks in file dialogs described by the step's
// catalogue entry; the command line answers from the arguments bound to each role; the run
// from drawing to result answers from its own folder; the tests script the answers and record
// everything.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "frame/step_catalogue.h"

namespace qorvel {

enum class MessageRole {
    Summary,  // the closing count of a step, titled "提示！"
    Warning,  // a condition the user must act on; the step ends after it without writing
    Notice,   // information on the way (for example "连接CAD成功！")
};

// One file a step asks for: what it is, and for an input which of how many (from 1). A save
// question also carries the output's usual name and the inputs chosen before it (which the
// output must not be).
struct FileQuestion {
    FileSpec file;
    bool save = false;
    int position = 1;
    int count = 1;
    std::string_view usualName;            // e.g. "03-stakes.dat"
    std::span<const std::string> inputs;  // the step's inputs chosen so far
};

class StepHost {
public:
    virtual ~StepHost() = default;

    // The path of the file asked for; nothing means the user cancelled.
    virtual std::optional<std::string> AskFile(const FileQuestion& question) = 0;

    // A message box with the exclamation icon and an OK button.
    virtual void ShowMessage(MessageRole role, std::string_view title, std::string_view text) = 0;
    // A failure other than a cancelled dialog: a "警告！" box naming file, line, field and reason.
    virtual void ShowFailure(std::string_view description) = 0;

    // Status bar panel (1 or 2) and progress bar (0 to 100).
    virtual void SetStatus(int panel, std::string_view text) = 0;
    virtual void SetProgress(int percent) = 0;

    // Opens a written file in the text editor, without waiting for it.
    virtual void OpenResult(const std::string& path) = 0;

    // Raises the main window above the others again (after a step that worked in the drawing).
    virtual void BringMainWindowToFront() {}
};

}  // namespace qorvel
