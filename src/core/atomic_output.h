#pragma once
// An output file that is replaced only when its step completes: the text goes to a temporary
// file beside the target, which is renamed over the target at Commit(). A step that fails or
// is cancelled leaves no file behind and an existing file as it was.
//
// What stands at the output path is respected (platform/replaced_file.h has the whole of it): a
// link is followed and the file it ends at replaced; a device, a pipe or a socket
// (`-o /dev/stdout`) is written directly; a file without any write permission is refused, for
// every user: a surveyor marks a result read-only to keep it; a replaced file keeps its
// permissions; a file another program holds open is refused (Windows). Every failure is a
// StepError naming the target as given, in the surveyor's words.

#include <memory>
#include <string>
#include <string_view>

namespace qorvel {

namespace platform {
class ReplacedFile;
}

class AtomicOutput {
public:
    // Checks the target and creates the temporary file (or opens the device); fails with a
    // StepError naming `target` (UTF-8, as typed).
    explicit AtomicOutput(std::string target);
    ~AtomicOutput();
    AtomicOutput(const AtomicOutput&) = delete;
    AtomicOutput& operator=(const AtomicOutput&) = delete;

    void Write(std::string_view bytes);
    // Flushes to disk and renames the temporary file over the target (a direct target is only
    // closed).
    void Commit();

    const std::string& target() const { return target_; }

private:
    std::string target_;  // as given, for messages
    std::unique_ptr<platform::ReplacedFile> file_;
};

// Writes `bytes` to `target` through an AtomicOutput.
void WriteFileAtomically(const std::string& target, std::string_view bytes);

// The reason, in the surveyor's words, why an output cannot be written at `target` (UTF-8), or
// nothing when it can: what AtomicOutput would refuse there, without writing anything.
std::string OutputRefusal(const std::string& target);

}  // namespace qorvel
