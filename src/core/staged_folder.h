#pragma once
// An output that is a folder of files (the SVG sheets, one page a file), replaced as a whole
// only when every file of the new set is written: the files go to a staging folder beside the
// target, which takes the target's place at Commit(). Until then the folder that stood there
// keeps its old files; a failed or cancelled write leaves it as it was, and no half set.
//
// The swap: on Linux the two folders are exchanged in one rename (RENAME_EXCHANGE), and the
// old set, now at the staging name, is removed; where the file system cannot exchange, the old
// folder is first renamed aside (".NAME.qorvel-<pid>.old"), the new one put in its place and
// the old one removed. A process killed between those two renames leaves the old folder aside
// and no target: the next staging for the same target puts it back before anything else.
// Staging folders of processes that no longer run are removed the same way (a killed run's
// pages are never taken for a finished set).
//
// A symbolic link at the target is followed: the folder it names is replaced, the link stays.

#include <string>

namespace qorvel {

class StagedFolder {
public:
    // Checks that the target is a folder or nothing, in a folder that exists, and makes the
    // staging folder ".NAME.qorvel-<pid>" beside it; fails with a StepError naming `target`.
    explicit StagedFolder(std::string target);
    ~StagedFolder();
    StagedFolder(const StagedFolder&) = delete;
    StagedFolder& operator=(const StagedFolder&) = delete;

    // Where the new files are written meanwhile.
    const std::string& path() const { return staging_; }
    const std::string& target() const { return target_; }

    // Puts the staged folder in the target's place and removes the old one (ReplaceFolder).
    void Commit();

private:
    std::string target_;       // as given, for messages
    std::string destination_;  // the folder replaced: the target with its links followed
    std::string staging_;
    bool committed_ = false;
};

// Puts the folder `staged` in the place of `target` (a folder, or nothing) as Commit does, and
// removes the folder that stood there: for a folder staged elsewhere, such as in the staging
// folder of a run. Fails with a StepError naming `target`, leaving it as it was.
void ReplaceFolder(const std::string& staged, const std::string& target);

}  // namespace qorvel
