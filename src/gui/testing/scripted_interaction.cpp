#include "testing/scripted_interaction.h"

namespace qorvel::gui::testing {

std::optional<QString> ScriptedInteraction::ChooseFile(QWidget&, const FileRequest& request) {
    fileDialogs.push_back(request);
    if (answers_.empty()) return std::nullopt;
    const ScriptedAnswer answer = answers_.front();
    answers_.pop_front();
    if (answer.cancel) return std::nullopt;
    return answer.path;
}

void ScriptedInteraction::ShowMessage(QWidget&, const QString& title, const QString& text) {
    messages.push_back({title, text});
    if (duringMessage) duringMessage(messages.back());
}

bool ScriptedInteraction::AskYesNo(QWidget&, const QString& title, const QString& text) {
    questions.push_back({title, text});
    if (replies_.empty()) return true;
    const bool yes = replies_.front();
    replies_.pop_front();
    return yes;
}

bool ScriptedInteraction::OpenWithDesktop(const QString& path) {
    desktopCalls.push_back(path);
    return true;
}

bool ScriptedInteraction::OpenInEditor(const QString& path) {
    editorCalls.push_back(path);
    return editorStarts;
}

void ScriptedInteraction::StartWindowMove(QWidget& window) { windowMoves.push_back(&window); }

void ScriptedInteraction::EndProgram() { ++programEnds; }

void ScriptedInteraction::Clear() {
    fileDialogs.clear();
    messages.clear();
    questions.clear();
    editorCalls.clear();
    desktopCalls.clear();
    windowMoves.clear();
    programEnds = 0;
    answers_.clear();
    replies_.clear();
}

}  // namespace qorvel::gui::testing
