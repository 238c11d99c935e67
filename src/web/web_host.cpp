#include "web/web_host.h"

namespace qorvel::web {

std::optional<std::string> WebHost::AskFile(const FileQuestion& question) {
    if (question.save) {
        if (output_.empty()) return std::nullopt;
        return output_;
    }
    const auto bound = inputs_.find(question.file.role);
    if (bound == inputs_.end()) return std::nullopt;
    return bound->second;
}

void WebHost::ShowMessage(MessageRole role, std::string_view, std::string_view text) {
    // The closing message comes back in the step's result, as on the command line.
    if (role == MessageRole::Warning) reporter_.Message("warning", text);
}

void WebHost::ShowFailure(std::string_view description) {
    failed_ = true;
    reporter_.Message("error", "错误：" + std::string(description));
}

void WebHost::SetStatus(int panel, std::string_view text) {
    if (panel == 1)
        reporter_.Status(text);
    else
        detail_ = text;
}

void WebHost::SetProgress(int percent) {
    if (percent == percent_) return;
    percent_ = percent;
    reporter_.Progress(percent, detail_);
}

}  // namespace qorvel::web
