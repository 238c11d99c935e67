#pragma once
// The one place that runs steps for a front end with windows: it owns the Session (the attached
// drawing, the carried azimuth) and runs one step or one whole run at a time. The main window
// and the one-click dialog both run through it, so neither needs the other, and a step can
// never start while another one is still going.

#include <functional>
#include <optional>
#include <string>

#include "frame/pipeline.h"
#include "frame/session.h"
#include "frame/settings.h"
#include "frame/step_catalogue.h"
#include "frame/step_host.h"

namespace qorvel {

class Workbench {
public:
    Session& session() { return session_; }
    const Session& session() const { return session_; }
    bool busy() const { return busy_; }

    // Called at the end of every step and run, while the workbench still counts as busy (the
    // window uses it to drop the clicks that came in the meantime and to list the drawing's
    // layers).
    void SetAfterRun(std::function<void()> afterRun) { afterRun_ = std::move(afterRun); }

    // Runs step `id` with the settings in force; nothing when a step or run is going on.
    std::optional<StepResult> Run(StepId id, StepHost& host, const Settings& settings);
    // Reads the DXF file at `path` with the code page of `settings` and attaches it in place of
    // the drawing attached before; a drawing that cannot be read is reported through `host` and
    // the one before stays. False when it was not attached.
    bool AttachDrawing(const std::string& path, StepHost& host, const Settings& settings);
    // Runs the stages from drawing to result; nothing when a step or run is going on.
    std::optional<PipelineReport> RunPipeline(const PipelineRequest& request, StepHost& host, const Settings& settings,
                                              PipelineObserver* observer = nullptr);

private:
    class Busy;
    Session session_;
    bool busy_ = false;
    std::function<void()> afterRun_;
};

}  // namespace qorvel
