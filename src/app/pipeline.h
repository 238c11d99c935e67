#pragma once
// From drawing to result in one go: the station labels, the centre stakes and their check, the
// section lines, the matched lines and their check, the detail points grouped by station and
// the cross-section result, each written into one output folder under a fixed name.
//
// Every stage runs the very step procedure the window's buttons and the single commands run,
// with one Session throughout, so the drawing attached by the label step is the one the line
// step reads, and the azimuth the line matching carries reaches the grouping and the result as
// it does when the surveyor clicks the steps one after another. The open and save dialogs are
// answered from the request; everything else a step shows goes to the front end's host. The
// run stops at the first stage that does not complete; the files written before it stay, they
// are complete.

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/step_frame.h"
#include "app/step_table.h"

namespace qorvel {

// The files of a run: the two the surveyor supplies and the ones the stages write.
enum class PipelineFile {
    Drawing,
    Points,
    Labels,
    Stakes,
    StakeCheck,
    Lines,
    Matched,
    LineCheck,
    Members,
    Sections,
};

// The drawing layer a stage reads, if it reads the drawing.
enum class PipelineLayer { None, Labels, Lines };

struct PipelineStage {
    std::string_view key;                       // the step's toolbar key in the step table
    std::string_view fileName;                  // what the stage writes in the output folder
    PipelineFile output;
    PipelineLayer layer = PipelineLayer::None;
    std::array<PipelineFile, 4> inputs{};       // the open dialogs' answers, in the step's order
    std::size_t inputCount = 0;                 // (the drawing's own dialog is answered apart)

    std::span<const PipelineFile> Inputs() const { return std::span(inputs).first(inputCount); }
    // The step behind the stage (its caption and procedure).
    const StepCommand& Step() const;
};

// In the order they run.
std::span<const PipelineStage> PipelineStages();
// The stage that writes `file`; nullptr for the drawing and the detail point file.
const PipelineStage* StageWriting(PipelineFile file);

struct PipelineRequest {
    std::string drawing;       // a DXF file
    std::string points;        // the detail point file
    std::string labelLayer;    // the layer of the station labels
    std::string lineLayer;     // the layer of the section lines
    std::string outputFolder;  // made when it does not exist (its parent must)
};

// The path of the file `stage` writes for `request`.
std::string StageOutputPath(const PipelineRequest& request, const PipelineStage& stage);

struct StageReport {
    const PipelineStage* stage = nullptr;
    StepOutcome outcome = StepOutcome::Failed;
    std::string summary;  // the step's closing count, when it completed
    std::string output;   // the path of its file
};

struct PipelineReport {
    // Nothing ran when the output folder could not be made; otherwise the stages that
    // completed, then the one that stopped the run, if one did.
    std::vector<StageReport> stages;
    StepOutcome outcome = StepOutcome::Failed;  // Completed, or the stopping stage's outcome
    // Files of the stopping stage and the later ones found in the output folder after a stop:
    // they are left from an earlier run and do not belong with this run's files.
    std::vector<std::string> earlierFiles;

    bool Completed() const { return outcome == StepOutcome::Completed; }
    // The report of the stage writing `file`; nullptr when it did not run.
    const StageReport* Find(PipelineFile file) const;
};

// Told of each stage as the run reaches it and when it has ended.
class PipelineObserver {
public:
    virtual ~PipelineObserver() = default;
    virtual void StageStarting(const PipelineStage& stage, std::size_t number, std::size_t count) = 0;
    virtual void StageEnded(const StageReport& report) = 0;
};

// Runs the stages with `host` as the front end: its status and progress show the run as a
// whole (status panel 1 names the stage, the progress bar covers all the stages), warnings and
// failures are shown as each step shows them, the steps' own closing messages and editor calls
// are left to the caller. The settings of `session` give the tolerances, switches and layout;
// its layer name is the stage's layer while a drawing stage runs and is given back afterwards.
// A drawing other than the one attached to `session` is attached by the label stage; if that
// stage fails to read it, the drawing attached before stays attached.
PipelineReport RunPipeline(StepHost& host, Session& session, const PipelineRequest& request,
                           PipelineObserver* observer = nullptr);

}  // namespace qorvel
