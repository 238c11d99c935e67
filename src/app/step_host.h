#pragma once
// What a step needs from the front end that runs it: the file dialogs, message boxes, status
// bar, progress bar and text editor of the window. The desktop window shows real ones; the
// command line answers the dialogs from its arguments and prints the messages; the tests
// script the answers and record everything.

#include <optional>
#include <string>
#include <string_view>

namespace qorvel {

enum class MessageRole {
    Summary,  // the closing count of a step, titled "提示！"
    Warning,  // a condition the user must act on; the step ends after it without writing
    Notice,   // information on the way (for example "连接CAD成功！")
};

class StepHost {
public:
    virtual ~StepHost() = default;

    // Open and save dialogs. `dialog` is the dialog instance (1 to 6), which remembers the file
    // chosen in it last; `filter` is "description|pattern". Nothing means the user cancelled.
    virtual std::optional<std::string> AskOpenFile(int dialog, std::string_view filter) = 0;
    virtual std::optional<std::string> AskSaveFile(int dialog, std::string_view filter) = 0;

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
