#pragma once
// A condition in the drawing the surveyor must act on (no entities of the kind looked for, no
// such layer): the step shows it in a warning box and ends without writing.

#include <string>

namespace qorvel {

struct DrawingWarning {
    std::string title;
    std::string text;
};

inline constexpr const char* kCheckDrawingTitle = "请检查图形！";

}  // namespace qorvel
