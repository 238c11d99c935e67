#pragma once
// What an interrupted program leaves behind. A surveyor who presses Ctrl+C, closes the terminal
// or the console window, or has the run ended by a scheduler must not find half-written
// temporary files or a run's staging folder. Once InstallInterruptHandlers has run, an interrupt
// (SIGINT, SIGTERM, SIGHUP; on Windows Ctrl+C, Ctrl+Break, the console closed, the user logged
// off, the system shut down) removes every file and folder registered at that moment and then
// ends the program as the interrupt would have. SIGPIPE and SIGXFSZ are ignored, so that writing
// to a closed pipe or past the file size limit fails as a write error the program reports,
// instead of ending it without a word.
//
// While an InterruptsHeldBack lives, an interrupt waits: a run putting its files in place
// finishes (or puts the old ones back) before the program ends, so the folder never holds half
// of each. The interrupt then ends the program when the last one goes.
//
// On POSIX systems the handler only calls unlink, rmdir and raise (all async-signal-safe); the
// paths wait in fixed buffers, claimed and released through lock-free atomics.

#include <filesystem>

namespace qorvel::platform {

// Installs the handlers; called once by a program's main before any step runs. A signal the
// program was started with ignored (nohup, a background job) stays ignored.
void InstallInterruptHandlers();

// While it holds a path, what is there is removed when the program is interrupted: a file, or a
// folder once emptied of its registered files (folders go after every file). A few dozen may be
// registered at once (from different threads); a path beyond the buffers' room (4 KiB) is not
// registered, and is left for the next write to the same place to clean up.
class RemovedOnInterrupt {
public:
    enum class What { File, Folder };
    RemovedOnInterrupt() = default;
    ~RemovedOnInterrupt() { Release(); }
    RemovedOnInterrupt(RemovedOnInterrupt&& other) noexcept : slot_(other.slot_) { other.slot_ = -1; }
    RemovedOnInterrupt& operator=(RemovedOnInterrupt&&) = delete;
    RemovedOnInterrupt(const RemovedOnInterrupt&) = delete;
    RemovedOnInterrupt& operator=(const RemovedOnInterrupt&) = delete;

    // From now on `path` is removed on an interrupt (in place of any path before).
    void Register(const std::filesystem::path& path, What what = What::File);
    // It is no longer removed on an interrupt (it was renamed, or removed already).
    void Release();

    int slot() const { return slot_; }

private:
    int slot_ = -1;
};

// An interrupt arriving while one of these lives waits until the last one is destroyed.
class InterruptsHeldBack {
public:
    InterruptsHeldBack();
    ~InterruptsHeldBack();
    InterruptsHeldBack(const InterruptsHeldBack&) = delete;
    InterruptsHeldBack& operator=(const InterruptsHeldBack&) = delete;
};

// For tests: an interrupt as the system delivers one (SIGINT raised; on Windows the console
// handler on a thread of its own). Returns once the interrupt has been seen: when interrupts are
// held back, it is then waiting; otherwise the program has ended.
void SimulateInterrupt();

// Flushes stdout and tells whether everything written to it arrived: false when the flush
// failed or an earlier write did (a closed pipe, a full disk).
bool FlushStandardOutput();

}  // namespace qorvel::platform
