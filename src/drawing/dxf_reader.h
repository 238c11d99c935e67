#pragma once
// Reading a DXF drawing, ASCII or binary, strictly: the HEADER's $ACADVER and $DWGCODEPAGE,
// the ENTITIES section's polylines, lines and texts, every other section and entity passed
// over. A file that is not a well-formed DXF fails with a StepError naming the line (or, in a
// binary drawing, the byte offset) and what is wrong; nothing is guessed.

#include <string>
#include <string_view>

#include "drawing/drawing.h"

namespace qorvel {

// `name` is what messages call the drawing (its path).
Drawing ReadDxf(std::string_view bytes, std::string name);
// Reads the file at `path`; a missing file or a folder fails like a malformed one.
Drawing LoadDxf(const std::string& path);

}  // namespace qorvel
