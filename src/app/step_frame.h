#pragma once
// The frame every step follows: open dialogs for its inputs (each file read whole), a save
// dialog for its output, the computation with status and progress, the output written in one
// piece, a closing message titled "提示！", the result opened in the text editor.
//
// A cancelled dialog ends the step without a word. Any other failure is reported with the file,
// line and field it concerns, and leaves the output file as it was: the output is written to a
// temporary file and put in place only when the step has completed.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "app/session.h"
#include "app/step_host.h"
#include "core/data_file.h"
#include "core/output_text.h"
#include "core/progress.h"

namespace qorvel {

enum class StepOutcome {
    Completed,  // the output was written and the closing message shown
    Cancelled,  // the user cancelled a dialog
    Warned,     // the step ended on one of its warnings; nothing was written
    Failed,     // a failure was reported; nothing was written
};

inline constexpr const char* kSummaryTitle = "提示！";

class StepContext {
public:
    StepContext(StepHost& host, Session& session);
    ~StepContext();

    StepHost& host() { return host_; }
    Session& session() { return session_; }
    const Settings& settings() const { return session_.settings; }

    // Shows open dialog `dialog` with `filter` and reads the chosen file whole.
    DataFile OpenInput(int dialog, std::string_view filter);
    // Asks for a path in open dialog `dialog` without reading it (the drawing steps read it).
    std::string AskInputPath(int dialog, std::string_view filter);
    // Shows save dialog `dialog` with `filter`; the path is remembered as the last file name.
    std::string AskOutput(int dialog, std::string_view filter);

    // Status panel 2 and progress bar, forwarded to the window no more often than they change
    // visibly (each whole percent), and always at the end of a run.
    ProgressSink& progress();

    // Shows a warning box and ends the step; nothing is written.
    [[noreturn]] void Warn(std::string_view title, std::string_view text);
    void Notice(std::string_view title, std::string_view text);

    // Puts the output in place: writes it beside `path` and renames it over `path`.
    void WriteOutput(const std::string& path, const OutputText& output);
    void WriteOutput(const std::string& path, std::string_view bytes);
    // The closing message, titled "提示！".
    void Summary(std::string_view text);
    // Opens the file last chosen in a dialog (the output) in the text editor.
    void OpenResult();
    // The usual ending: write, closing message, editor.
    void Finish(const std::string& path, const OutputText& output, std::string_view summary);

private:
    class ThrottledProgress;
    StepHost& host_;
    Session& session_;
    std::unique_ptr<ThrottledProgress> progress_;
};

using StepBody = std::function<void(StepContext&)>;
// Runs `body` in the frame: cancel, warnings and failures are turned into the outcome.
StepOutcome RunStep(StepHost& host, Session& session, const StepBody& body);

using StepProcedure = StepOutcome (*)(StepHost& host, Session& session);

}  // namespace qorvel
