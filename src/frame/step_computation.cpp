#include "frame/step_computation.h"

#include "core/step_error.h"
#include "frame/step_frame.h"

namespace qorvel {

StepInputs::StepInputs(StepContext& context, std::vector<std::pair<FileRole, std::shared_ptr<const DataFile>>> files,
                       std::string outputPath)
    : context_(context), files_(std::move(files)), outputPath_(std::move(outputPath)) {}

const DataFile* StepInputs::Find(FileRole role) const {
    for (const auto& [held, file] : files_)
        if (held == role) return file.get();
    return nullptr;
}

const std::shared_ptr<const DataFile>& StepInputs::File(FileRole role) const {
    for (const auto& [held, file] : files_)
        if (held == role) return file;
    throw StepError("内部错误：这一步没有登记它读取的“" + std::string(RoleName(role)) + "”。");
}

const Settings& StepInputs::settings() const { return context_.settings(); }
Session& StepInputs::session() { return context_.session(); }
ProgressSink& StepInputs::progress() { return context_.progress(); }
void StepInputs::Warn(std::string_view title, std::string_view text) { context_.Warn(title, text); }

StepResult RunComputedStep(const StepDescription& step, StepHost& host, Session& session, const Settings& settings) {
    return RunStep(host, session, settings, step.id, [&step](StepContext& context) {
        std::vector<std::pair<FileRole, std::shared_ptr<const DataFile>>> files;
        for (const FileSpec& input : step.inputs)
            if (auto file = input.optional ? context.OpenOptionalInput(input.role) : context.OpenInput(input.role))
                files.emplace_back(input.role, std::move(file));
        const bool writes = step.output.role != FileRole::None;
        std::string output = writes ? context.AskOutput() : std::string();
        StepInputs inputs(context, std::move(files), output);
        StepReport report = step.compute(inputs);
        if (writes && !report.wroteOutput) context.WriteOutput(output, std::move(report.output));
        StepResult& result = context.result();
        result.problems = std::move(report.problems);
        result.notes = std::move(report.notes);
        context.Summary(std::move(report.summary), report.count);
        result.caution = std::move(report.caution);
        if (writes) context.OpenResult();
    });
}

}  // namespace qorvel
