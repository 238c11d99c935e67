#pragma once
// What a run from drawing to result reads and builds once for all its stages. Each file the run
// reads or writes is kept, by path, and handed to the stages that read it after: the detail
// point file is read once, not by steps 3, 9, 10 and 12 each, and a stage's output is taken as
// written instead of being read back. The sections step 10 builds are kept too: the section
// check and the sheets take the very sections step 10 wrote, and the viewer after a one-click
// run opens them without building them again.
//
// A step that takes over a file or the sections warns of the numbers read leniently as if it
// had read them itself: it is handed the log of what it would have read. Single steps have no
// RunFiles and read and build for themselves.

#include <memory>
#include <string>
#include <vector>

#include "core/data_file.h"
#include "results/section_results.h"

namespace qorvel {

// Built sections with the four files they look into, which they keep alive: those of a run,
// and those the viewer holds.
struct HeldSections {
    std::shared_ptr<const DataFile> members;
    std::shared_ptr<const DataFile> stakes;
    std::shared_ptr<const DataFile> points;
    std::shared_ptr<const DataFile> lines;
    SectionResultOptions options;
    BuiltSections built;
    double azimuthAfter = 0;  // the carried azimuth after building them
    // What building them noted in each file's log, for the steps that take them over.
    std::unique_ptr<LenientReadLog> noted[4];
};

class RunFiles {
public:
    // `readLater`: the paths the run's stages read; a stage's output that no stage reads is not
    // kept.
    explicit RunFiles(std::vector<std::string> readLater) : readLater_(std::move(readLater)) {}

    // The file at `path` as the run read or wrote it, its log started again; nullptr when the
    // run has not seen it.
    std::shared_ptr<const DataFile> Find(const std::string& path);
    // Keeps a file the run read, or wrote (under the path it was written to) when a stage reads it.
    void Keep(std::shared_ptr<DataFile> file);

    // The sections of these four files and options (avoid distance, side rule), built the first
    // time they are asked for; the files' logs then hold what building them noted. Nothing
    // when building them fails: the step asking then works as a single step does and meets the
    // failure where a single step meets it.
    std::shared_ptr<const HeldSections> Sections(const std::shared_ptr<const DataFile> (&files)[4],
                                                   const SectionResultOptions& options, double& carriedAzimuth,
                                                   ProgressSink& progress);

    // The sections built last; nullptr when none were.
    std::shared_ptr<const HeldSections> LastSections() const { return sections_; }

private:
    std::vector<std::string> readLater_;
    std::vector<std::shared_ptr<DataFile>> files_;
    std::shared_ptr<HeldSections> sections_;
};

}  // namespace qorvel
