#include "frame/workbench.h"

#include "drawing/attached_drawing.h"
#include "frame/step_frame.h"
#include "frame/steps/drawing_attachment.h"

namespace qorvel {

// Busy from its making to its end, with the after-run call at the end.
class Workbench::Busy {
public:
    explicit Busy(Workbench& bench) : bench_(bench) { bench_.busy_ = true; }
    ~Busy() {
        if (bench_.afterRun_) bench_.afterRun_();
        bench_.busy_ = false;
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    Workbench& bench_;
};

std::optional<StepResult> Workbench::Run(StepId id, StepHost& host, const Settings& settings) {
    if (busy_) return std::nullopt;
    Busy busy(*this);
    return Describe(id).Run(host, session_, settings);
}

bool Workbench::AttachDrawing(const std::string& path, StepHost& host, const Settings& settings) {
    if (busy_) return false;
    Busy busy(*this);
    const StepResult result = RunStep(host, session_, settings, StepId::AttachDrawing, [&](StepContext& step) {
        step.session().drawing = AttachedDrawing::Load(path, DrawingReadOptions(step.settings()));
    });
    return result.Completed();
}

std::optional<PipelineReport> Workbench::RunPipeline(const PipelineRequest& request, StepHost& host,
                                                     const Settings& settings, PipelineObserver* observer) {
    if (busy_) return std::nullopt;
    Busy busy(*this);
    return qorvel::RunPipeline(host, session_, settings, request, observer);
}

}  // namespace qorvel
