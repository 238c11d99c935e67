#include "platform/replaced_file.h"

#include <csignal>
#include <cstring>
#include <utility>
#include <dirent.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/interrupts.h"
#include "platform/posix/system_error.h"
#include "platform/process.h"
#include "platform/temporary_names.h"

namespace qorvel::platform {

using posix::Fail;

namespace {
namespace fs = std::filesystem;

// As many links as the system itself follows in one path.
constexpr int kMostLinks = 40;

bool HasNoWriteBit(const struct stat& info) { return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0; }

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// What ExamineOutput finds, with what a replacement must carry over.
struct Examined {
    OutputPlace place;
    bool throughProc = false;  // an open file of this process, reached through /proc
    mode_t mode = 0;
    uid_t owner = 0;
    gid_t group = 0;
};

void RefuseReadOnly(const struct stat& info) {
    if (HasNoWriteBit(info)) throw FileError(FileProblem::ReadOnly, {});
}

Examined Examine(const fs::path& target) {
    std::string path = target.native();
    if (path.empty() || path.back() == '/') throw FileError(FileProblem::IsFolder, {});
    Examined found;
    for (int hop = 0;; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) {
            if (errno != ENOENT) Fail(errno);
            found.place.kind = OutputPlace::Kind::NewFile;
            break;
        }
        if (S_ISLNK(info.st_mode)) {
            // The system's own links to open files (/dev/stdout leads to /proc/self/fd/1) name no
            // file a rename could replace: write through them.
            if (path.starts_with("/proc/")) {
                found.place.kind = OutputPlace::Kind::Special;
                found.throughProc = true;
                break;
            }
            if (hop == kMostLinks) Fail(ELOOP);
            std::string link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
            const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
            if (length < 0) Fail(errno);
            if (static_cast<std::size_t>(length) >= link.size()) Fail(ENAMETOOLONG);
            link.resize(static_cast<std::size_t>(length));
            path = link.starts_with('/') ? link : FolderOf(path) + "/" + link;
            continue;
        }
        if (S_ISDIR(info.st_mode)) Fail(EISDIR);
        if (!S_ISREG(info.st_mode)) {
            found.place.kind = OutputPlace::Kind::Special;
            break;
        }
        RefuseReadOnly(info);
        if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) Fail(errno);
        found.place.kind = OutputPlace::Kind::ExistingFile;
        found.mode = info.st_mode & 07777;
        found.owner = info.st_uid;
        found.group = info.st_gid;
        break;
    }
    found.place.destination = path;
    if (found.place.kind == OutputPlace::Kind::Special) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) Fail(errno);
        if (S_ISDIR(info.st_mode)) Fail(EISDIR);
        RefuseReadOnly(info);
        return found;
    }
    struct stat folder {};
    if (::stat(FolderOf(path).c_str(), &folder) != 0) Fail(errno);
    if (!S_ISDIR(folder.st_mode)) Fail(ENOTDIR);
    return found;
}

int ConnectToSocket(const std::string& path) {
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

// Removes the temporary files for `prefix` that processes no longer running left in `folder`
// (killed before they could clean up). A process id in use again keeps its file: it may be a
// live write of the same target.
void RemoveAbandonedTemporaries(const std::string& folder, const std::string& prefix) {
    DIR* directory = ::opendir(folder.c_str());
    if (!directory) return;
    const long self = CurrentProcessId();
    while (const dirent* entry = ::readdir(directory)) {
        const long owner = detail::ProcessOfTemporary(entry->d_name, prefix);
        if (owner == 0 || owner == self || ProcessRunning(owner)) continue;
        struct stat info {};
        if (::fstatat(::dirfd(directory), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode))
            ::unlinkat(::dirfd(directory), entry->d_name, 0);
    }
    ::closedir(directory);
}

void WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            Fail(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

// Copies the file at `from` to the open file `to`.
void CopyInto(const fs::path& from, int to) {
    const int source = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0) Fail(errno);
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(source, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int error = errno;
            ::close(source);
            Fail(error);
        }
        if (got == 0) break;
        try {
            WriteAll(to, std::string_view(buffer, static_cast<std::size_t>(got)));
        } catch (...) {
            ::close(source);
            throw;
        }
    }
    ::close(source);
}

// The signals that remove a temporary file must not come between its creation and its
// registration.
class SignalsBlocked {
public:
    SignalsBlocked() {
        sigset_t interrupts;
        sigemptyset(&interrupts);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&interrupts, signal);
        ::pthread_sigmask(SIG_BLOCK, &interrupts, &before_);
    }
    ~SignalsBlocked() { ::pthread_sigmask(SIG_SETMASK, &before_, nullptr); }

private:
    sigset_t before_;
};
}  // namespace

struct ReplacedFile::State {
    Examined examined;
    std::string temporary;  // empty when writing directly
    bool ownsTemporary = true;
    std::string written;    // a special target's content, written at Commit
    int fd = -1;
    bool finished = false;
    bool committed = false;
    std::string kept;       // the replaced file, kept beside it after CommitKeepingReplaced
    RemovedOnInterrupt removal;

    ~State() {
        if (fd >= 0) ::close(fd);
        if (!committed && ownsTemporary && !temporary.empty()) ::unlink(temporary.c_str());
        if (!kept.empty()) ::unlink(kept.c_str());
    }

    const std::string& destination() const { return examined.place.destination.native(); }

    void OpenDirectly() {
        const std::string& path = destination();
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) Fail(errno);
        if (S_ISSOCK(info.st_mode)) {
            fd = ConnectToSocket(path);
        } else {
            // A file reached through /proc is an open file of this process (stdout sent to a
            // file): it is written from its start, as the shell's redirection would.
            const int truncate = examined.throughProc && S_ISREG(info.st_mode) ? O_TRUNC : 0;
            fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | truncate);
        }
        if (fd < 0) Fail(errno);
    }

    void CreateTemporary() {
        const std::string folder = FolderOf(destination());
        const std::string prefix = detail::TemporaryPrefix(BaseNameOf(destination()));
        RemoveAbandonedTemporaries(folder, prefix);
        std::string pattern = folder + "/" + prefix + std::to_string(CurrentProcessId()) + "-XXXXXX";
        SignalsBlocked blocked;
        fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd < 0) Fail(errno);
        temporary = pattern;
        removal.Register(temporary);
    }

    // A name beside the destination for the file it replaces, taken by a hard link (so that the
    // destination never goes missing), or by a copy where the file system has no hard links.
    void KeepReplaced() {
        const std::string& path = destination();
        const std::string stem =
            FolderOf(path) + "/" + detail::TemporaryPrefix(BaseNameOf(path)) + std::to_string(CurrentProcessId()) + "-kept";
        for (int attempt = 0;; ++attempt) {
            const std::string name = stem + std::to_string(attempt);
            if (::link(path.c_str(), name.c_str()) == 0) {
                kept = name;
                return;
            }
            if (errno == EEXIST) continue;
            if (errno != EPERM && errno != ENOTSUP && errno != EMLINK && errno != EXDEV) Fail(errno);
            const int copy = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (copy < 0 && errno == EEXIST) continue;
            if (copy < 0) Fail(errno);
            try {
                CopyInto(path, copy);
                if (::fchmod(copy, examined.mode) != 0 || ::fsync(copy) != 0) Fail(errno);
            } catch (...) {
                ::close(copy);
                ::unlink(name.c_str());
                throw;
            }
            ::close(copy);
            kept = name;
            return;
        }
    }
};

OutputPlace ExamineOutput(const std::filesystem::path& target) { return Examine(target).place; }

ReplacedFile::ReplacedFile(const std::filesystem::path& target) : state_(std::make_unique<State>()) {
    state_->examined = Examine(target);
    if (writesDirectly()) {
        state_->OpenDirectly();
        return;
    }
    state_->CreateTemporary();
}

ReplacedFile::ReplacedFile(const std::filesystem::path& target, const std::filesystem::path& written)
    : state_(std::make_unique<State>()) {
    State& state = *state_;
    state.examined = Examine(target);
    if (writesDirectly()) {
        state.written = written.native();
        state.OpenDirectly();
        return;
    }
    struct stat file {};
    struct stat folder {};
    if (::stat(written.c_str(), &file) != 0) Fail(errno);
    if (::stat(FolderOf(state.destination()).c_str(), &folder) != 0) Fail(errno);
    if (file.st_dev == folder.st_dev) {
        state.temporary = written.native();
        state.ownsTemporary = false;
        state.fd = ::open(state.temporary.c_str(), O_RDONLY | O_CLOEXEC);
        if (state.fd < 0) Fail(errno);
        return;
    }
    state.CreateTemporary();
    CopyInto(written, state.fd);
}

ReplacedFile::~ReplacedFile() = default;
ReplacedFile::ReplacedFile(ReplacedFile&&) noexcept = default;
ReplacedFile& ReplacedFile::operator=(ReplacedFile&&) noexcept = default;

const OutputPlace& ReplacedFile::place() const { return state_->examined.place; }

void ReplacedFile::Write(std::string_view bytes) { WriteAll(state_->fd, bytes); }

void ReplacedFile::Finish() {
    State& state = *state_;
    if (state.finished || writesDirectly()) return;
    // The new file gets the permissions an ordinary new file would get, or those of the file it
    // replaces (its owner and group too, where the system allows it).
    mode_t mode = 0;
    if (place().kind == OutputPlace::Kind::ExistingFile) {
        mode = state.examined.mode;
        struct stat written {};
        if (::fstat(state.fd, &written) == 0 &&
            (written.st_uid != state.examined.owner || written.st_gid != state.examined.group) &&
            ::fchown(state.fd, state.examined.owner, state.examined.group) != 0) {
            // Not ours to give away: the file stays with its writer.
        }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(state.fd, mode) != 0) Fail(errno);
    if (::fsync(state.fd) != 0) Fail(errno);
    const int fd = std::exchange(state.fd, -1);
    if (::close(fd) != 0) Fail(errno);
    state.finished = true;
}

void ReplacedFile::Commit() {
    State& state = *state_;
    if (writesDirectly()) {
        if (!state.written.empty()) CopyInto(state.written, state.fd);
        const int fd = std::exchange(state.fd, -1);
        if (::close(fd) != 0 && errno != EINTR) Fail(errno);
        state.committed = true;
        return;
    }
    Finish();
    if (::rename(state.temporary.c_str(), state.destination().c_str()) != 0) Fail(errno);
    state.committed = true;
    state.removal.Release();
}

void ReplacedFile::CommitKeepingReplaced() {
    State& state = *state_;
    if (writesDirectly()) return Commit();
    Finish();
    if (place().kind == OutputPlace::Kind::ExistingFile) state.KeepReplaced();
    if (::rename(state.temporary.c_str(), state.destination().c_str()) != 0) {
        const int error = errno;
        if (!state.kept.empty()) ::unlink(std::exchange(state.kept, {}).c_str());
        Fail(error);
    }
    state.committed = true;
    state.removal.Release();
}

void ReplacedFile::PutBack() {
    State& state = *state_;
    if (!state.committed || writesDirectly()) return;
    if (!state.kept.empty()) {
        if (::rename(state.kept.c_str(), state.destination().c_str()) != 0) Fail(errno);
        state.kept.clear();
    } else if (::unlink(state.destination().c_str()) != 0 && errno != ENOENT) {
        Fail(errno);
    }
    state.committed = false;
    state.ownsTemporary = false;  // gone with the put-back
}

void ReplacedFile::DropReplaced() {
    State& state = *state_;
    if (!state.kept.empty()) ::unlink(std::exchange(state.kept, {}).c_str());
}

void ReplaceFileContent(const std::filesystem::path& target, std::string_view bytes) {
    ReplacedFile file(target);
    file.Write(bytes);
    file.Commit();
}

}  // namespace qorvel::platform
