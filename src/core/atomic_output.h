#pragma once
// An output file that is replaced only when its step completes: the text goes to a temporary
// file beside the target, which is renamed over the target at Commit(). A step that fails or
// is cancelled leaves no file behind and an existing file as it was.
//
// What stands at the output path is respected:
// - a symbolic link is followed (a chain of them too) and the file it ends at is replaced; the
//   link stays a link;
// - a character or block device, a FIFO or a socket (or a path through /proc, such as
//   /dev/stdout) is written directly, without a temporary file: `-o /dev/null` discards the
//   output, `-o /dev/stdout` prints it;
// - a file without any write permission bit is refused, for every user, root included: a
//   surveyor marks a result read-only to keep it;
// - a replaced file keeps its permission bits (and its owner and group where allowed).
//
// Temporary files are named ".qorvel-" + a hash of the target's name + the process id + a
// unique ending, short enough beside any legal file name. They are removed when the program is
// interrupted (core/interrupt_cleanup.h); one left by a process killed outright is removed by
// the next write to the same target, once no process with that id runs any more.

#include <string>
#include <string_view>

#include "core/interrupt_cleanup.h"

namespace qorvel {

class AtomicOutput {
public:
    // Checks the target and creates the temporary file (or opens the device); fails with a
    // StepError naming `target`.
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
    std::string target_;       // as given, for messages
    std::string destination_;  // the file replaced: the target with its links followed
    std::string temporary_;    // empty when writing directly
    bool replacesExisting_ = false;
    unsigned existingMode_ = 0;
    unsigned existingOwner_ = 0;
    unsigned existingGroup_ = 0;
    int fd_ = -1;
    bool committed_ = false;
    RemovedOnInterrupt removedOnInterrupt_;

    void openDirectly(const std::string& path, bool throughProc);
    void createTemporary();
    [[noreturn]] void fail(const std::string& reason) const;
};

// Writes `bytes` to `target` through an AtomicOutput.
void WriteFileAtomically(const std::string& target, std::string_view bytes);

}  // namespace qorvel
