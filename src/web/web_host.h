#pragma once
// The page as a step host. The page hands the module its files by role before a step starts
// (the surveyor chose them in the page, the worker put them into the module's file system), so
// every question for a file is answered at once, as on the command line; what a step shows goes
// to the page through a PageReporter, in the words the command line prints: a failure as
// "错误：…" naming file, line and field, a warning as its text.

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "frame/step_host.h"

namespace qorvel::web {

// The page's side: the worker turns each call into a message to the page.
class PageReporter {
public:
    virtual ~PageReporter() = default;
    // The bar (0 to 100) with the step's own status ("已处理碎步点：3000 个"), sent only when
    // the bar moves: a step may count every record.
    virtual void Progress(int percent, std::string_view detail) = 0;
    // What is running: the stage of a run ("第 2/9 步：3、桩号文字与桩号坐标合并").
    virtual void Status(std::string_view text) = 0;
    // kind: "error", "warning", "note" (a number read leniently) or "notice".
    virtual void Message(std::string_view kind, std::string_view text) = 0;
    // A step's line as `qorvel run` prints it.
    virtual void Line(std::string_view text) = 0;
};

class WebHost final : public StepHost {
public:
    WebHost(PageReporter& reporter, std::map<FileRole, std::string> inputs, std::string output)
        : reporter_(reporter), inputs_(std::move(inputs)), output_(std::move(output)) {}

    std::optional<std::string> AskFile(const FileQuestion& question) override;
    void ShowMessage(MessageRole role, std::string_view title, std::string_view text) override;
    void ShowFailure(std::string_view description) override;
    void SetStatus(int panel, std::string_view text) override;
    void SetProgress(int percent) override;
    void OpenResult(const std::string&) override {}

    bool failed() const { return failed_; }

private:
    PageReporter& reporter_;
    std::map<FileRole, std::string> inputs_;
    std::string output_;
    int percent_ = -1;
    std::string detail_;
    bool failed_ = false;
};

}  // namespace qorvel::web
