#pragma once
// The command line as a step host: each input file is the argument bound to its role, the
// output is -o; the closing message is the one line on stdout, warnings and failures go to
// stderr; progress is drawn on stderr only when it is a terminal.

#include <map>
#include <optional>
#include <string>

#include "frame/step_host.h"

namespace qorvel::cli {

class CliHost final : public StepHost {
public:
    CliHost(std::map<FileRole, std::string> inputs, std::string output);

    std::optional<std::string> AskFile(const FileQuestion& question) override;
    void ShowMessage(MessageRole role, std::string_view title, std::string_view text) override;
    void ShowFailure(std::string_view description) override;
    void SetStatus(int panel, std::string_view text) override;
    void SetProgress(int percent) override;
    void OpenResult(const std::string& path) override;

    // Clears the progress line, if one is drawn.
    void EndProgress();

private:
    std::map<FileRole, std::string> inputs_;
    std::string output_;
    bool showProgress_;
    bool progressDrawn_ = false;
    std::string status_;
    int percent_ = 0;
    void drawProgress();
};

}  // namespace qorvel::cli
