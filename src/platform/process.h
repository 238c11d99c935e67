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

// A program started with `arguments` (UTF-8; no shell, no wildcards), its stdout and stderr
// caught, its stdin empty.
class ChildProcess {
public:
    ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                 const std::filesystem::path& workingDirectory = {});
    ~ChildProcess();  // a child still running is killed and waited for
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits until the child has written `text` to its stderr (true), or has ended first (false).
    bool WaitForError(const std::string& text);
    // Interrupts the child as Ctrl+C in its console would (SIGINT; on Windows Ctrl+Break to its
    // process group).
    void Interrupt();
    // Ends the child outright (SIGKILL; TerminateProcess): nothing of it runs any more.
    void Kill();
    // Waits for the end and gives everything it wrote.
    ProcessOutcome Wait();

    struct State;

private:
    std::unique_ptr<State> state_;
};

// Runs `program` to its end.
ProcessOutcome RunProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                          const std::filesystem::path& workingDirectory = {});

}  // namespace qorvel::platform
