#pragma once
// An output that is a folder of files (the SVG sheets, one page a file), replaced as a whole
// only when every file of the new set is written: the files go to a staging folder beside the
// target, which takes the target's place at Commit(). Until then the folder that stood there
// keeps its old files; a failed, cancelled or interrupted write leaves it as it was, and no half
// set.
//
// The swap is two renames: the old folder is set aside (".NAME.qorvel-<pid>.old"), the new one
// put in its place, and the old one removed. A process killed between those two renames leaves
// the old folder aside and no target: the next staging for the same target puts it back before
// anything else. Staging and set-aside folders carry a mark file naming them as QORVEL's; only
// marked folders of processes that no longer run are ever removed, so a folder of the same name
// that someone else made is left alone.
//
// A symbolic link at the target is followed: the folder it names is replaced, the link stays.
// Paths are UTF-8, as typed.

#include <memory>
#include <string>

namespace qorvel {

// A folder put in the place of another, the replaced one kept aside until it is dropped or put
// back: what a run that places several outputs together needs to undo all of them.
class FolderReplacement {
public:
    // Checks that `target` is a folder or nothing; fails with a StepError naming it.
    FolderReplacement(std::string staged, std::string target);
    // An uncommitted replacement touches nothing; a committed one not yet dropped or put back
    // drops the replaced folder.
    ~FolderReplacement();
    FolderReplacement(FolderReplacement&&) noexcept;
    FolderReplacement& operator=(FolderReplacement&&) noexcept;

    // The old folder aside (marked), the staged one in its place. A StepError naming the target
    // leaves both as they were.
    void Commit();
    // After Commit: the new folder goes back to the staging name and the old one to its place.
    void PutBack();
    // After Commit: the old folder is removed.
    void DropReplaced();

    struct State;

private:
    std::unique_ptr<State> state_;
};

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

    // Puts the staged folder in the target's place and removes the old one.
    void Commit();

    struct Removal;

private:
    std::string target_;       // as given, for messages
    std::string destination_;  // the folder replaced: the target with its links followed
    std::string staging_;
    std::unique_ptr<Removal> removal_;  // of the staging folder, on an interrupt
    bool committed_ = false;
};

}  // namespace qorvel
