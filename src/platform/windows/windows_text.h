#pragma once
// Inside the platform folder only: UTF-8 and UTF-16, and the system's error codes as FileErrors.

#include <windows.h>

#include <cwctype>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/file_system.h"

namespace qorvel::platform::windows {

inline std::wstring Wide(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

inline std::string Utf8(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length, nullptr, nullptr);
    return utf8;
}

// The system's own words for `error`, in UTF-8.
inline std::string SystemText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring words = length > 0 && text ? std::wstring(text, length) : L"error " + std::to_wstring(error);
    if (text) ::LocalFree(text);
    while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' || words.back() == L'.' || words.back() == L' '))
        words.pop_back();
    return Utf8(words);
}

inline FileProblem ProblemOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND: case ERROR_PATH_NOT_FOUND: case ERROR_INVALID_DRIVE: case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME: case ERROR_BAD_PATHNAME:
            return FileProblem::NotFound;
        case ERROR_DIRECTORY: return FileProblem::NotAFolder;
        case ERROR_ACCESS_DENIED: case ERROR_PRIVILEGE_NOT_HELD: return FileProblem::NoPermission;
        case ERROR_SHARING_VIOLATION: case ERROR_LOCK_VIOLATION: case ERROR_USER_MAPPED_FILE:
        case ERROR_UNABLE_TO_REMOVE_REPLACED:
            return FileProblem::InUse;
        case ERROR_DISK_FULL: case ERROR_HANDLE_DISK_FULL: return FileProblem::DiskFull;
        case ERROR_WRITE_PROTECT: return FileProblem::ReadOnlyVolume;
        case ERROR_FILENAME_EXCED_RANGE: return FileProblem::NameTooLong;
        case ERROR_BROKEN_PIPE: case ERROR_NO_DATA: return FileProblem::ClosedPipe;
        case ERROR_FILE_TOO_LARGE: return FileProblem::TooLarge;
        case ERROR_CANT_RESOLVE_FILENAME: return FileProblem::TooManyLinks;
        default: return FileProblem::Other;
    }
}

[[noreturn]] inline void Fail(DWORD error) { throw FileError(ProblemOf(error), SystemText(error)); }
[[noreturn]] inline void FailLast() { Fail(::GetLastError()); }

// A handle closed when it goes.
class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { Close(); }
    Handle(Handle&& other) noexcept : handle_(other.Release()) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = other.Release();
        }
        return *this;
    }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE get() const { return handle_; }
    HANDLE Release() {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }
    void Close() {
        if (valid()) ::CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// A name the system keeps for a device whatever folder it stands in (CON, NUL, COM1 ...), or a
// path into the device namespace (\\.\...): nothing a rename could replace.
inline bool NamesADevice(const std::filesystem::path& path) {
    const std::wstring& native = path.native();
    if (native.starts_with(L"\\\\.\\") || native.starts_with(L"//./")) return true;
    std::wstring stem = path.filename().native();
    if (const std::size_t dot = stem.find(L'.'); dot != std::wstring::npos) stem.resize(dot);
    while (!stem.empty() && (stem.back() == L' ' || stem.back() == L':')) stem.pop_back();
    for (wchar_t& c : stem) c = static_cast<wchar_t>(::towupper(c));
    if (stem == L"CON" || stem == L"PRN" || stem == L"AUX" || stem == L"NUL" || stem == L"CONIN$" || stem == L"CONOUT$")
        return true;
    return stem.size() == 4 && (stem.starts_with(L"COM") || stem.starts_with(L"LPT")) && stem[3] >= L'1' && stem[3] <= L'9';
}

// Why `path` cannot be found: the system says "path not found" both for a folder missing on the
// way and for a file standing where a folder should; the first part of the path that exists
// tells them apart.
[[noreturn]] inline void FailMissing(const std::filesystem::path& path) {
    for (std::filesystem::path part = path.parent_path(); !part.empty() && part != part.parent_path();
         part = part.parent_path()) {
        const DWORD attributes = ::GetFileAttributesW(part.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) continue;
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) throw FileError(FileProblem::NotAFolder, {});
        break;
    }
    throw FileError(FileProblem::NotFound, {});
}

// The path in full, as every wide call is given it (the device namespace, \\.\ and \\?\, as
// it is).
inline std::wstring Absolute(const std::filesystem::path& path) {
    const std::wstring& native = path.native();
    if (native.starts_with(L"\\\\.\\") || native.starts_with(L"\\\\?\\") || native.empty()) return native;
    const DWORD length = ::GetFullPathNameW(native.c_str(), 0, nullptr, nullptr);
    if (length == 0) return native;
    std::wstring full(length, L'\0');
    const DWORD written = ::GetFullPathNameW(native.c_str(), length, full.data(), nullptr);
    if (written == 0 || written >= length) return native;
    full.resize(written);
    return full;
}

}  // namespace qorvel::platform::windows
