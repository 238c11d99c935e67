#pragma once
// What an interrupted program leaves behind. A step writes its output to a temporary file
// beside the target and renames it at the end; a surveyor who presses Ctrl+C, closes the
// terminal or has the run killed by a scheduler must not find a half-written temporary file
// there. Once InstallInterruptCleanup has run, SIGINT, SIGTERM and SIGHUP remove every
// temporary file registered at that moment and then end the program as the signal would
// have. SIGPIPE and SIGXFSZ are ignored, so that writing to a closed pipe or past the file size
// limit fails as a write error the program reports, instead of ending it without a word.
//
// The handler only calls unlink and re-raises the signal (both async-signal-safe); the paths
// wait in fixed buffers, claimed and released through lock-free atomics.

#include <string>

namespace qorvel {

// Installs the handlers; called once by a program's main before any step runs. A signal the
// program was started with ignored (nohup, a background job) stays ignored.
void InstallInterruptCleanup();

// While it holds a path, the file there is removed when the program is interrupted. A few such
// files may be registered at once (from different threads); paths beyond the buffers' room
// (a handful of registrations, 4 KiB each) are not registered, and are left for the
// next write to the same target to clean up (AtomicOutput removes temporary files of
// processes that no longer run).
class RemovedOnInterrupt {
public:
    RemovedOnInterrupt() = default;
    ~RemovedOnInterrupt() { Release(); }
    RemovedOnInterrupt(const RemovedOnInterrupt&) = delete;
    RemovedOnInterrupt& operator=(const RemovedOnInterrupt&) = delete;

    // From now on the file at `path` is removed on an interrupt (in place of any before).
    void Register(const std::string& path);
    // The file is no longer removed on an interrupt (it was renamed, or removed already).
    void Release();

private:
    int slot_ = -1;
};

// Flushes stdout and tells whether everything written to it arrived: false when the flush
// failed or an earlier write did (a closed pipe, a full disk). For main's last word: a
// summary that could not be written is a failure, not a success.
bool FlushStandardOutput();

}  // namespace qorvel
