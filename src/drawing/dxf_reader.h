#pragma once
// Reading a DXF drawing, ASCII or binary, strictly: the HEADER's $ACADVER and $DWGCODEPAGE,
// the ENTITIES section's polylines, lines and texts, every other section and entity passed
// over. A file that is not a well-formed DXF fails with a StepError naming the line (or, in a
// binary drawing, the byte offset) and what is wrong; nothing is guessed. What every CAD
// program writes is read as that program reads it: any $ACADVER, an entity without a layer
// (on layer "0"), control characters inside strings (see drawing/dxf_text.h). A string that
// is not valid in the drawing's code page fails only the step that uses it (Drawing::TextOf).
// A DWG file given as the drawing fails with a message saying so.

#include <string>
#include <string_view>

#include "drawing/drawing.h"

namespace qorvel {

struct DxfReadOptions {
    // The surveyor's code page, for drawings older than R2007 that do not name theirs
    // ($DWGCODEPAGE): a name of DrawingCodePageNames (or another EncodingOfCodePage knows),
    // letter case ignored. One it does not know fails the reading.
    std::string codePage = "ANSI_936";
    bool operator==(const DxfReadOptions&) const = default;
};

// `name` is what messages call the drawing (its path).
Drawing ReadDxf(std::string_view bytes, std::string name, const DxfReadOptions& options = {});
// Reads the file at `path`; a missing file or a folder fails like a malformed one.
Drawing LoadDxf(const std::string& path, const DxfReadOptions& options = {});

}  // namespace qorvel
