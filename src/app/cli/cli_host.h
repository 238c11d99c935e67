#pragma once
// The command line as a step host: the open dialogs are answered by the input files in the
// order given, the save dialog by -o; the closing message is the one line on stdout, warnings
// and failures go to stderr; progress is drawn on stderr only when it is a terminal.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/step_host.h"

namespace qorvel::cli {

class CliHost final : public StepHost {
public:
    CliHost(std::vector<std::string> inputs, std::string output);

    std::optional<std::string> AskOpenFile(int dialog, std::string_view filter) override;
    std::optional<std::string> AskSaveFile(int dialog, std::string_view filter) override;
    void ShowMessage(MessageRole role, std::string_view title, std::string_view text) override;
    void ShowFailure(std::string_view description) override;
    void SetStatus(int panel, std::string_view text) override;
    void SetProgress(int percent) override;
    void OpenResult(const std::string& path) override;

    const std::string& summary() const { return summary_; }
    // Clears the progress line, if one is drawn.
    void EndProgress();

private:
    std::vector<std::string> inputs_;
    std::size_t nextInput_ = 0;
    std::string output_;
    std::string summary_;
    bool showProgress_;
    bool progressDrawn_ = false;
    std::string status_;
    int percent_ = 0;
    void drawProgress();
};

}  // namespace qorvel::cli
