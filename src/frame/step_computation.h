#pragma once
// What a file step computes, apart from the frame around it. The frame asks for the step's
// inputs in the order of its catalogue entry (each read whole), then for its output, runs the
// computation, writes what it hands back in one piece, shows the closing message and opens the
// result; cancel, warnings and failures end it as every step ends (frame/step_frame.h). The
// computation sees its files by role and nothing of dialogs, paths or the window.

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/data_file.h"
#include "core/output_text.h"
#include "core/progress.h"
#include "frame/session.h"
#include "frame/settings.h"
#include "frame/step_catalogue.h"
#include "frame/step_result.h"

namespace qorvel {

class StepContext;

class StepInputs {
public:
    StepInputs(StepContext& context, std::vector<std::pair<FileRole, std::shared_ptr<const DataFile>>> files,
               std::string outputPath);

    // The input of `role`, one of the step's inputs.
    const DataFile& operator[](FileRole role) const { return *File(role); }
    const std::shared_ptr<const DataFile>& File(FileRole role) const;
    // An optional input; nullptr when none was given.
    const DataFile* Find(FileRole role) const;
    const Settings& settings() const;
    Session& session();
    ProgressSink& progress();
    // The path the output goes to, for a computation that writes its file itself (the sheets,
    // streamed sheet by sheet).
    const std::string& outputPath() const { return outputPath_; }
    // Ends the step on a warning; nothing is written.
    [[noreturn]] void Warn(std::string_view title, std::string_view text);

private:
    StepContext& context_;
    std::vector<std::pair<FileRole, std::shared_ptr<const DataFile>>> files_;
    std::string outputPath_;
};

struct StepReport {
    OutputText output{};        // what the frame writes to the output ...
    bool wroteOutput = false;   // ... unless the computation wrote it itself
    std::string summary{};      // the closing message
    std::size_t count = 0;      // the number it gives first
    std::vector<CheckProblem> problems{};
    std::vector<std::string> notes{};  // warnings for the surveyor, the step completed
    std::optional<StepCaution> caution{};  // see StepResult::caution
};

// Runs `step`, whose entry has a computation, with `host` as its front end.
StepResult RunComputedStep(const StepDescription& step, StepHost& host, Session& session, const Settings& settings);

}  // namespace qorvel
