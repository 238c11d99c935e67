#include "platform/file_system.h"

#include "platform/windows/windows_text.h"

namespace qorvel::platform {

using windows::FailLast;
using windows::Handle;

std::string JoinedAsTyped(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != '\\' && path.back() != '/' && path.back() != ':')
        path += path.find('\\') == std::string::npos && path.find('/') != std::string::npos ? '/' : '\\';
    return path.append(name);
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    const std::wstring full = windows::Absolute(path);
    // Opening a device can have effects of its own; pipes (\\.\pipe\...) are read as files.
    if (windows::NamesADevice(path) && !path.native().starts_with(L"\\\\.\\pipe\\"))
        throw FileError(FileProblem::NotAFile, {});
    const DWORD attributes = ::GetFileAttributesW(full.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw FileError(FileProblem::IsFolder, {});
    Handle file(::CreateFileW(full.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_PATH_NOT_FOUND || error == ERROR_DIRECTORY) windows::FailMissing(full);
        windows::Fail(error);
    }
    const DWORD type = ::GetFileType(file.get());
    if (type != FILE_TYPE_DISK && type != FILE_TYPE_PIPE) throw FileError(FileProblem::NotAFile, {});
    std::string bytes;
    LARGE_INTEGER size{};
    if (type == FILE_TYPE_DISK && ::GetFileSizeEx(file.get(), &size)) bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    char buffer[1 << 16];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) break;  // the writer has ended
            windows::Fail(error);
        }
        if (got == 0) break;
        bytes.append(buffer, got);
    }
    return bytes;
}

std::optional<FileStamp> StampOf(const std::filesystem::path& path) {
    const std::wstring full = windows::Absolute(path);
    Handle file(::CreateFileW(full.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
    FileStamp stamp;
    stamp.volume = info.dwVolumeSerialNumber;
    stamp.index = (static_cast<std::uintmax_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    stamp.size = (static_cast<std::uintmax_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    // 100-nanosecond steps since 1601.
    const std::int64_t ticks = static_cast<std::int64_t>((static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                                                         info.ftLastWriteTime.dwLowDateTime);
    stamp.modifiedNanoseconds = (ticks - 116444736000000000LL) * 100;
    return stamp;
}

}  // namespace qorvel::platform
