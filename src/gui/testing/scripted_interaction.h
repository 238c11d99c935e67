#pragma once
// The window's dialogs and the desktop scripted for tests: file dialogs and questions answered
// from lists, message boxes, editor calls, window moves and the program's end recorded.

#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "gui/user_interaction.h"

namespace qorvel::gui::testing {

class ScriptedInteraction final : public UserInteraction {
public:
    struct Message {
        QString title;
        QString text;
    };

    // The next file dialog's answer; nothing means cancel. When the answers run out, the
    // dialogs are cancelled.
    ScriptedInteraction& Answer(const std::optional<QString>& path) {
        answers_.push_back({!path.has_value(), path.value_or(QString())});
        return *this;
    }

    // The next question's answer. A question not scripted is answered 是: a surveyor who
    // chose an existing file in a save dialog means to replace it.
    ScriptedInteraction& Reply(bool yes) {
        replies_.push_back(yes);
        return *this;
    }

    std::optional<QString> ChooseFile(QWidget& window, const FileRequest& request) override;
    void ShowMessage(QWidget& window, const QString& title, const QString& text) override;
    bool AskYesNo(QWidget& window, const QString& title, const QString& text) override;
    bool OpenInEditor(const QString& path) override;
    bool OpenWithDesktop(const QString& path) override;
    void StartWindowMove(QWidget& window) override;
    void EndProgram() override;

    // Forgets everything recorded and every answer not used.
    void Clear();

    std::vector<FileRequest> fileDialogs;
    std::vector<Message> messages;
    std::vector<Message> questions;
    std::vector<QString> editorCalls;
    std::vector<QString> desktopCalls;  // what OpenWithDesktop was asked to open
    std::vector<QWidget*> windowMoves;
    int programEnds = 0;
    bool editorStarts = true;
    // Called while a message box would be up, to look at the window at that moment.
    std::function<void(const Message&)> duringMessage;

private:
    struct ScriptedAnswer {
        bool cancel;
        QString path;
    };
    std::deque<ScriptedAnswer> answers_;
    std::deque<bool> replies_;
};

}  // namespace qorvel::gui::testing
