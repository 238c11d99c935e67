#pragma once
// A step host for tests: dialogs answered from a script, everything the step shows recorded.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "frame/step_host.h"

namespace qorvel::testing {

class ScriptedHost final : public StepHost {
public:
    struct Dialog {
        bool save = false;
        FileRole role = FileRole::None;
        std::string filter;
        int position = 0;
        std::string usualName;
    };
    struct Message {
        MessageRole role;
        std::string title;
        std::string text;
    };

    // The next dialog's answer; nothing means cancel. Answers are used in order.
    ScriptedHost& Answer(std::optional<std::string> path) {
        answers_.push_back(std::move(path));
        return *this;
    }

    std::optional<std::string> AskFile(const FileQuestion& question) override;
    void ShowMessage(MessageRole role, std::string_view title, std::string_view text) override;
    void ShowFailure(std::string_view description) override;
    void SetStatus(int panel, std::string_view text) override;
    void SetProgress(int percent) override;
    void OpenResult(const std::string& path) override;
    void BringMainWindowToFront() override { ++frontRequests; }

    std::vector<Dialog> dialogs;
    std::vector<Message> messages;
    std::vector<std::string> failures;
    std::vector<std::string> statusPanel1;
    std::vector<std::string> statusPanel2;
    std::vector<int> progress;
    std::vector<std::string> openedResults;
    int frontRequests = 0;

private:
    std::deque<std::optional<std::string>> answers_;
};

}  // namespace qorvel::testing
