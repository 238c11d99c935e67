#pragma once
// A large route drawing for the benchmarks, written as an R2000 ASCII DXF the way CAD programs
// write them (handles, owners, subclass markers): several kilometres of road with its centre
// line, station labels, section lines and thousands of surveyed points with their elevation
// texts.

#include <cstddef>
#include <string>

namespace qorvel::bench {

struct BigDrawingCounts {
    std::size_t bytes = 0;
    std::size_t sectionLines = 0;   // on layer "dmx"
    std::size_t labels = 0;         // on layer "zh"
    std::size_t polylineVertices = 0;  // on layer "zxx"
};

enum class DrawingMix {
    Survey,         // what a route drawing holds: mostly surveyed points and their elevations
    OnlyExtracted,  // nothing but what the steps extract: the heaviest case for them
};

// Writes the drawing to `path`, at least `targetBytes` long.
BigDrawingCounts WriteBigDrawing(const std::string& path, std::size_t targetBytes, DrawingMix mix);

}  // namespace qorvel::bench
