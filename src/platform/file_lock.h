#pragma once
// A claim on a place held by one process at a time: a lock file that the system releases when
// the process ends, also when it is killed outright, so that a crash never locks a surveyor out.
// A run holds one beside its output folder while it works there.

#include <filesystem>
#include <optional>

namespace qorvel::platform {

class FileLock {
public:
    // The lock at `path` (the file made when missing), or nothing when another process holds it.
    // Throws a FileError when the file cannot be made or opened.
    static std::optional<FileLock> TryTake(const std::filesystem::path& path);

    // Releases the lock and removes the file.
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&&) = delete;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    FileLock(std::filesystem::path path, long long handle) : path_(std::move(path)), handle_(handle) {}
    std::filesystem::path path_;
    long long handle_ = -1;  // the descriptor, or the HANDLE as a number; -1 when moved from
};

}  // namespace qorvel::platform
