#include "frame/pipeline.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "core/step_error.h"
#include "drawing/attached_drawing.h"
#include "frame/plot_options.h"
#include "frame/result_layouts.h"
#include "frame/run_files.h"
#include "frame/run_folder.h"
#include "frame/step_frame.h"
#include "platform/file_system.h"
#include "plot/plot_sections.h"

namespace qorvel {

namespace {

namespace fs = std::filesystem;

using platform::PathFromUtf8;
using platform::Utf8FromPath;

// "out/example/" names the folder "out/example".
fs::path FolderPath(const std::string& folder) {
    fs::path path = PathFromUtf8(folder).lexically_normal();
    if (!path.has_filename()) path = path.parent_path();
    return path;
}

// The catalogue's steps of the run but the sheets, which join a run only when it is asked to
// draw them.
const std::vector<StepId>& StepsAlwaysRun() {
    static const std::vector<StepId> steps = [] {
        std::vector<StepId> ids;
        for (const StepDescription* step : RunSteps())
            if (step->id != StepId::SectionSheets) ids.push_back(step->id);
        return ids;
    }();
    return steps;
}

// The output folder must be one (or be made one level deep), and the two files the surveyor
// supplies must not be among those the run is about to replace.
void CheckOutputFolder(const PipelineRequest& request) {
    const std::string& folder = request.outputFolder;
    if (folder.empty()) throw StepError("没有指定输出文件夹。");
    std::error_code error;
    const fs::file_status status = fs::status(PathFromUtf8(folder), error);
    if (fs::exists(status)) {
        if (!fs::is_directory(status)) throw StepError("“" + folder + "”已存在，但不是文件夹。");
    } else {
        const fs::path parent = FolderPath(folder).parent_path();
        if (!parent.empty() && !fs::is_directory(parent, error))
            throw StepError("无法创建输出文件夹“" + folder + "”：上一级文件夹“" + Utf8FromPath(parent) + "”不存在。");
    }
    for (const PipelineStage& stage : PipelineStages(request)) {
        const std::string name = fs::path(stage.output).filename().string();
        if (SameFile(stage.output, request.points))
            throw StepError(request.points, 0, StepError::kNoField,
                            "碎步点文件就是本次要写出的“" + name + "”，请另选输出文件夹");
        if (SameFile(stage.output, request.drawing))
            throw StepError(request.drawing, 0, StepError::kNoField,
                            "图形文件就是本次要写出的“" + name + "”，请另选输出文件夹");
    }
}

// Where a stage reads the file of `role`: the surveyor's files where they are, the run's own
// in the staging folder.
std::string StageInputPath(const PipelineRequest& request, const RunFolder& staging, FileRole role) {
    const std::string path = PipelineFilePath(request, role);
    if (role == FileRole::Drawing || role == FileRole::DetailPoints) return path;
    return staging.Staged(path);
}

// The front end's host seen by one stage: files are answered by role from the request, the
// step's own closing message and editor call are kept back, progress is that of the whole run.
class StageHost final : public StepHost {
public:
    StageHost(StepHost& front, const PipelineRequest& request, const RunFolder& staging, const PipelineStage& stage,
              std::size_t index, std::size_t stages, int& shownPercent)
        : front_(front),
          request_(request),
          staging_(staging),
          stage_(stage),
          index_(index),
          stages_(stages),
          shownPercent_(shownPercent) {}

    std::optional<std::string> AskFile(const FileQuestion& question) override {
        if (question.save) return staging_.Staged(stage_.output);
        return StageInputPath(request_, staging_, question.file.role);
    }

    void ShowMessage(MessageRole role, std::string_view title, std::string_view text) override {
        if (role == MessageRole::Warning) front_.ShowMessage(role, title, text);
        // The closing message comes back in the step's result; "连接CAD成功！" would only
        // interrupt the run.
    }
    void ShowFailure(std::string_view description) override { front_.ShowFailure(description); }

    void SetStatus(int panel, std::string_view text) override {
        if (panel == 2) front_.SetStatus(panel, text);  // panel 1 names the stage
    }
    void SetProgress(int percent) override {
        const int stages = static_cast<int>(stages_);
        const int overall = (static_cast<int>(index_) * 100 + std::clamp(percent, 0, 100)) / stages;
        // A step setting its bar back to 0 at its end does not move the run's bar back.
        if (overall <= shownPercent_) return;
        shownPercent_ = overall;
        front_.SetProgress(overall);
    }
    void OpenResult(const std::string&) override {}
    void BringMainWindowToFront() override { front_.BringMainWindowToFront(); }

private:
    StepHost& front_;
    const PipelineRequest& request_;
    const RunFolder& staging_;
    const PipelineStage& stage_;
    std::size_t index_;
    std::size_t stages_;
    int& shownPercent_;
};

// The settings a stage runs with: the run's, with the drawing layer it reads.
Settings StageSettings(const Settings& settings, const PipelineRequest& request, StepId step) {
    Settings stage = settings;
    if (step == StepId::StationLabels) stage.layerName = request.labelLayer;
    if (step == StepId::SectionLines) stage.layerName = request.lineLayer;
    return stage;
}

// The result and sheet files in the output folder that this run did not write: those a run with
// another layout or sheet kind writes.
std::vector<std::string> EarlierResults(const PipelineRequest& request, const std::vector<std::string>& written) {
    std::vector<std::string> extensions;
    for (const ResultLayout& layout : ResultLayouts()) extensions.emplace_back(layout.extension);
    for (const SheetKind& kind : SheetKinds()) extensions.push_back("." + std::string(kind.name));
    std::vector<std::string> earlier;
    for (const FileRole role : {FileRole::SectionResults, FileRole::SectionSheets}) {
        const fs::path usual(std::string(FindStepWriting(role)->outputName));
        for (const std::string& extension : extensions) {
            // Sheets of some kinds are a folder of pages.
            const std::string typed =
                PlotOutputPath(platform::JoinedAsTyped(request.outputFolder, fs::path(usual).replace_extension(extension).string()));
            const fs::path path = PathFromUtf8(typed);
            const std::string name = Utf8FromPath(path.filename());
            std::error_code error;
            const bool ours = std::find(written.begin(), written.end(), typed) != written.end();
            const SheetKind* kind = role == FileRole::SectionSheets ? SheetKindOfPath(extension) : nullptr;
            const bool there = kind && kind->folderOfPages ? fs::is_directory(path, error) : fs::is_regular_file(path, error);
            if (!ours && there && std::find(earlier.begin(), earlier.end(), name) == earlier.end()) earlier.push_back(name);
        }
    }
    return earlier;
}

}  // namespace

std::span<const StepId> PipelineSteps() { return StepsAlwaysRun(); }

std::vector<PipelineStage> PipelineStages(const PipelineRequest& request) {
    std::vector<PipelineStage> stages;
    for (const StepId id : StepsAlwaysRun()) stages.push_back({id, PipelineFilePath(request, Describe(id).output.role)});
    if (request.resultLayout == "hdm") {
        fs::path profile = PipelineFilePath(request, FileRole::SectionResults);
        stages.push_back({StepId::GroundProfile, profile.replace_extension(".dmx").string()});
    }
    if (!request.plotKind.empty())
        stages.push_back({StepId::SectionSheets, PipelineFilePath(request, FileRole::SectionSheets)});
    return stages;
}

std::string PipelineFilePath(const PipelineRequest& request, FileRole role) {
    if (role == FileRole::Drawing) return request.drawing;
    if (role == FileRole::DetailPoints) return request.points;
    const StepDescription* writer = FindStepWriting(role);
    if (writer == nullptr) return {};
    fs::path name(std::string(writer->outputName));
    if (role == FileRole::SectionResults) {
        const ResultLayout* layout = FindResultLayout(request.resultLayout);
        name.replace_extension(layout ? layout->extension : ".dat");
    }
    if (role == FileRole::SectionSheets) name.replace_extension("." + request.plotKind);
    return platform::JoinedAsTyped(request.outputFolder, name.string());
}

std::string StageReport::OutputName() const { return fs::path(output).filename().string(); }

const StepCaution* PipelineReport::StoppingCaution() const {
    if (Completed() || stages.empty() || !stages.back().result.Completed()) return nullptr;
    return stages.back().result.caution ? &*stages.back().result.caution : nullptr;
}

const StageReport* PipelineReport::Find(FileRole role) const {
    for (const StageReport& report : stages)
        if (report.Step().output.role == role) return &report;
    return nullptr;
}

PipelineReport RunPipeline(StepHost& host, Session& session, const Settings& settings,
                           const PipelineRequest& asked, PipelineObserver* observer) {
    PipelineRequest request = asked;
    request.resultLayout = settings.layout;
    const std::vector<PipelineStage> stages = PipelineStages(request);
    PipelineReport report;
    report.request = request;
    std::optional<RunFolder> staging;
    try {
        // Sheets that could not be drawn stop the run before its first stage, not after its ninth.
        if (!request.plotKind.empty())
            if (const std::string problem = SheetOptionsProblem(settings); !problem.empty()) throw StepError(problem);
        CheckOutputFolder(request);
        staging.emplace(request.outputFolder);
        report.removedStaging = staging->removedStaging();
        // What stands in the folder is refused before any step runs, as a single step refuses
        // its output.
        std::vector<std::string> outputs;
        for (const PipelineStage& stage : stages)
            outputs.push_back(stage.step == StepId::SectionSheets ? PlotOutputPath(stage.output) : stage.output);
        RunFolder::CheckPlaceable(outputs);
    } catch (const StepError& error) {
        host.ShowFailure(error.describe());
        return report;
    }

    // Every stage takes the files the run has read or written before it as they are, and the
    // section stages the sections step 10 built; a later step outside the run reads again.
    std::vector<std::string> readLater;
    for (const PipelineStage& stage : stages)
        for (const FileSpec& input : Describe(stage.step).inputs)
            if (input.role != FileRole::Drawing) readLater.push_back(StageInputPath(request, *staging, input.role));
    session.runFiles = std::make_shared<RunFiles>(std::move(readLater));
    struct ForgetRunFiles {
        Session& session;
        ~ForgetRunFiles() { session.runFiles.reset(); }
    } forget{session};

    // Another drawing than the attached one is attached by the first drawing stage, which asks
    // for it; if it cannot be read, the surveyor keeps the drawing attached before.
    std::shared_ptr<AttachedDrawing> attachedBefore;
    if (session.drawing && !SameFile(session.drawing->path(), request.drawing))
        attachedBefore = std::exchange(session.drawing, nullptr);

    int shownPercent = 0;
    host.SetProgress(0);
    std::vector<std::string> written;
    for (std::size_t index = 0; index < stages.size(); ++index) {
        const StepDescription& step = Describe(stages[index].step);
        if (observer) observer->StageStarting(step, index + 1, stages.size());
        host.SetStatus(1, "第 " + std::to_string(index + 1) + "/" + std::to_string(stages.size()) + " 步：" +
                              std::string(step.caption));

        StageHost stageHost(host, request, *staging, stages[index], index, stages.size(), shownPercent);
        StageReport& ended = report.stages.emplace_back();
        ended.step = step.id;
        ended.output = stages[index].output;
        ended.result = step.Run(stageHost, session, StageSettings(settings, request, step.id));
        if (!session.drawing && attachedBefore) session.drawing = std::move(attachedBefore);
        // Every file of a stage is answered; a stage cancelling is a fault here.
        if (ended.result.outcome == StepOutcome::Cancelled) {
            host.ShowFailure("内部错误：“" + std::string(step.caption) + "”要求的文件多于一键生成提供的文件。");
            ended.result.outcome = StepOutcome::Failed;
        }
        if (ended.result.Completed()) {
            if (step.output.role == FileRole::SectionSheets) ended.output = PlotOutputPath(ended.output);
            ended.result.output = ended.output;
            written.push_back(ended.output);
        }
        if (observer) observer->StageEnded(ended);
        if (!ended.result.Completed()) {
            report.outcome = ended.result.outcome;
            return report;  // the staged files go with the staging folder
        }
        // What the stage wrote would carry the run no further: it stops with the stage's caution.
        if (ended.result.caution) {
            report.outcome = StepOutcome::Warned;
            return report;
        }
    }
    try {
        staging->MoveIn(written);
    } catch (const StepError& error) {
        host.ShowFailure(error.describe());
        report.outcome = StepOutcome::Failed;
        return report;
    }
    report.earlierResults = EarlierResults(request, written);
    report.sections = session.runFiles->LastSections();
    host.SetProgress(100);
    report.outcome = StepOutcome::Completed;
    return report;
}

}  // namespace qorvel
