#include "core/atomic_output.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "core/step_error.h"

namespace qorvel {

namespace {
// As many links as the system itself follows in one path.
constexpr int kMostLinks = 40;
constexpr std::string_view kTemporaryPrefix = ".qorvel-";

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string describeWriteErrno(int error) {
    switch (error) {
        case ENOENT: return "保存位置的文件夹不存在";
        case ENOTDIR: return "保存位置的路径中有一部分不是文件夹";
        case EACCES: case EPERM: return "没有写入该位置的权限";
        case ENOSPC: return "磁盘空间不足";
        case EROFS: return "该位置只读";
        case EISDIR: return "这是一个文件夹，不是文件";
        case ELOOP: return "符号链接的层数过多（或链接成环）";
        case EPIPE: return "接收输出的一方已关闭（管道已断开）";
        case EFBIG: return "文件超出允许的大小";
        default: return std::string("无法写入（") + std::strerror(error) + "）";
    }
}

bool hasNoWriteBit(const struct stat& info) { return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0; }

// The hash that ties temporary files to the name of the file they will replace (64-bit FNV-1a).
std::string nameHash(std::string_view name) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3u;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

// The process id in a temporary file's name ("<prefix><pid>-XXXXXX"), 0 when there is none.
pid_t processOf(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix)) return 0;
    name.remove_prefix(prefix.size());
    long long pid = 0;
    std::size_t at = 0;
    for (; at < name.size() && name[at] >= '0' && name[at] <= '9' && at < 10; ++at) pid = pid * 10 + (name[at] - '0');
    if (at == 0 || at >= name.size() || name[at] != '-' || pid <= 0 || pid > INT32_MAX) return 0;
    return static_cast<pid_t>(pid);
}

// Removes the temporary files for `prefix` that processes no longer running left in `folder`
// (killed before they could clean up). A process id in use again keeps its file: it may be a
// live write of the same target.
void removeAbandonedTemporaries(const std::string& folder, const std::string& prefix) {
    DIR* directory = ::opendir(folder.c_str());
    if (!directory) return;
    const pid_t self = ::getpid();
    while (const dirent* entry = ::readdir(directory)) {
        const pid_t owner = processOf(entry->d_name, prefix);
        if (owner == 0 || owner == self) continue;
        if (::kill(owner, 0) == 0 || errno != ESRCH) continue;
        struct stat info {};
        if (::fstatat(::dirfd(directory), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode))
            ::unlinkat(::dirfd(directory), entry->d_name, 0);
    }
    ::closedir(directory);
}

int connectToSocket(const std::string& path) {
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
        return -1;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}
}  // namespace

AtomicOutput::AtomicOutput(std::string target) : target_(std::move(target)) {
    if (target_.empty() || target_.back() == '/') fail("没有给出文件名");
    std::string path = target_;
    for (int hop = 0;; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) {
            if (errno != ENOENT) fail(describeWriteErrno(errno));
            break;  // a new file
        }
        if (S_ISLNK(info.st_mode)) {
            // The system's own links to open files (/dev/stdout leads to /proc/self/fd/1) name
            // no file a rename could replace: write through them.
            if (path.starts_with("/proc/")) {
                openDirectly(path, true);
                return;
            }
            if (hop == kMostLinks) fail(describeWriteErrno(ELOOP));
            std::string link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
            const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
            if (length < 0) fail(describeWriteErrno(errno));
            if (static_cast<std::size_t>(length) >= link.size()) fail(describeWriteErrno(ENAMETOOLONG));
            link.resize(static_cast<std::size_t>(length));
            path = link.starts_with('/') ? link : folderOf(path) + "/" + link;
            continue;
        }
        if (S_ISDIR(info.st_mode)) fail(describeWriteErrno(EISDIR));
        if (!S_ISREG(info.st_mode)) {
            openDirectly(path, false);
            return;
        }
        if (hasNoWriteBit(info)) fail("该文件为只读文件，不能覆盖");
        if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) fail(describeWriteErrno(errno));
        replacesExisting_ = true;
        existingMode_ = info.st_mode & 07777;
        existingOwner_ = info.st_uid;
        existingGroup_ = info.st_gid;
        break;
    }
    destination_ = path;
    createTemporary();
}

void AtomicOutput::openDirectly(const std::string& path, bool throughProc) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) fail(describeWriteErrno(errno));
    if (S_ISDIR(info.st_mode)) fail(describeWriteErrno(EISDIR));
    if (hasNoWriteBit(info)) fail("该文件为只读文件，不能覆盖");
    if (S_ISSOCK(info.st_mode)) {
        fd_ = connectToSocket(path);
    } else {
        // A file reached through /proc is an open file of this process (stdout sent to a
        // file): it is written from its start, as the shell's redirection would.
        const int truncate = throughProc && S_ISREG(info.st_mode) ? O_TRUNC : 0;
        fd_ = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | truncate);
    }
    if (fd_ < 0) fail(describeWriteErrno(errno));
    destination_ = path;
}

void AtomicOutput::createTemporary() {
    const std::string folder = folderOf(destination_);
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) fail(describeWriteErrno(errno));
    if (!S_ISDIR(info.st_mode)) fail(describeWriteErrno(ENOTDIR));

    const std::string prefix = std::string(kTemporaryPrefix) + nameHash(baseNameOf(destination_)) + "-";
    removeAbandonedTemporaries(folder, prefix);
    std::string pattern = folder + "/" + prefix + std::to_string(::getpid()) + "-XXXXXX";
    // The signals that remove it must not come between its creation and its registration.
    sigset_t interrupts;
    sigset_t before;
    sigemptyset(&interrupts);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&interrupts, signal);
    ::pthread_sigmask(SIG_BLOCK, &interrupts, &before);
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    const int error = errno;
    if (fd_ >= 0) {
        temporary_ = pattern;
        removedOnInterrupt_.Register(temporary_);
    }
    ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
    if (fd_ < 0) fail(describeWriteErrno(error));
}

AtomicOutput::~AtomicOutput() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
    removedOnInterrupt_.Release();
}

void AtomicOutput::fail(const std::string& reason) const {
    throw StepError(target_, StepError::kNoLine, StepError::kNoField, reason);
}

void AtomicOutput::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            fail(describeWriteErrno(errno));
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void AtomicOutput::Commit() {
    if (temporary_.empty()) {  // written directly
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0 && errno != EINTR) fail(describeWriteErrno(errno));
        committed_ = true;
        return;
    }
    // The new file gets the permissions an ordinary new file would get, or those of the file
    // it replaces (its owner and group too, where the system allows it).
    mode_t mode = 0;
    if (replacesExisting_) {
        mode = static_cast<mode_t>(existingMode_);
        struct stat written {};
        if (::fstat(fd_, &written) == 0 && (written.st_uid != existingOwner_ || written.st_gid != existingGroup_) &&
            ::fchown(fd_, existingOwner_, existingGroup_) != 0) {
            // Not ours to give away: the file stays with its writer.
        }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd_, mode) != 0) fail(describeWriteErrno(errno));
    if (::fsync(fd_) != 0) fail(describeWriteErrno(errno));
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fail(describeWriteErrno(errno));
    if (::rename(temporary_.c_str(), destination_.c_str()) != 0) fail(describeWriteErrno(errno));
    committed_ = true;
    removedOnInterrupt_.Release();
}

void WriteFileAtomically(const std::string& target, std::string_view bytes) {
    AtomicOutput output(target);
    output.Write(bytes);
    output.Commit();
}

}  // namespace qorvel
