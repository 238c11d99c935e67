#pragma once
// A survey as large as wanted, shaped like a real one: a route of straights and circular
// curves, a station every 20 m with its label on the drawing, a section line drawn across the
// route at each station, and detail points surveyed along every section line (the centre stake
// among them). The later files of the pipeline (centre stakes, matched section lines, station
// membership) are made by running the steps on these, so they are exactly what a surveyor would
// have in hand.

#include <cstddef>
#include <cstdint>
#include <string>

namespace qorvel::bench {

struct SurveyShape {
    std::size_t stations = 250;          // one every 20 m along the route
    std::size_t pointsPerSection = 40;   // detail points surveyed across each station, stake included
    std::uint64_t seed = 1;
};

struct SurveyFiles {
    std::string labels;   // station text file: n,,easting,northing,0.000,K1+200
    std::string points;   // detail point file: name,code,easting,northing,elevation
    std::string lines;    // section line file: n,east1,north1,east2,north2
    std::string stakes;   // centre-stake file (step 3)
    std::string matched;  // matched section line file (step 6)
    std::string members;  // station membership file (step 9)
    // The route drawing (DXF) the labels and the section lines are read from: each label a TEXT
    // on layer zh, each section line a LINE on layer dmx, so that steps 2 and 4 read back the
    // station text and section line files above.
    std::string drawing;

    std::size_t pointCount = 0;
};

SurveyFiles GenerateSurvey(const SurveyShape& shape);

// Writes the files as labels.dat, points.dat, lines.dat, stakes.dat, matched.dat, members.dat
// and route.dxf into `folder` (which must exist).
void WriteSurvey(const SurveyFiles& files, const std::string& folder);

}  // namespace qorvel::bench
