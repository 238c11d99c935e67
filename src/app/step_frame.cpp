#include "app/step_frame.h"

#include <new>

#include "core/atomic_output.h"
#include "core/step_error.h"

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

StepContext::StepContext(StepHost& host, Session& session)
    : host_(host), session_(session), progress_(std::make_unique<ThrottledProgress>(host)) {}

StepContext::~StepContext() = default;

std::string StepContext::AskInputPath(int dialog, std::string_view filter) {
    auto path = host_.AskOpenFile(dialog, filter);
    if (!path) throw StepCancelled{};
    session_.LastFileName = *path;
    return *path;
}

DataFile StepContext::OpenInput(int dialog, std::string_view filter) {
    return DataFile::Load(AskInputPath(dialog, filter));
}

std::string StepContext::AskOutput(int dialog, std::string_view filter) {
    auto path = host_.AskSaveFile(dialog, filter);
    if (!path) throw StepCancelled{};
    session_.LastFileName = *path;
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

void StepContext::WriteOutput(const std::string& path, std::string_view bytes) { WriteFileAtomically(path, bytes); }

void StepContext::WriteOutput(const std::string& path, const OutputText& output) {
    WriteOutput(path, std::string_view(output.bytes()));
}

void StepContext::Summary(std::string_view text) { host_.ShowMessage(MessageRole::Summary, kSummaryTitle, text); }

void StepContext::OpenResult() { host_.OpenResult(session_.LastFileName); }

void StepContext::Finish(const std::string& path, const OutputText& output, std::string_view summary) {
    WriteOutput(path, output);
    Summary(summary);
    OpenResult();
}

StepOutcome RunStep(StepHost& host, Session& session, const StepBody& body) {
    try {
        StepContext context(host, session);
        body(context);
        return StepOutcome::Completed;
    } catch (const StepCancelled&) {
        return StepOutcome::Cancelled;
    } catch (const StepWarned&) {
        return StepOutcome::Warned;
    } catch (const StepError& error) {
        host.ShowFailure(error.describe());
    } catch (const std::bad_alloc&) {
        host.ShowFailure("内存不足，无法完成这一步。");
    } catch (const std::exception& error) {
        host.ShowFailure(std::string("内部错误：") + error.what());
    }
    return StepOutcome::Failed;
}

}  // namespace qorvel
