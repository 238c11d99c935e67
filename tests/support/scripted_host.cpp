#include "support/scripted_host.h"

#include <stdexcept>

namespace qorvel::testing {

std::optional<std::string> ScriptedHost::AskFile(const FileQuestion& question) {
    dialogs.push_back({question.save, question.file.role, std::string(question.file.filter), question.position,
                       std::string(question.usualName)});
    if (answers_.empty()) throw std::logic_error("the test script has no answer for this dialog");
    auto answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
}

void ScriptedHost::ShowMessage(MessageRole role, std::string_view title, std::string_view text) {
    messages.push_back({role, std::string(title), std::string(text)});
}

void ScriptedHost::ShowFailure(std::string_view description) { failures.emplace_back(description); }

void ScriptedHost::SetStatus(int panel, std::string_view text) {
    (panel == 1 ? statusPanel1 : statusPanel2).emplace_back(text);
}

void ScriptedHost::SetProgress(int percent) { progress.push_back(percent); }

void ScriptedHost::OpenResult(const std::string& path) { openedResults.push_back(path); }

}  // namespace qorvel::testing
