#pragma once
// The two ends of a section line as the section line and matched section line files hold
// them: fields 1 and 2 the first end, fields 3 and 4 the second (easting before northing).

#include <array>
#include <cstddef>
#include <string_view>

#include "core/fields.h"
#include "core/number_too_large.h"
#include "geometry/geometry.h"

namespace qorvel {

struct SectionLineEnds {
    PlanePoint first;
    PlanePoint second;
};

inline SectionLineEnds ReadSectionLineEnds(const FieldReader& fields) {
    return {{fields.Lenient(1), fields.Lenient(2)}, {fields.Lenient(3), fields.Lenient(4)}};
}

// The ends as the numbers of fields 1 to 4 of line `line` of `file`, for naming the one that
// made a computation with the line overflow (core/number_too_large.h).
inline std::array<SourcedNumber, 4> LineEndNumbers(std::string_view file, std::size_t line, const SectionLineEnds& ends) {
    return {SourcedNumber{file, line, 1, ends.first.east, {}}, SourcedNumber{file, line, 2, ends.first.north, {}},
            SourcedNumber{file, line, 3, ends.second.east, {}}, SourcedNumber{file, line, 4, ends.second.north, {}}};
}

}  // namespace qorvel
