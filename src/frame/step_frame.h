#pragma once
// The frame every step follows: its input files asked for by role (each read whole), its output
// asked for, the computation with status and progress, the output written in one piece, a
// closing message titled "提示！", the result opened in the text editor, and what it found
// handed back as a StepResult.
//
// A cancelled dialog ends the step without a word. Any other failure is reported with the file,
// line and field it concerns, and leaves the output file as it was: the output is written to a
// temporary file and put in place only when the step has completed. An output that is one of
// the step's own inputs is refused: the step would destroy the file it reads.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/data_file.h"
#include "core/output_text.h"
#include "core/progress.h"
#include "frame/session.h"
#include "frame/settings.h"
#include "frame/step_catalogue.h"
#include "frame/step_host.h"
#include "frame/step_result.h"

namespace qorvel {

inline constexpr const char* kSummaryTitle = "提示！";

class StepContext {
public:
    StepContext(StepHost& host, Session& session, const Settings& settings, const StepDescription& step);
    ~StepContext();

    StepHost& host() { return host_; }
    Session& session() { return session_; }
    const Settings& settings() const { return settings_; }

    // Asks for the input of `role` (one of the step's inputs) and reads it whole; a file that
    // cannot be a file of that role is refused (frame/file_shape.h).
    std::shared_ptr<const DataFile> OpenInput(FileRole role);
    // Asks for an input the step reads only when given; nullptr when none is.
    std::shared_ptr<const DataFile> OpenOptionalInput(FileRole role);
    // Asks for the input of `role` without reading it (the drawing steps read it themselves).
    std::string AskInputPath(FileRole role);
    // Asks for the step's output; a path naming one of the inputs asked for is refused.
    std::string AskOutput();

    // Status panel 2 and progress bar, forwarded to the window no more often than they change
    // visibly (each whole percent), and always at the end of a run.
    ProgressSink& progress();

    // Shows a warning box and ends the step; nothing is written.
    [[noreturn]] void Warn(std::string_view title, std::string_view text);
    void Notice(std::string_view title, std::string_view text);

    // Puts the output in place: writes it beside `path` and renames it over `path`. In a run, the
    // stages after take the output as written.
    void WriteOutput(const std::string& path, OutputText output);
    // The closing message, titled "提示！", and the count it gives. Numbers the inputs read
    // leniently from text that is no plain number are noted in the result, and the message
    // shown gets one line saying how many.
    void Summary(std::string text, std::size_t count);
    // Opens the output in the text editor.
    void OpenResult();
    // The usual ending: write, closing message, editor.
    void Finish(const std::string& path, OutputText output, std::string summary, std::size_t count);

    StepResult& result() { return result_; }

private:
    class ThrottledProgress;
    StepHost& host_;
    Session& session_;
    const Settings& settings_;
    const StepDescription& step_;
    std::unique_ptr<ThrottledProgress> progress_;
    std::vector<std::string> inputsAsked_;
    // The lenient readings of the inputs read, noted while the step runs (each log lives as long
    // as its file, which the step holds until its end).
    std::vector<std::shared_ptr<const DataFile>> inputsRead_;
    StepResult result_;
};

using StepBody = std::function<void(StepContext&)>;
// Runs `body` as step `id` in the frame: cancel, warnings and failures are turned into the
// outcome of the result.
StepResult RunStep(StepHost& host, Session& session, const Settings& settings, StepId id, const StepBody& body);

// Whether `output` names the same file as `input` (a link or another spelling counts; so does
// the same text when neither exists yet).
bool SameFile(const std::string& output, const std::string& input);
// Refuses an output that names one of `inputs`: "输出文件……就是输入文件……".
void RefuseOutputAmongInputs(const std::string& output, const std::vector<std::string>& inputs);

}  // namespace qorvel
