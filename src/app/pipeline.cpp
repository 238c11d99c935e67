#include "app/pipeline.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "app/steps/connect_cad.h"
#include "core/step_error.h"

namespace qorvel {

namespace {

namespace fs = std::filesystem;
using enum PipelineFile;

constexpr std::array kStages{
    PipelineStage{"BT3", "02-labels.dat", Labels, PipelineLayer::Labels, {}, 0},
    PipelineStage{"BT4", "03-stakes.dat", Stakes, PipelineLayer::None, {Labels, Points}, 2},
    PipelineStage{"BT-Check-K", "05-check-stakes.dat", StakeCheck, PipelineLayer::None, {Labels, Stakes}, 2},
    PipelineStage{"BT5", "04-lines.dat", Lines, PipelineLayer::Lines, {}, 0},
    PipelineStage{"BT6", "06-matched.dat", Matched, PipelineLayer::None, {Stakes, Lines}, 2},
    PipelineStage{"BT7", "07-check-lines.dat", LineCheck, PipelineLayer::None, {Stakes, Matched}, 2},
    PipelineStage{"BT8", "09-members.dat", Members, PipelineLayer::None, {Matched, Points}, 2},
    PipelineStage{"BT9", "10-sections.dat", Sections, PipelineLayer::None, {Members, Stakes, Points, Matched}, 4},
};

// Two paths naming one file (or both the same text when neither exists yet).
bool SameFile(const std::string& a, const std::string& b) {
    if (a == b) return true;
    std::error_code error;
    return fs::equivalent(a, b, error);
}

std::string FilePath(const PipelineRequest& request, PipelineFile file) {
    switch (file) {
        case Drawing:
            return request.drawing;
        case Points:
            return request.points;
        default:
            return StageOutputPath(request, *StageWriting(file));
    }
}

// The output folder, made when it does not exist yet; the two files the surveyor supplies must
// not be among those the run is about to replace.
void PrepareOutputFolder(const PipelineRequest& request) {
    const std::string& folder = request.outputFolder;
    if (folder.empty()) throw StepError("没有指定输出文件夹。");
    std::error_code error;
    const fs::file_status status = fs::status(folder, error);
    if (fs::exists(status)) {
        if (!fs::is_directory(status)) throw StepError("“" + folder + "”已存在，但不是文件夹。");
    } else {
        fs::path path = fs::path(folder).lexically_normal();
        if (!path.has_filename()) path = path.parent_path();  // "out/example/"
        const fs::path parent = path.parent_path();
        if (!parent.empty() && !fs::is_directory(parent, error))
            throw StepError("无法创建输出文件夹“" + folder + "”：上一级文件夹“" + parent.string() + "”不存在。");
        if (!fs::create_directory(path, error) && error)
            throw StepError("无法创建输出文件夹“" + folder + "”：" + error.message());
    }
    for (const PipelineStage& stage : kStages) {
        const std::string output = StageOutputPath(request, stage);
        if (SameFile(output, request.points))
            throw StepError(request.points, 0, StepError::kNoField,
                            "碎步点文件就是本次要写出的“" + std::string(stage.fileName) + "”，请另选输出文件夹");
        if (SameFile(output, request.drawing))
            throw StepError(request.drawing, 0, StepError::kNoField,
                            "图形文件就是本次要写出的“" + std::string(stage.fileName) + "”，请另选输出文件夹");
    }
}

// The front end's host seen by one stage: the dialogs are answered from the request, the
// step's own closing message and editor call are kept back, progress is that of the whole run.
class StageHost final : public StepHost {
public:
    StageHost(StepHost& front, const PipelineRequest& request, const PipelineStage& stage, std::size_t index,
              int& shownPercent)
        : front_(front), request_(request), index_(index), shownPercent_(shownPercent) {
        for (PipelineFile input : stage.Inputs()) inputs_.push_back(FilePath(request, input));
        output_ = StageOutputPath(request, stage);
    }

    std::optional<std::string> AskOpenFile(int dialog, std::string_view) override {
        if (dialog == kDrawingDialog) return request_.drawing;
        if (nextInput_ >= inputs_.size()) return std::nullopt;
        return inputs_[nextInput_++];
    }
    std::optional<std::string> AskSaveFile(int, std::string_view) override { return output_; }

    void ShowMessage(MessageRole role, std::string_view title, std::string_view text) override {
        switch (role) {
            case MessageRole::Summary:
                summary_ = text;
                break;
            case MessageRole::Warning:
                front_.ShowMessage(role, title, text);
                break;
            case MessageRole::Notice:
                break;  // "连接CAD成功！" would only interrupt the run
        }
    }
    void ShowFailure(std::string_view description) override { front_.ShowFailure(description); }

    void SetStatus(int panel, std::string_view text) override {
        if (panel == 2) front_.SetStatus(panel, text);  // panel 1 names the stage
    }
    void SetProgress(int percent) override {
        const int stages = static_cast<int>(kStages.size());
        const int overall = (static_cast<int>(index_) * 100 + std::clamp(percent, 0, 100)) / stages;
        // A step setting its bar back to 0 at its end does not move the run's bar back.
        if (overall <= shownPercent_) return;
        shownPercent_ = overall;
        front_.SetProgress(overall);
    }
    void OpenResult(const std::string&) override {}
    void BringMainWindowToFront() override { front_.BringMainWindowToFront(); }

    const std::string& summary() const { return summary_; }
    const std::string& output() const { return output_; }

private:
    StepHost& front_;
    const PipelineRequest& request_;
    std::size_t index_;
    int& shownPercent_;
    std::vector<std::string> inputs_;
    std::size_t nextInput_ = 0;
    std::string output_;
    std::string summary_;
};

// The stage's layer in the session's layer name while it runs.
class LayerForStage {
public:
    LayerForStage(Session& session, const PipelineRequest& request, PipelineLayer layer)
        : name_(session.settings.LayerName), kept_(name_) {
        if (layer == PipelineLayer::Labels) name_ = request.labelLayer;
        if (layer == PipelineLayer::Lines) name_ = request.lineLayer;
    }
    ~LayerForStage() { name_ = kept_; }
    LayerForStage(const LayerForStage&) = delete;
    LayerForStage& operator=(const LayerForStage&) = delete;

private:
    std::string& name_;
    std::string kept_;
};

}  // namespace

const StepCommand& PipelineStage::Step() const { return *FindStepByKey(key); }

std::span<const PipelineStage> PipelineStages() { return kStages; }

const PipelineStage* StageWriting(PipelineFile file) {
    for (const PipelineStage& stage : kStages)
        if (stage.output == file) return &stage;
    return nullptr;
}

std::string StageOutputPath(const PipelineRequest& request, const PipelineStage& stage) {
    return (fs::path(request.outputFolder) / fs::path(std::string(stage.fileName))).string();
}

const StageReport* PipelineReport::Find(PipelineFile file) const {
    for (const StageReport& report : stages)
        if (report.stage->output == file) return &report;
    return nullptr;
}

PipelineReport RunPipeline(StepHost& host, Session& session, const PipelineRequest& request,
                           PipelineObserver* observer) {
    PipelineReport report;
    try {
        PrepareOutputFolder(request);
    } catch (const StepError& error) {
        host.ShowFailure(error.describe());
        return report;
    }

    // Another drawing than the attached one is attached by the first drawing stage, which asks
    // for it; if it cannot be read, the surveyor keeps the drawing attached before.
    std::shared_ptr<AttachedDrawing> attachedBefore;
    if (session.drawing && !SameFile(session.drawing->path(), request.drawing))
        attachedBefore = std::exchange(session.drawing, nullptr);

    int shownPercent = 0;
    host.SetProgress(0);
    for (std::size_t index = 0; index < kStages.size(); ++index) {
        const PipelineStage& stage = kStages[index];
        const StepCommand& step = stage.Step();
        if (observer) observer->StageStarting(stage, index + 1, kStages.size());
        host.SetStatus(1, "第 " + std::to_string(index + 1) + "/" + std::to_string(kStages.size()) + " 步：" +
                              std::string(step.caption));

        StageHost stageHost(host, request, stage, index, shownPercent);
        StageReport& ended = report.stages.emplace_back();
        ended.stage = &stage;
        ended.output = stageHost.output();
        {
            LayerForStage layer(session, request, stage.layer);
            ended.outcome = step.run(stageHost, session);
        }
        if (!session.drawing && attachedBefore) session.drawing = std::move(attachedBefore);
        // Every dialog of a stage is answered; a stage asking for one more is a fault here.
        if (ended.outcome == StepOutcome::Cancelled) {
            host.ShowFailure("内部错误：“" + std::string(step.caption) + "”要求的文件多于一键生成提供的文件。");
            ended.outcome = StepOutcome::Failed;
        }
        ended.summary = stageHost.summary();
        if (observer) observer->StageEnded(ended);
        if (ended.outcome != StepOutcome::Completed) {
            report.outcome = ended.outcome;
            // The stopping stage wrote nothing either (its file, if any, is from before).
            for (std::size_t later = index; later < kStages.size(); ++later) {
                std::error_code error;
                if (fs::exists(StageOutputPath(request, kStages[later]), error))
                    report.earlierFiles.emplace_back(kStages[later].fileName);
            }
            return report;
        }
    }
    host.SetProgress(100);
    report.outcome = StepOutcome::Completed;
    return report;
}

}  // namespace qorvel
