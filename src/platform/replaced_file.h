#pragma once
// An output written beside the file it replaces and put in its place in one step, so that a
// surveyor finds the old file or the new one, never half of either. A step writes its output
// through one; a run puts several of them in place together and can put the old files back.
//
// What stands at the output path is respected as the surveyor left it:
// - a link is followed (a chain of them too; a relative one from its own folder) and the file it
//   ends at is replaced; the link stays a link;
// - a device, a pipe or a socket (a path through /proc such as /dev/stdout; NUL or CON on
//   Windows) is written directly, without a temporary file;
// - a file without any write permission (the read-only attribute on Windows) is refused, for
//   every user, administrators included: a surveyor marks a result read-only to keep it;
// - a replaced file keeps its permissions (its owner, group and mode; on Windows its attributes
//   and security);
// - a file another program holds open without sharing it (on Windows) is refused before
//   anything is written.
//
// Temporary files are named ".qorvel-" + a hash of the replaced file's name + the process id +
// a unique ending, short enough beside any legal file name. They are removed when the program
// is interrupted (platform/interrupts.h) and when the object is destroyed uncommitted; one left
// by a process killed outright is removed by the next write of the same file, once no process
// with that id runs any more.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

namespace qorvel::platform {

// Where an output path leads.
struct OutputPlace {
    enum class Kind { NewFile, ExistingFile, Special };
    Kind kind = Kind::NewFile;
    std::filesystem::path destination;  // the file made, replaced or written directly
};

// Examines what stands at `target` without touching it; throws a FileError for a folder
// (IsFolder), a file without write permission (ReadOnly), one this user may not replace
// (NoPermission), one held by another program (InUse), a missing folder on the way (NotFound,
// NotAFolder), a loop of links (TooManyLinks).
OutputPlace ExamineOutput(const std::filesystem::path& target);

class ReplacedFile {
public:
    // Examines the target (as ExamineOutput) and creates the temporary file beside the file it
    // leads to, or opens a special file for writing.
    explicit ReplacedFile(const std::filesystem::path& target);
    // Takes `written`, a complete file elsewhere (a run's staged file), as the new content of
    // `target`: it becomes the temporary file itself when it lies on the same volume as the file
    // replaced, and is copied beside that file otherwise. A special target is written at Commit.
    ReplacedFile(const std::filesystem::path& target, const std::filesystem::path& written);
    // An uncommitted file is removed; the target stays as it was.
    ~ReplacedFile();
    ReplacedFile(ReplacedFile&&) noexcept;
    ReplacedFile& operator=(ReplacedFile&&) noexcept;

    const OutputPlace& place() const;
    bool writesDirectly() const { return place().kind == OutputPlace::Kind::Special; }

    void Write(std::string_view bytes);
    // Flushes the content to the disk and gives it the permissions of the file it replaces;
    // nothing is visible at the target yet. Commit does it when it has not been done.
    void Finish();
    // Puts the new file in place of the old one in one step (a special file is closed).
    void Commit();

    // For several files put in place together: Commit, with the replaced file kept under a
    // temporary name beside it until PutBack or DropReplaced.
    void CommitKeepingReplaced();
    // After CommitKeepingReplaced: the replaced file back in its place (the new file gone), or
    // the new file removed when it replaced none.
    void PutBack();
    // After CommitKeepingReplaced: the replaced file is not needed any more.
    void DropReplaced();

    struct State;

private:
    std::unique_ptr<State> state_;
};

// Writes `bytes` to `target` through a ReplacedFile.
void ReplaceFileContent(const std::filesystem::path& target, std::string_view bytes);

}  // namespace qorvel::platform
