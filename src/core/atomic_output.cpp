#include "core/atomic_output.h"

#include "core/file_problem_text.h"
#include "core/step_error.h"
#include "platform/replaced_file.h"

namespace qorvel {

namespace {
[[noreturn]] void Fail(const std::string& target, const platform::FileError& error) {
    throw StepError(target, StepError::kNoLine, StepError::kNoField, WriteProblemText(error));
}

// "out/" or "" names a folder, or nothing: no file to write.
void RequireFileName(const std::string& target) {
    if (target.empty() || !platform::PathFromUtf8(target).has_filename())
        throw StepError(target, StepError::kNoLine, StepError::kNoField, "没有给出文件名");
}
}  // namespace

AtomicOutput::AtomicOutput(std::string target) : target_(std::move(target)) {
    RequireFileName(target_);
    try {
        file_ = std::make_unique<platform::ReplacedFile>(platform::PathFromUtf8(target_));
    } catch (const platform::FileError& error) {
        Fail(target_, error);
    }
}

AtomicOutput::~AtomicOutput() = default;

void AtomicOutput::Write(std::string_view bytes) {
    try {
        file_->Write(bytes);
    } catch (const platform::FileError& error) {
        Fail(target_, error);
    }
}

void AtomicOutput::Commit() {
    try {
        file_->Commit();
    } catch (const platform::FileError& error) {
        Fail(target_, error);
    }
}

void WriteFileAtomically(const std::string& target, std::string_view bytes) {
    AtomicOutput output(target);
    output.Write(bytes);
    output.Commit();
}

std::string OutputRefusal(const std::string& target) {
    try {
        RequireFileName(target);
        platform::ExamineOutput(platform::PathFromUtf8(target));
    } catch (const StepError& error) {
        return error.reason();
    } catch (const platform::FileError& error) {
        return WriteProblemText(error);
    }
    return {};
}

}  // namespace qorvel
