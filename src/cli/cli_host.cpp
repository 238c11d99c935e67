#include "cli/cli_host.h"

#include <cstdio>

#include "platform/console.h"

namespace qorvel::cli {

CliHost::CliHost(std::map<FileRole, std::string> inputs, std::string output)
    : inputs_(std::move(inputs)), output_(std::move(output)), showProgress_(platform::StandardErrorIsTerminal()) {}

std::optional<std::string> CliHost::AskFile(const FileQuestion& question) {
    if (question.save) return output_;
    const auto bound = inputs_.find(question.file.role);
    if (bound == inputs_.end()) return std::nullopt;
    return bound->second;
}

void CliHost::ShowMessage(MessageRole role, std::string_view, std::string_view text) {
    // The closing message is printed from the step's result.
    if (role != MessageRole::Warning) return;
    EndProgress();
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
}

void CliHost::ShowFailure(std::string_view description) {
    EndProgress();
    std::fprintf(stderr, "错误：%.*s\n", static_cast<int>(description.size()), description.data());
}

void CliHost::SetStatus(int panel, std::string_view text) {
    if (panel != 2) return;
    status_ = text;
    drawProgress();
}

void CliHost::SetProgress(int percent) {
    percent_ = percent;
    drawProgress();
}

void CliHost::OpenResult(const std::string&) {}

void CliHost::drawProgress() {
    if (!showProgress_) return;
    std::fprintf(stderr, "\r\033[K%s %3d%%", status_.c_str(), percent_);
    std::fflush(stderr);
    progressDrawn_ = true;
}

void CliHost::EndProgress() {
    if (!progressDrawn_) return;
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    progressDrawn_ = false;
}

}  // namespace qorvel::cli
