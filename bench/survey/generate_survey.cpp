// Writes a large survey's data files into a folder:
//   qorvel_generate_survey FOLDER [STATIONS [POINTS_PER_SECTION [SEED]]]
// (defaults: 25000 stations, 40 points a section: a million detail points).

#include <cstdio>
#include <exception>
#include <string>

#include "survey/survey_generator.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 5) {
        std::fprintf(stderr, "usage: %s FOLDER [STATIONS [POINTS_PER_SECTION [SEED]]]\n", argv[0]);
        return 2;
    }
    try {
        qorvel::bench::SurveyShape shape{25000, 40, 1};
        if (argc > 2) shape.stations = std::stoul(argv[2]);
        if (argc > 3) shape.pointsPerSection = std::stoul(argv[3]);
        if (argc > 4) shape.seed = std::stoull(argv[4]);
        const auto files = qorvel::bench::GenerateSurvey(shape);
        qorvel::bench::WriteSurvey(files, argv[1]);
        std::printf("%zu stations, %zu detail points written to %s\n", shape.stations, files.pointCount, argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
