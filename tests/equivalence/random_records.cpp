#include "equivalence/random_records.h"

#include <cmath>
#include <cstdio>

#include "core/number_read.h"

namespace qorvel::testing {

double RandomSource::Uniform(double low, double high) {
    const double unit = static_cast<double>(engine_() >> 11) * 0x1p-53;
    return low + (high - low) * unit;
}

std::size_t RandomSource::Below(std::size_t count) { return static_cast<std::size_t>(engine_() % count); }

double RandomSource::Magnitude(double lowExponent, double highExponent) {
    return std::pow(10.0, Uniform(lowExponent, highExponent));
}

std::string ExactText(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

std::string SurveyText(double value, RandomSource& random) {
    char text[64];
    switch (random.Below(16)) {
        case 0:
        case 1: std::snprintf(text, sizeof text, "%.3f", value); return text;
        case 2: return " " + ExactText(value) + " ";
        case 3: {
            // A blank inside the digits, as a hand-edited file may have it.
            std::string exact = ExactText(value);
            exact.insert(exact.size() / 2, " ");
            return exact;
        }
        default: return ExactText(value);
    }
}

std::string StrictSurveyText(double value, RandomSource& random) {
    std::string text;
    do text = SurveyText(value, random);
    while (!ReadStrict(text));
    return text;
}

std::string JoinRecords(const std::vector<std::string>& records, RandomSource& random) {
    const char* end = random.Chance(0.5) ? "\r\n" : "\n";
    std::string text;
    for (std::size_t k = 0; k < records.size(); ++k) {
        if (random.Chance(0.03)) text += random.Chance(0.5) ? "   " + std::string(end) : std::string(end);
        text += records[k];
        if (k + 1 < records.size() || random.Chance(0.8)) text += end;
    }
    return text;
}

PlanePoint Nudge(PlanePoint p, int steps, RandomSource& random) {
    const auto move = [&](double value) {
        const auto count = static_cast<int>(random.Below(static_cast<std::size_t>(2 * steps + 1))) - steps;
        for (int k = 0; k < std::abs(count); ++k) value = std::nextafter(value, count > 0 ? HUGE_VAL : -HUGE_VAL);
        return value;
    };
    return {move(p.east), move(p.north)};
}

}  // namespace qorvel::testing

namespace qorvel::testing {

namespace {
// Writes `value` in a random survey form and gives back the text and the value read from it.
std::string written(double value, RandomSource& random, double& read) {
    std::string text = SurveyText(value, random);
    read = *ReadLenient(text);
    return text;
}

PlanePoint unitAlong(PlanePoint a, PlanePoint b) {
    if (a.east != b.east && a.north != b.north) {
        const double length = std::hypot(b.east - a.east, b.north - a.north);
        return {(b.east - a.east) / length, (b.north - a.north) / length};
    }
    if (a.north != b.north) return {0, 1};
    return {1, 0};
}
}  // namespace

RandomLayout RandomLinesAndPoints(RandomSource& random, std::size_t mostLines, std::size_t mostPoints) {
    RandomLayout layout;
    // Grid coordinates of every size a survey uses, from a local grid to a zone-prefixed easting,
    // and now and then coordinates no survey has (where the search falls back to every point).
    const double bases[] = {0, 1000, 439000, 3391000, 38500000, 1e120};
    const double base = bases[random.Below(random.Chance(0.05) ? 6 : 5)];
    const double span = base > 1e100 ? base * random.Magnitude(-8, -2) : random.Magnitude(0, 4);
    const double usual[] = {0.05, 0.01, 0.5, 1e-7};
    double tolerance = usual[random.Below(4)];
    const auto somewhere = [&] { return PlanePoint{base + random.Uniform(-span, span), base + random.Uniform(-span, span)}; };

    const std::size_t lineCount = random.Below(mostLines + 1);
    for (std::size_t k = 0; k < lineCount; ++k) {
        const PlanePoint a = somewhere();
        const double angle = random.Uniform(0, 6.283185307179586);
        const double length = random.Magnitude(-3, 2) * span * 0.1 + 1e-6;
        PlanePoint delta{std::cos(angle) * length, std::sin(angle) * length};
        switch (random.Below(8)) {
            case 0: delta.east = 0; break;                                       // north-south
            case 1: delta.north = 0; break;                                      // east-west
            case 2: delta = {0, 0}; break;                                       // ends coincide
            case 3: delta.north = delta.east * random.Magnitude(-12, -3); break;  // nearly east-west
            case 4: delta.east = delta.north * random.Magnitude(-12, -3); break;  // nearly north-south
            default: break;
        }
        RandomLayout::Line line;
        line.fields[0] = written(a.east, random, line.first.east);
        line.fields[1] = written(a.north, random, line.first.north);
        line.fields[2] = written(a.east + delta.east, random, line.second.east);
        line.fields[3] = written(a.north + delta.north, random, line.second.north);
        layout.lines.push_back(std::move(line));
    }

    // The tolerance is sometimes the distance of the first point built near a line, so that
    // one pair lies exactly at it (and is not within it).
    const int toleranceKind = static_cast<int>(random.Below(10));
    bool toleranceFromPair = toleranceKind < 3;
    if (toleranceKind == 3) tolerance = 0;
    if (toleranceKind == 4) tolerance = -0.05;
    if (toleranceKind == 5) tolerance = span * 3;  // nearly everything matches

    const std::size_t pointCount = random.Below(mostPoints + 1);
    for (std::size_t k = 0; k < pointCount; ++k) {
        PlanePoint p = somewhere();
        const RandomLayout::Line* nearLine = nullptr;
        if (!layout.lines.empty() && random.Chance(0.7)) {
            const RandomLayout::Line& line = layout.lines[random.Below(layout.lines.size())];
            nearLine = &line;
            const PlanePoint along = unitAlong(line.first, line.second);
            const PlanePoint across{-along.north, along.east};
            const double t = random.Chance(0.2) ? random.Uniform(-1e4, 1e4) * span : random.Uniform(-1, 2) * span * 0.1;
            const double sideways = random.Chance(0.15) ? 0 : random.Uniform(-1.2, 1.2) * std::fabs(tolerance);
            p = {line.first.east + t * along.east + sideways * across.east,
                 line.first.north + t * along.north + sideways * across.north};
            if (random.Chance(0.5)) p = Nudge(p, 4, random);
            if (random.Chance(0.2)) {
                // Exactly on a line along a grid axis.
                if (line.first.north == line.second.north) p.north = line.first.north;
                else if (line.first.east == line.second.east) p.east = line.first.east;
            }
        } else if (!layout.points.empty() && random.Chance(0.2)) {
            p = layout.points[random.Below(layout.points.size())].position;
        }
        RandomLayout::Point point;
        point.east = written(p.east, random, point.position.east);
        point.north = written(p.north, random, point.position.north);
        if (toleranceFromPair && nearLine) {
            double unused = 0;
            const double distance = DistanceToLine(point.position, nearLine->first, nearLine->second, unused);
            if (distance > 0 && std::isfinite(distance)) {
                tolerance = distance;
                if (random.Chance(0.3)) tolerance = std::nextafter(distance, random.Chance(0.5) ? 0.0 : HUGE_VAL);
                toleranceFromPair = false;
            }
        }
        layout.points.push_back(std::move(point));
    }
    layout.tolerance = tolerance;
    return layout;
}

std::string RepeatingName(RandomSource& random, const char* prefix) {
    const std::size_t pick = random.Below(12);
    if (pick == 0) return "";
    return prefix + std::to_string(pick);
}

}  // namespace qorvel::testing
