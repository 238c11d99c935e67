#include "platform/process.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "platform/windows/windows_text.h"

namespace qorvel::platform {

using windows::Handle;

namespace {

std::atomic<unsigned> gHeldInputs{0};

std::wstring HeldInputName(unsigned number) {
    return L"\\\\.\\pipe\\qorvel-held-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(number);
}

// One argument as the C runtime of the child splits its command line again: quoted when it holds
// a blank or a quote, a quote escaped, backslashes doubled where a quote follows them.
void AppendArgument(std::wstring& line, const std::wstring& argument) {
    if (!line.empty()) line += L' ';
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += argument;
        return;
    }
    line += L'"';
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') line.append(backslashes * 2 + 1, L'\\');
        else line.append(backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

// A pipe whose reading end stays here and whose writing end the child inherits.
void MakePipe(Handle& reading, Handle& writing) {
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!::CreatePipe(&read, &write, &inherited, 0)) throw std::runtime_error("CreatePipe failed");
    ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    reading = Handle(read);
    writing = Handle(write);
}

}  // namespace

long CurrentProcessId() { return static_cast<long>(::GetCurrentProcessId()); }

bool ProcessRunning(long pid) {
    Handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid)));
    if (!process.valid()) return ::GetLastError() != ERROR_INVALID_PARAMETER;  // none by that id, or not ours
    DWORD code = 0;
    return !::GetExitCodeProcess(process.get(), &code) || code == STILL_ACTIVE;
}

struct ChildProcess::State {
    Handle process;
    DWORD id = 0;
    // The server ends of the child's held input: every look at the file (its stamp, whether it is
    // one of the outputs) takes an instance of the pipe, so there are many.
    std::vector<Handle> heldInput;
    std::thread readers[2];
    std::mutex mutex;
    std::condition_variable arrived;
    bool open[2] = {false, false};
    ProcessOutcome outcome;
    bool ended = false;

    void Read(int stream, HANDLE pipe) {
        char buffer[65536];
        for (;;) {
            DWORD got = 0;
            if (!::ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) || got == 0) break;
            std::lock_guard lock(mutex);
            (stream == 0 ? outcome.out : outcome.err).append(buffer, got);
            arrived.notify_all();
        }
        ::CloseHandle(pipe);
        std::lock_guard lock(mutex);
        open[stream] = false;
        arrived.notify_all();
    }
};

std::string ChildProcess::HeldInputPath() { return windows::Utf8(HeldInputName(gHeldInputs.load())); }

ChildProcess::ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                           const ChildOptions& options)
    : state_(std::make_unique<State>()) {
    State& state = *state_;
    Handle outRead, outWrite, errRead, errWrite;
    MakePipe(outRead, outWrite);
    MakePipe(errRead, errWrite);
    if (options.stdoutUnread) outRead.Close();  // every write of the child fails
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    Handle input(::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr));
    if (options.heldInput) {
        const std::wstring name = HeldInputName(gHeldInputs++);
        for (int instance = 0; instance < 64; ++instance) {
            state.heldInput.emplace_back(::CreateNamedPipeW(name.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT,
                                                            PIPE_UNLIMITED_INSTANCES, 4096, 4096, 0, nullptr));
            if (!state.heldInput.back().valid()) throw std::runtime_error("CreateNamedPipeW failed");
        }
    }

    std::wstring line;
    AppendArgument(line, program.native());
    for (const std::string& argument : arguments) AppendArgument(line, windows::Wide(argument));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.get();
    startup.hStdOutput = outWrite.get();
    startup.hStdError = errWrite.get();
    PROCESS_INFORMATION started{};
    const std::wstring folder = options.workingDirectory.native();
    // A process group of its own, so that Ctrl+Break reaches the child alone.
    if (!::CreateProcessW(program.native().c_str(), line.data(), nullptr, nullptr, TRUE,
                          CREATE_NEW_PROCESS_GROUP | CREATE_UNICODE_ENVIRONMENT, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &started))
        throw std::runtime_error("CreateProcessW failed: " + windows::SystemText(::GetLastError()));
    ::CloseHandle(started.hThread);
    state.process = Handle(started.hProcess);
    state.id = started.dwProcessId;
    state.open[0] = outRead.valid();
    state.open[1] = true;
    if (outRead.valid()) state.readers[0] = std::thread([&state, pipe = outRead.Release()] { state.Read(0, pipe); });
    state.readers[1] = std::thread([&state, pipe = errRead.Release()] { state.Read(1, pipe); });
}

ChildProcess::~ChildProcess() {
    if (!state_->ended) {
        Kill();
        Wait();
    }
}

bool ChildProcess::WaitForOutput(const std::string& text) {
    State& state = *state_;
    std::unique_lock lock(state.mutex);
    state.arrived.wait(lock, [&] { return state.outcome.out.find(text) != std::string::npos || !state.open[0]; });
    return state.outcome.out.find(text) != std::string::npos;
}

bool ChildProcess::Interrupt() {
    return !state_->ended && ::GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, state_->id) != 0;
}

void ChildProcess::Kill() {
    if (!state_->ended) ::TerminateProcess(state_->process.get(), 1);
}

ProcessOutcome ChildProcess::Wait() {
    State& state = *state_;
    if (state.ended) return state.outcome;
    ::WaitForSingleObject(state.process.get(), INFINITE);
    state.heldInput.clear();
    for (std::thread& reader : state.readers)
        if (reader.joinable()) reader.join();
    DWORD code = 0;
    ::GetExitCodeProcess(state.process.get(), &code);
    state.outcome.exitCode = static_cast<int>(code);
    state.ended = true;
    return state.outcome;
}

int InterruptedExitCode() { return static_cast<int>(STATUS_CONTROL_C_EXIT); }

bool EndedByInterrupt(int deathTestStatus) { return deathTestStatus == InterruptedExitCode(); }

ProcessOutcome RunProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                          const ChildOptions& options) {
    ChildProcess child(program, arguments, options);
    return child.Wait();
}

}  // namespace qorvel::platform
