#pragma once
// An output file that is replaced only when its step completes: the text goes to a temporary
// file beside the target, which is renamed over the target at Commit(). A step that fails or
// is cancelled leaves no file behind and an existing file as it was.

#include <string>
#include <string_view>

namespace qorvel {

class AtomicOutput {
public:
    // Checks the target's folder and creates the temporary file; fails with a StepError.
    explicit AtomicOutput(std::string target);
    ~AtomicOutput();
    AtomicOutput(const AtomicOutput&) = delete;
    AtomicOutput& operator=(const AtomicOutput&) = delete;

    void Write(std::string_view bytes);
    // Flushes to disk and renames the temporary file over the target.
    void Commit();

    const std::string& target() const { return target_; }

private:
    std::string target_;
    std::string temporary_;
    int fd_ = -1;
    bool committed_ = false;
    [[noreturn]] void fail(const std::string& reason);
};

// Writes `bytes` to `target` through an AtomicOutput.
void WriteFileAtomically(const std::string& target, std::string_view bytes);

}  // namespace qorvel
