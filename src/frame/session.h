#pragma once
// What outlives a single step while the program runs: the attached drawing, the sections last
// opened for viewing, what a run shares between its stages, and the azimuth that
// AzimuthDistance carries from one call to the next (a section line whose ends coincide takes
// the azimuth of the call before it, even across steps). The window keeps one Session for its
// whole run; each command-line call makes a fresh one. The settings are not part of it: each
// run of a step is handed the settings in force when it starts.

#include <memory>

namespace qorvel {

class AttachedDrawing;  // the drawing the drawing steps read (defined with the drawing reader)
class SectionsOnView;   // the sections 查看断面 opened (frame/sections_on_view.h)
class RunFiles;         // what a run reads and builds once for its stages (frame/run_files.h)

struct Session {
    double carriedAzimuth = 0;
    std::shared_ptr<AttachedDrawing> drawing;
    std::shared_ptr<const SectionsOnView> sectionsOnView;  // until the window takes them
    std::shared_ptr<RunFiles> runFiles;                    // while a run goes on
};

}  // namespace qorvel
