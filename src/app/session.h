#pragma once
// What outlives a single step while the program runs: the settings, the path last chosen in a
// file dialog, and the azimuth that AzimuthDistance carries from one call to the next (a
// section line whose ends coincide takes the azimuth of the call before it, even across steps).
// The window keeps one Session for its whole run; each command-line call makes a fresh one.

#include <memory>
#include <string>

#include "app/settings.h"

namespace qorvel {

class AttachedDrawing;  // the drawing the drawing steps read (defined with the drawing reader)

struct Session {
    Settings settings;
    std::string LastFileName;
    double CarriedAzimuth = 0;
    std::shared_ptr<AttachedDrawing> drawing;
};

}  // namespace qorvel
