#include "core/data_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/step_error.h"

namespace qorvel {

namespace {
bool isBlank(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }

std::string describeErrno(int error) {
    switch (error) {
        case ENOENT: return "文件不存在";
        case EACCES: return "没有读取该文件的权限";
        case EISDIR: return "这是一个文件夹，不是文件";
        case ENOTDIR: return "路径中有一部分不是文件夹";
        default: return std::string("无法读取（") + std::strerror(error) + "）";
    }
}

struct FileDescriptor {
    int fd;
    ~FileDescriptor() { if (fd >= 0) ::close(fd); }
};
}  // namespace

std::vector<Record> SplitRecords(std::string_view bytes) {
    std::vector<Record> records;
    // One quick count of the line ends spares the vector its regrowths on a million lines.
    records.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    // A byte order mark (some editors save one) marks the file as UTF-8; it is no part of the
    // first record's text.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    std::size_t start = bytes.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    std::size_t line = 1;
    while (start < bytes.size()) {
        const void* found = std::memchr(bytes.data() + start, '\n', bytes.size() - start);
        const std::size_t end = found ? static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data())
                                      : bytes.size();
        std::string_view text = bytes.substr(start, end - start);
        if (found && !text.empty() && text.back() == '\r') text.remove_suffix(1);
        if (!isBlank(text)) records.push_back(Record{line, text});
        start = end + 1;
        ++line;
    }
    return records;
}

std::string ReadWholeFile(const std::string& path) {
    const auto fail = [&](const std::string& reason) {
        throw StepError(path, StepError::kNoLine, StepError::kNoField, reason);
    };
    // Only files and pipes end: a device such as /dev/zero would be read until memory runs
    // out (and opening one can have effects of its own), so it is refused before it is opened.
    const auto refuseSpecial = [&](const struct stat& info) {
        if (S_ISDIR(info.st_mode)) fail(describeErrno(EISDIR));
        if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode)) fail("这是设备或其他特殊文件，不是可以读取的数据文件");
    };
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) refuseSpecial(info);
    FileDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY)};
    if (file.fd < 0) fail(describeErrno(errno));
    if (::fstat(file.fd, &info) != 0) fail(describeErrno(errno));
    refuseSpecial(info);
    // Read straight into the buffer; files that grow while read (or report no size) still
    // come in whole through the loop.
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
            fail(describeErrno(errno));
        }
        if (got == 0) break;
        if (full) bytes.append(probe, static_cast<std::size_t>(got));
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

void DataFile::RestartLenientReads(std::unique_ptr<LenientReadLog> from) {
    lenientReads_ = from ? std::move(from)
                         : std::make_unique<LenientReadLog>(records_.empty() ? 0 : records_.back().line);
}

DataFile DataFile::Load(const std::string& path) { return FromBytes(path, ReadWholeFile(path)); }

DataFile DataFile::FromBytes(std::string name, std::string bytes) {
    DataFile file;
    file.name_ = std::move(name);
    file.bytes_ = std::make_unique<const std::string>(std::move(bytes));
    file.records_ = SplitRecords(*file.bytes_);
    file.lenientReads_ = std::make_unique<LenientReadLog>(file.records_.empty() ? 0 : file.records_.back().line);
    return file;
}

}  // namespace qorvel
