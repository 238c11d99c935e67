#pragma once
// Processes: this one's id, whether another still runs (to tell a temporary file or staging
// folder of a killed run from that of a live one), and running a program with its output caught
// (the end-to-end tests run the real binary through it, on Linux and under Windows alike).

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace qorvel::platform {

long CurrentProcessId();
// False only when no process with the id `pid` runs; true when one does or when that cannot
// be told (a process of another user): only what is surely abandoned is cleaned up.
bool ProcessRunning(long pid);

struct ProcessOutcome {
    // The exit code; 128 + the signal's number when a signal ended the program (the shell's
    // way), and on Windows the exit code as the system reports it.
    int exitCode = -1;
    std::string out;
    std::string err;
};

struct ChildOptions {
    std::filesystem::path workingDirectory;  // empty: this process's
    // Its stdout a pipe that nobody reads, as in `qorvel run … | head -1` once head has ended:
    // every write to it fails.
    bool stdoutUnread = false;
    // HeldInputPath() names, for this child, a file that brings nothing until the child ends: a
    // step reading it waits there (for the tests that interrupt a run in the middle).
    bool heldInput = false;
};

// A program started with `arguments` (UTF-8; no shell, no wildcards), its stdout and stderr
// caught, its stdin empty.
class ChildProcess {
public:
    ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                 const ChildOptions& options = {});
    // The path (UTF-8) of the held input of the next child started with `heldInput`.
    static std::string HeldInputPath();
    ~ChildProcess();  // a child still running is killed and waited for
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits until the child has written `text` to its stdout (true), or has ended first (false).
    bool WaitForOutput(const std::string& text);
    // Interrupts the child as Ctrl+C in its console would (SIGINT; on Windows Ctrl+Break to its
    // process group). False when the interrupt could not be sent: on Windows it goes through a
    // console, which a program without one (under wine without a terminal) does not have.
    bool Interrupt();
    // Ends the child outright (SIGKILL; TerminateProcess): nothing of it runs any more.
    void Kill();
    // Waits for the end and gives everything it wrote.
    ProcessOutcome Wait();

    struct State;

private:
    std::unique_ptr<State> state_;
};

// The exit code of a program that an interrupt ended, as ProcessOutcome gives it: 128 + SIGINT;
// on Windows STATUS_CONTROL_C_EXIT.
int InterruptedExitCode();

// For tests: whether the status GoogleTest's death tests see tells of a program that an
// interrupt ended (SIGINT; on Windows the exit code of Ctrl+C).
bool EndedByInterrupt(int deathTestStatus);

// Runs `program` to its end.
ProcessOutcome RunProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                          const ChildOptions& options = {});

}  // namespace qorvel::platform
