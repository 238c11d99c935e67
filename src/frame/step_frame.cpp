#include "frame/step_frame.h"

#include <filesystem>
#include <new>
#include <system_error>

#include "core/atomic_output.h"
#include "core/fields.h"
#include "core/lenient_read_log.h"
#include "core/step_error.h"
#include "frame/file_shape.h"
#include "frame/run_files.h"
#include "platform/file_system.h"

namespace qorvel {

namespace {
struct StepWarned {};
}  // namespace

class StepContext::ThrottledProgress final : public ProgressSink {
public:
    explicit ThrottledProgress(StepHost& host) : host_(host) {}
    using ProgressSink::Advance;

    void Advance(std::string_view prefix, std::size_t count, std::size_t done, std::size_t total) override {
        const int percent = total == 0 ? 0 : static_cast<int>((static_cast<long double>(done) * 100) / total);
        if (percent == lastPercent_ && prefix == lastPrefix_ && done != total) return;
        lastPercent_ = percent;
        lastPrefix_ = prefix;
        host_.SetStatus(2, std::string(prefix) + std::to_string(count) + " 个");
        host_.SetProgress(percent);
    }
    void Status(std::string_view prefix, std::size_t count) override {
        host_.SetStatus(2, std::string(prefix) + std::to_string(count) + " 个");
    }
    void Percent(int percent) override {
        lastPercent_ = percent;
        host_.SetProgress(percent);
    }

private:
    StepHost& host_;
    int lastPercent_ = -1;
    std::string lastPrefix_;
};

StepContext::StepContext(StepHost& host, Session& session, const Settings& settings, const StepDescription& step)
    : host_(host),
      session_(session),
      settings_(settings),
      step_(step),
      progress_(std::make_unique<ThrottledProgress>(host)) {}

StepContext::~StepContext() = default;

std::string StepContext::AskInputPath(FileRole role) {
    FileQuestion question;
    question.count = static_cast<int>(step_.inputs.size());
    for (std::size_t index = 0; index < step_.inputs.size(); ++index) {
        if (step_.inputs[index].role != role) continue;
        question.file = step_.inputs[index];
        question.position = static_cast<int>(index) + 1;
        break;
    }
    if (question.file.role == FileRole::None)
        throw StepError("内部错误：“" + std::string(step_.caption) + "”没有登记它读取的“" +
                        std::string(RoleName(role)) + "”。");
    auto path = host_.AskFile(question);
    if (!path) throw StepCancelled{};
    inputsAsked_.push_back(*path);
    return *path;
}

std::shared_ptr<const DataFile> StepContext::OpenOptionalInput(FileRole role) {
    try {
        return OpenInput(role);
    } catch (const StepCancelled&) {
        return nullptr;
    }
}

std::shared_ptr<const DataFile> StepContext::OpenInput(FileRole role) {
    const std::string path = AskInputPath(role);
    std::shared_ptr<const DataFile> file = session_.runFiles ? session_.runFiles->Find(path) : nullptr;
    if (!file) {
        auto read = std::make_shared<DataFile>(DataFile::Load(path));
        if (session_.runFiles) session_.runFiles->Keep(read);
        file = std::move(read);
    }
    RefuseFileUnlikeItsRole(*file, role);
    inputsRead_.push_back(file);
    return file;
}

std::string StepContext::AskOutput() {
    FileQuestion question;
    question.file = step_.output;
    question.save = true;
    question.usualName = step_.outputName;
    // The result file of a layout written as CSV or LandXML is offered with its own extension,
    // and so is a converted one.
    std::string filter;
    std::string usualName;
    const std::string extension(ResultExtension(settings_));
    const FileRole role = step_.output.role;
    if ((role == FileRole::SectionResults && extension != ".dat") || role == FileRole::ConvertedSections) {
        filter = std::string(role == FileRole::ConvertedSections ? "转换后的断面成果_" : "断面成果_") +
                 extension.substr(1) + "文件(*" + extension + ")|*" + extension;
        usualName = std::filesystem::path(step_.outputName).replace_extension(extension).string();
        question.file.filter = filter;
        question.usualName = usualName;
    }
    question.inputs = inputsAsked_;
    auto path = host_.AskFile(question);
    if (!path) throw StepCancelled{};
    RefuseOutputAmongInputs(*path, inputsAsked_);
    result_.output = *path;
    return *path;
}

ProgressSink& StepContext::progress() { return *progress_; }

void StepContext::Warn(std::string_view title, std::string_view text) {
    host_.ShowMessage(MessageRole::Warning, title, text);
    throw StepWarned{};
}

void StepContext::Notice(std::string_view title, std::string_view text) {
    host_.ShowMessage(MessageRole::Notice, title, text);
}

void StepContext::WriteOutput(const std::string& path, OutputText output) {
    WriteFileAtomically(path, std::string_view(output.bytes()));
    if (session_.runFiles) session_.runFiles->Keep(std::make_shared<DataFile>(DataFile::FromBytes(path, std::move(output).TakeBytes())));
}

void StepContext::Summary(std::string text, std::size_t count) {
    std::size_t lenient = 0;
    for (const std::shared_ptr<const DataFile>& file : inputsRead_) {
        const LenientReadLog& log = file->lenientReads();
        if (log.count() == 0) continue;
        lenient += log.count();
        for (const LenientReadLog::Sample& sample : log.samples())
            result_.notes.push_back(StepError(file->name(), sample.line, sample.field,
                                              "“" + DisplayText(sample.text) + "”不是单纯的数字，只读入了其开头的数字")
                                        .describe());
        result_.notes.push_back("文件“" + file->name() + "”共有 " + std::to_string(log.count()) +
                                " 个数值字段不是单纯的数字，已按其开头的数字读入");
    }
    const std::string shown =
        lenient == 0 ? text : text + "\n注意：有 " + std::to_string(lenient) + " 个数值字段不是单纯的数字，已按其开头的数字读入。";
    host_.ShowMessage(MessageRole::Summary, kSummaryTitle, shown);
    result_.summary = std::move(text);
    result_.count = count;
}

void StepContext::OpenResult() { host_.OpenResult(result_.output); }

void StepContext::Finish(const std::string& path, OutputText output, std::string summary, std::size_t count) {
    WriteOutput(path, std::move(output));
    Summary(std::move(summary), count);
    OpenResult();
}

StepResult RunStep(StepHost& host, Session& session, const Settings& settings, StepId id, const StepBody& body) {
    StepResult failed;
    try {
        StepContext context(host, session, settings, Describe(id));
        body(context);
        context.result().outcome = StepOutcome::Completed;
        return std::move(context.result());
    } catch (const StepCancelled&) {
        failed.outcome = StepOutcome::Cancelled;
        return failed;
    } catch (const StepWarned&) {
        failed.outcome = StepOutcome::Warned;
        return failed;
    } catch (const StepError& error) {
        host.ShowFailure(error.describe());
    } catch (const std::bad_alloc&) {
        host.ShowFailure("内存不足，无法完成这一步。");
    } catch (const std::exception& error) {
        host.ShowFailure(std::string("内部错误：") + error.what());
    }
    failed.outcome = StepOutcome::Failed;
    return failed;
}

bool SameFile(const std::string& output, const std::string& input) {
    return output == input || platform::SameFile(platform::PathFromUtf8(output), platform::PathFromUtf8(input));
}

void RefuseOutputAmongInputs(const std::string& output, const std::vector<std::string>& inputs) {
    for (const std::string& input : inputs)
        if (SameFile(output, input))
            throw StepError(output, StepError::kNoLine, StepError::kNoField,
                            "输出文件就是本步的输入文件“" + input + "”，写出会毁掉输入，请另选输出文件");
}

}  // namespace qorvel
