#pragma once
// The output folder of a run, taken whole: the surveyor finds in it the old result or the new
// one, never a mix of both.
//
// - A run holds a lock beside the folder (".DIR.qorvel-lock") while it works; a second run into
//   the same folder is refused at once. The system releases the lock when the run ends, also
//   when it is killed outright.
// - Its files are written into a staging folder beside the output folder
//   (".DIR.qorvel-<process id>", marked as a run's by a file inside). An interrupt removes it
//   before the program ends; one a killed run left is removed by the next run into the same
//   folder, and named. Only folders carrying the mark are ever removed.
// - Moving in is all or nothing. First every file the run places is checked as a single step
//   checks its output (a folder or a read-only file in the way is refused, naming it; links are
//   followed; a device is written directly), and nothing is moved when one cannot be placed.
//   Then the files are put in place one after another while interrupts wait; when one fails,
//   those already placed are put back from the files kept aside, so the folder holds the old
//   result again. Replaced files keep their permissions.
//
// Paths are UTF-8, as typed.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qorvel {

class RunFolder {
public:
    // Takes the folder for a run: the lock, the staging folder (the abandoned ones of this folder
    // removed first). Throws a StepError when another run holds the folder or the staging folder
    // cannot be made.
    explicit RunFolder(const std::string& outputFolder);
    // Removes the staging folder and releases the lock.
    ~RunFolder();
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    // The staging folders of killed runs removed when this one took the folder, by path.
    const std::vector<std::string>& removedStaging() const;

    // Where the file that goes to `finalPath` is written meanwhile.
    std::string Staged(const std::string& finalPath) const;

    // Throws a StepError naming the first of `finalPaths` that could not be placed, as a single
    // step refuses its output; nothing is touched.
    static void CheckPlaceable(const std::vector<std::string>& finalPaths);

    // Moves the staged files of `finalPaths` into the output folder (made when it does not
    // exist), all or nothing. Throws a StepError saying what happened when they could not all be
    // placed; the folder then is as it was.
    void MoveIn(const std::vector<std::string>& finalPaths);

    // For tests: called inside the move-in, with interrupts waiting, before the file at `index`
    // is put in place.
    std::function<void(std::size_t index)> beforePlacing;

    struct State;

private:
    std::unique_ptr<State> state_;
};

}  // namespace qorvel
