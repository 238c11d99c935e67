#pragma once
// Section line matching: a cross-section line drawn on the drawing belongs to the centre stake
// lying on it (on the infinite line through its two ends).

#include <cstddef>

#include "core/data_file.h"
#include "core/output_text.h"

namespace qorvel {

struct SectionLineMatchResult {
    OutputText output;       // chainage,east1,north1,east2,north2 per matched pair, copied as read
    std::size_t pairs = 0;
};

// `carriedAzimuth` is the azimuth AzimuthDistance carries between calls; every pair tested
// updates it, as it always has.
SectionLineMatchResult MatchSectionLines(const DataFile& stakes, const DataFile& lines, double tolerance,
                                         double& carriedAzimuth);

}  // namespace qorvel
