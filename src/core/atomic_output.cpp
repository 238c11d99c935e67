#include "core/atomic_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/step_error.h"

namespace qorvel {

namespace {
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
        default: return std::string("无法写入（") + std::strerror(error) + "）";
    }
}
}  // namespace

AtomicOutput::AtomicOutput(std::string target) : target_(std::move(target)) {
    if (target_.empty() || target_.back() == '/') fail("没有给出文件名");
    struct stat info {};
    if (::stat(target_.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) fail(describeWriteErrno(EISDIR));
    const std::string folder = folderOf(target_);
    if (::stat(folder.c_str(), &info) != 0) fail(describeWriteErrno(errno));
    if (!S_ISDIR(info.st_mode)) fail(describeWriteErrno(ENOTDIR));

    std::string pattern = folder + "/." + baseNameOf(target_) + ".qorvel-XXXXXX";
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) fail(describeWriteErrno(errno));
    temporary_ = pattern;
}

AtomicOutput::~AtomicOutput() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
}

void AtomicOutput::fail(const std::string& reason) {
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
    // The new file gets the permissions an ordinary new file would get, or those of the file
    // it replaces.
    struct stat existing {};
    mode_t mode = 0;
    if (::stat(target_.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
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
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) fail(describeWriteErrno(errno));
    committed_ = true;
}

void WriteFileAtomically(const std::string& target, std::string_view bytes) {
    AtomicOutput output(target);
    output.Write(bytes);
    output.Commit();
}

}  // namespace qorvel
