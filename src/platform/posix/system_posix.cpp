// The smaller parts of the seam on POSIX systems: local time, the console, the lock file.

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/console.h"
#include "platform/file_lock.h"
#include "platform/local_time.h"
#include "platform/posix/system_error.h"

namespace qorvel::platform {

LocalTime LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

void PrepareStandardStreams() {}

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

std::optional<FileLock> FileLock::TryTake(const std::filesystem::path& path) {
    for (;;) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd < 0) posix::Fail(errno);
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK) return std::nullopt;
            posix::Fail(error);
        }
        // The holder before may have removed the file between our open and our lock: the lock
        // counts only on the file that is still there.
        struct stat held {};
        struct stat there {};
        if (::fstat(fd, &held) == 0 && ::stat(path.c_str(), &there) == 0 && held.st_dev == there.st_dev &&
            held.st_ino == there.st_ino)
            return FileLock(path, fd);
        ::close(fd);
    }
}

FileLock::FileLock(FileLock&& other) noexcept : path_(std::move(other.path_)), handle_(other.handle_) {
    other.handle_ = -1;
}

FileLock::~FileLock() {
    if (handle_ < 0) return;
    ::unlink(path_.c_str());  // still locked: a process that opened it meanwhile tries again
    ::close(static_cast<int>(handle_));
}

}  // namespace qorvel::platform
