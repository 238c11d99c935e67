#include "platform/process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace qorvel::platform {

long CurrentProcessId() { return static_cast<long>(::getpid()); }

bool ProcessRunning(long pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH; }

struct ChildProcess::State {
    pid_t pid = -1;
    int fds[2] = {-1, -1};  // the child's stdout and stderr, read here
    int heldInput = -1;     // the writing end of the child's stdin, held open until it ends
    ProcessOutcome outcome;
    bool ended = false;

    // Reads what has come; false once both streams are closed.
    bool Pump() {
        pollfd polled[2];
        int open = 0;
        for (int k = 0; k < 2; ++k) {
            polled[k] = {fds[k], POLLIN, 0};
            if (fds[k] >= 0) ++open;
        }
        if (open == 0) return false;
        if (::poll(polled, 2, -1) < 0) return true;
        char buffer[65536];
        for (int k = 0; k < 2; ++k) {
            if (fds[k] < 0 || !(polled[k].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            const ssize_t got = ::read(fds[k], buffer, sizeof buffer);
            if (got > 0) {
                (k == 0 ? outcome.out : outcome.err).append(buffer, static_cast<std::size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                ::close(fds[k]);
                fds[k] = -1;
            }
        }
        return true;
    }
};

ChildProcess::ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                           const ChildOptions& options)
    : state_(std::make_unique<State>()) {
    int outPipe[2];
    int errPipe[2];
    if (::pipe(outPipe) != 0) throw std::runtime_error("pipe failed");
    if (::pipe(errPipe) != 0) {
        ::close(outPipe[0]);
        ::close(outPipe[1]);
        throw std::runtime_error("pipe failed");
    }
    std::vector<char*> argv;
    const std::string path = program.native();
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const std::string folder = options.workingDirectory.native();
    if (options.stdoutUnread) ::close(std::exchange(outPipe[0], -1));  // before the child could inherit it
    int inPipe[2] = {-1, -1};
    if (options.heldInput && ::pipe2(inPipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    const pid_t child = ::fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        ::dup2(outPipe[1], STDOUT_FILENO);
        ::dup2(errPipe[1], STDERR_FILENO);
        for (const int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]})
            if (fd >= 0) ::close(fd);
        const int nothing = options.heldInput ? inPipe[0] : ::open("/dev/null", O_RDONLY);
        if (nothing >= 0) ::dup2(nothing, STDIN_FILENO);
        if (!folder.empty() && ::chdir(folder.c_str()) != 0) ::_exit(127);
        ::execv(path.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    if (options.heldInput) {
        ::close(inPipe[0]);
        state_->heldInput = inPipe[1];
    }
    state_->pid = child;
    state_->fds[0] = outPipe[0];
    state_->fds[1] = errPipe[0];
}

ChildProcess::~ChildProcess() {
    if (!state_->ended) {
        Kill();
        Wait();
    }
}

std::string ChildProcess::HeldInputPath() { return "/dev/stdin"; }

bool ChildProcess::WaitForOutput(const std::string& text) {
    while (state_->outcome.out.find(text) == std::string::npos)
        if (!state_->Pump()) return false;
    return true;
}

bool ChildProcess::Interrupt() { return !state_->ended && ::kill(state_->pid, SIGINT) == 0; }

void ChildProcess::Kill() {
    if (!state_->ended) ::kill(state_->pid, SIGKILL);
}

ProcessOutcome ChildProcess::Wait() {
    State& state = *state_;
    if (state.ended) return state.outcome;
    while (state.Pump()) {
    }
    int status = 0;
    while (::waitpid(state.pid, &status, 0) < 0 && errno == EINTR) {
    }
    state.outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    state.ended = true;
    if (state.heldInput >= 0) ::close(std::exchange(state.heldInput, -1));
    return state.outcome;
}

int InterruptedExitCode() { return 128 + SIGINT; }

bool EndedByInterrupt(int deathTestStatus) {
    return WIFSIGNALED(deathTestStatus) && WTERMSIG(deathTestStatus) == SIGINT;
}

ProcessOutcome RunProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                          const ChildOptions& options) {
    ChildProcess child(program, arguments, options);
    return child.Wait();
}

}  // namespace qorvel::platform
