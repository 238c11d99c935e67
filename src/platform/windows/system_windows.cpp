// The smaller parts of the seam on Windows: local time, the console, the lock file.

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>

#include "platform/console.h"
#include "platform/file_lock.h"
#include "platform/local_time.h"
#include "platform/windows/windows_text.h"

namespace qorvel::platform {

LocalTime LocalTimeNow() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int k = 0; k < count; ++k) arguments.push_back(windows::Utf8(wide[k]));
    ::LocalFree(wide);
    return arguments;
}

void PrepareStandardStreams() {
    // No message box from the system for a drive without a disk: the error comes back instead.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    ::SetConsoleOutputCP(CP_UTF8);
    // Bytes as written: the summary lines end in LF as everywhere, no CR is added.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // The progress line redraws itself with the terminal's control codes.
    HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (::GetConsoleMode(error, &mode)) ::SetConsoleMode(error, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

bool StandardErrorIsTerminal() {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

std::optional<FileLock> FileLock::TryTake(const std::filesystem::path& path) {
    // Shared with nobody, and gone when the last handle closes: when the process ends in any way.
    HANDLE lock = ::CreateFileW(windows::Absolute(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (lock == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_SHARING_VIOLATION) return std::nullopt;
        windows::Fail(error);
    }
    return FileLock(path, reinterpret_cast<long long>(lock));
}

FileLock::FileLock(FileLock&& other) noexcept : path_(std::move(other.path_)), handle_(other.handle_) {
    other.handle_ = -1;
}

FileLock::~FileLock() {
    if (handle_ != -1) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

}  // namespace qorvel::platform
