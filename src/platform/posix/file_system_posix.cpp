#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_system.h"
#include "platform/posix/system_error.h"

namespace qorvel::platform {

using posix::Fail;

namespace {
struct FileDescriptor {
    int fd;
    ~FileDescriptor() {
        if (fd >= 0) ::close(fd);
    }
};

void RefuseSpecial(const struct stat& info) {
    if (S_ISDIR(info.st_mode)) throw FileError(FileProblem::IsFolder, {});
    if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode)) throw FileError(FileProblem::NotAFile, {});
}
}  // namespace

std::string JoinedAsTyped(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != '/') path += '/';
    return path.append(name);
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) RefuseSpecial(info);
    FileDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY)};
    if (file.fd < 0) Fail(errno);
    if (::fstat(file.fd, &info) != 0) Fail(errno);
    RefuseSpecial(info);
    // Read straight into the buffer; files that grow while read (or report no size) still come
    // in whole through the loop.
    std::string bytes(S_ISREG(info.st_mode) ? static_cast<std::size_t>(info.st_size) : 0, '\0');
    std::size_t filled = 0;
    char probe[1 << 16];
    for (;;) {
        // Fill the buffer sized from the file's length; past it, read into a small probe so the
        // usual file, which ends where its length says, is never copied to a larger buffer.
        const bool full = filled == bytes.size();
        char* target = full ? probe : bytes.data() + filled;
        const std::size_t room = full ? sizeof probe : bytes.size() - filled;
        const ssize_t got = ::read(file.fd, target, room);
        if (got < 0) {
            if (errno == EINTR) continue;
            Fail(errno);
        }
        if (got == 0) break;
        if (full) bytes.append(probe, static_cast<std::size_t>(got));
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

std::optional<FileStamp> StampOf(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    FileStamp stamp;
    stamp.volume = static_cast<std::uintmax_t>(info.st_dev);
    stamp.index = static_cast<std::uintmax_t>(info.st_ino);
    stamp.size = static_cast<std::uintmax_t>(info.st_size);
    stamp.modifiedNanoseconds = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    return stamp;
}

}  // namespace qorvel::platform
