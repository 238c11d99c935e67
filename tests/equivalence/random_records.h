#pragma once
// Seeded random data files for comparing implementations: numbers written in the forms survey
// files show them, records joined with the line ends and blank lines they come with, points
// placed a chosen number of units in the last place away from where they would be.

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "geometry/geometry.h"

namespace qorvel::testing {

class RandomSource {
public:
    explicit RandomSource(std::uint64_t seed) : engine_(seed) {}

    // Uniform in [low, high), from the engine's bits alone (the same on every platform).
    double Uniform(double low, double high);
    // Uniform in 0 .. count - 1.
    std::size_t Below(std::size_t count);
    bool Chance(double probability) { return Uniform(0, 1) < probability; }
    // 10 to a uniform power between the two exponents.
    double Magnitude(double lowExponent, double highExponent);

private:
    std::mt19937_64 engine_;
};

// The value as a data file may hold it. Exact forms read back as the same double; the others
// (three decimals, blanks around or inside) read back as a nearby value.
std::string ExactText(double value);
std::string SurveyText(double value, RandomSource& random);
// As SurveyText, in the forms that a strict conversion takes too (no blank among the digits).
std::string StrictSurveyText(double value, RandomSource& random);

// Records joined as data files come: CR LF or LF, now and then a blank line (which shifts the
// physical line numbers of what follows), the last line with or without its line end.
std::string JoinRecords(const std::vector<std::string>& records, RandomSource& random);

// `p` moved by up to `steps` units in the last place on each axis, in random directions.
PlanePoint Nudge(PlanePoint p, int steps, RandomSource& random);

}  // namespace qorvel::testing

namespace qorvel::testing {

// Section lines and points around them, as texts (what the files hold) and as the values the
// steps read from those texts. The lines are of every kind the drawings have: slanting, along a
// grid axis, nearly along one, with ends that coincide; the points lie anywhere, near a line at
// about the tolerance (a few units in the last place either side), exactly on a line, far out
// on a line's extension, or repeat earlier ones. The tolerance is a usual one, zero, negative,
// tiny, huge, or exactly the computed distance of one point to one line.
struct RandomLayout {
    struct Line {
        std::string fields[4];  // east1, north1, east2, north2
        PlanePoint first;
        PlanePoint second;
    };
    struct Point {
        std::string east;
        std::string north;
        PlanePoint position;
    };
    std::vector<Line> lines;
    std::vector<Point> points;
    double tolerance = 0;
};

RandomLayout RandomLinesAndPoints(RandomSource& random, std::size_t mostLines, std::size_t mostPoints);

// One of a few names, the empty one among them, so that names and chainages repeat.
std::string RepeatingName(RandomSource& random, const char* prefix);

}  // namespace qorvel::testing
