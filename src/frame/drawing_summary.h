#pragma once
// What a front end shows of the drawing attached to a session: the file it was read from and
// its layers, each with what it holds, so that the surveyor can tell the layer of the station
// labels from the layer of the section lines. The front ends never see the drawing itself.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "frame/session.h"

namespace qorvel {

struct LayerSummary {
    std::string name;  // UTF-8, letter case as in the drawing
    std::size_t texts = 0;      // single-line and paragraph texts
    std::size_t stations = 0;   // single-line texts that read as a station ("K1+200"): the labels' layer
    std::size_t lines = 0;
    std::size_t polylines = 0;  // of every kind
};

struct DrawingSummary {
    std::string path;
    std::vector<LayerSummary> layers;  // in byte order of their names

    std::vector<std::string> LayerNames() const;
};

// Nothing when no drawing is attached.
std::optional<DrawingSummary> SummaryOfAttachedDrawing(const Session& session);

}  // namespace qorvel
