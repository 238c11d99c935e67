#pragma once
// From drawing to result in one go: the station labels, the centre stakes and their check, the
// section lines, the matched lines and their check, the detail points grouped by station and
// the cross-section result, each written into one output folder under its usual name.
//
// Every stage runs the very step procedure the window's buttons and the single commands run,
// with one Session throughout, so the drawing attached by the label step is the one the line
// step reads, and the azimuth the line matching carries reaches the grouping and the result as
// it does when the surveyor clicks the steps one after another. Each step's files are given by
// role from the request; everything else a step shows goes to the front end's host. The files
// are written into a staging folder beside the output folder and moved in, all or nothing, only
// when every stage has completed (frame/run_folder.h): a run that stops at a stage, or whose
// files cannot all be placed, leaves the output folder as it was.

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "frame/session.h"
#include "frame/settings.h"
#include "frame/step_catalogue.h"
#include "frame/step_host.h"

namespace qorvel {

struct HeldSections;  // frame/run_files.h

// The steps of a run, in the order they run.
std::span<const StepId> PipelineSteps();

struct PipelineRequest {
    std::string drawing;       // a DXF file
    std::string points;        // the detail point file
    std::string labelLayer;    // the layer of the station labels
    std::string lineLayer;     // the layer of the section lines
    std::string outputFolder;  // made when it does not exist (its parent must)
    std::string plotKind;      // "pdf", "svg" or "dxf": the sections drawn on sheets too; empty: not
    std::string resultLayout = "1";  // the result's layout by its id; the run takes the settings'
};

// A stage of a run: the step and the file it writes.
struct PipelineStage {
    StepId step;
    std::string output;
};

// The stages of a run of `request`: PipelineSteps(), then the sheets when asked for; with the
// layout 纬地 HDM also the ground long profile beside the result, as 纬地 imports them together.
std::vector<PipelineStage> PipelineStages(const PipelineRequest& request);

// The path of the file of `role` in a run of `request`: the two files the surveyor supplies, or
// the file a stage writes in the output folder.
std::string PipelineFilePath(const PipelineRequest& request, FileRole role);

struct StageReport {
    StepId step;
    StepResult result;
    std::string output;  // the path of its file in the output folder

    // "03-stakes.dat": the name of the file it writes.
    std::string OutputName() const;
    const StepDescription& Step() const { return Describe(step); }
};

struct PipelineReport {
    PipelineRequest request;  // as run
    // Nothing ran when the output folder could not be used; otherwise the stages that
    // completed, then the one that stopped the run, if one did. A completed stage's output is
    // its file in the output folder, where it is once the whole run has completed.
    std::vector<StageReport> stages;
    // Completed, or the stopping stage's outcome; Warned also when the last stage completed with
    // a caution (its inputs gave it nothing to do), which stops the run there.
    StepOutcome outcome = StepOutcome::Failed;
    // Results and sheets of another layout or kind that an earlier run left in the output folder
    // (an old 10-sections.csv beside this run's 10-sections.dat), by name: not this run's, and
    // easily taken for it. Named in the closing message; never removed.
    std::vector<std::string> earlierResults;
    // The sections step 10 built, for the viewer to open without building them again; nullptr
    // when the run did not build them.
    std::shared_ptr<const HeldSections> sections;
    // Staging folders that killed runs into the same folder had left, removed by this one.
    std::vector<std::string> removedStaging;

    bool Completed() const { return outcome == StepOutcome::Completed; }
    // The caution of the stage that stopped the run; nullptr when none did so.
    const StepCaution* StoppingCaution() const;
    // The report of the stage writing files of `role`; nullptr when it did not run.
    const StageReport* Find(FileRole role) const;
};

// Told of each stage as the run reaches it and when it has ended.
class PipelineObserver {
public:
    virtual ~PipelineObserver() = default;
    virtual void StageStarting(const StepDescription& step, std::size_t number, std::size_t count) = 0;
    virtual void StageEnded(const StageReport& report) = 0;
};

// Runs the stages with `host` as the front end: its status and progress show the run as a
// whole (status panel 1 names the stage, the progress bar covers all the stages), warnings and
// failures are shown as each step shows them, the steps' own closing messages and editor calls
// are left to the caller. `settings` give the tolerances, switches and layout; each drawing
// stage reads its own layer of the request. A drawing other than the one attached to `session`
// is attached by the label stage; if that stage fails to read it, the drawing attached before
// stays attached.
PipelineReport RunPipeline(StepHost& host, Session& session, const Settings& settings, const PipelineRequest& request,
                           PipelineObserver* observer = nullptr);

}  // namespace qorvel
