#pragma once
// The one seam between the program and the operating system's files. The program keeps paths as
// the UTF-8 text the surveyor typed (messages name them so); it turns them into a
// std::filesystem::path here, with PathFromUtf8, and back with Utf8FromPath. On Windows a path is
// UTF-16 and every file call takes the wide API, so a folder named 测试, or a name with a
// character that GBK cannot hold, works whatever code page the system runs in. Never build a
// path from a std::string directly: on Windows that reads the text in the ANSI code page.
//
// A failing call throws a FileError telling what kind of problem it met; the caller words it for
// the surveyor (a read and a write word the same problem differently) and names the file.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qorvel::platform {

std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// The path (UTF-8) of the file `name` in `folder`, written as the surveyor writes paths: with
// the separator the folder is typed with (on Windows a backslash, or "/" when the folder has only
// those), none added after one that ends the folder.
std::string JoinedAsTyped(std::string_view folder, std::string_view name);

enum class FileProblem {
    NotFound,        // the file, or a folder on the way to it, does not exist
    NotAFolder,      // a part of the path that should be a folder is a file
    NoPermission,    // this user may not read or write there
    IsFolder,        // a folder where a file was meant
    NotAFile,        // a device or other special file where a data file is to be read
    ReadOnly,        // a file that carries no write permission at all: kept, for everyone
    InUse,           // another program holds the file open and shares it with nobody
    DiskFull,
    ReadOnlyVolume,  // the whole disk or share is read-only
    TooManyLinks,    // links lead to links too often (or round in a loop)
    NameTooLong,
    ClosedPipe,      // whoever received the output has gone
    TooLarge,        // beyond the size the system allows a file
    Other,           // anything else: systemText() says what
};

class FileError : public std::runtime_error {
public:
    FileError(FileProblem problem, std::string systemText);
    FileProblem problem() const { return problem_; }
    // The system's own description (in the system's language), for an Other problem.
    const std::string& systemText() const { return systemText_; }

private:
    FileProblem problem_;
    std::string systemText_;
};

// The whole content of a file, or everything a pipe brings until it closes. A folder is refused
// (IsFolder) and so is a device or other special file (NotAFile), before it is opened: opening
// one can have effects of its own, and /dev/zero would be read until memory runs out.
std::string ReadWholeFile(const std::filesystem::path& path);

// What tells one state of a file from another: the same file (volume and index: the device and
// inode, or the volume serial number and file index), the same size and modification time.
struct FileStamp {
    std::uintmax_t volume = 0;
    std::uintmax_t index = 0;
    std::uintmax_t size = 0;
    std::int64_t modifiedNanoseconds = 0;  // since 1970, in whatever steps the file system keeps
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at `path`, links followed; nothing when it cannot be examined.
std::optional<FileStamp> StampOf(const std::filesystem::path& path);

// True when both paths lead to the one file (links followed, another spelling of the same path,
// a hard link); false when either cannot be examined.
bool SameFile(const std::filesystem::path& first, const std::filesystem::path& second);

}  // namespace qorvel::platform
