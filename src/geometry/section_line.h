#pragma once
// The two ends of a section line as the section line and matched section line files hold
// them: fields 1 and 2 the first end, fields 3 and 4 the second (easting before northing).

#include "core/fields.h"
#include "geometry/geometry.h"

namespace qorvel {

struct SectionLineEnds {
    PlanePoint first;
    PlanePoint second;
};

inline SectionLineEnds ReadSectionLineEnds(const FieldReader& fields) {
    return {{fields.Lenient(1), fields.Lenient(2)}, {fields.Lenient(3), fields.Lenient(4)}};
}

}  // namespace qorvel
