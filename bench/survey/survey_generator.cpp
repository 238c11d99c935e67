#include "survey/survey_generator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "assemble/centre_stake_merge.h"
#include "assemble/detail_point_grouping.h"
#include "assemble/section_line_match.h"
#include "core/data_file.h"
#include "geometry/geometry.h"
#include "station/station_text.h"

namespace qorvel::bench {

namespace {
constexpr double kStationSpacing = 20;
constexpr double kDegree = 3.141592653589793 / 180;

// The route's centre line, walked a station at a time: straights and circular curves that keep
// the route heading roughly north-east, as a road between two towns does.
class Route {
public:
    explicit Route(std::mt19937_64& random) : random_(random) { nextElement(); }

    PlanePoint position() const { return position_; }
    double heading() const { return heading_; }  // radians clockwise from north

    void Advance() {
        double left = kStationSpacing;
        while (left > 0) {
            const double step = std::min(left, remaining_);
            // Along an arc: the chord at the mean heading.
            const double mean = heading_ + 0.5 * step * curvature_;
            position_.east += step * std::sin(mean);
            position_.north += step * std::cos(mean);
            heading_ += step * curvature_;
            remaining_ -= step;
            left -= step;
            if (remaining_ <= 0) nextElement();
        }
    }

private:
    double uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(random_); }

    void nextElement() {
        straight_ = !straight_;
        if (straight_) {
            curvature_ = 0;
            remaining_ = uniform(200, 1500);
            return;
        }
        const double radius = uniform(400, 3000);
        const double deflection = uniform(10, 70) * kDegree;
        // Turn back toward north-east more often than away from it.
        const bool turnLeft = uniform(0, 1) < (heading_ > 45 * kDegree ? 0.8 : 0.2);
        curvature_ = (turnLeft ? -1 : 1) / radius;
        remaining_ = deflection * radius;
    }

    std::mt19937_64& random_;
    PlanePoint position_{439000, 3391000};
    double heading_ = 45 * kDegree;
    double curvature_ = 0;
    double remaining_ = 0;
    bool straight_ = false;
};

void appendFixed3(std::string& out, double value) {
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 3).ptr;
    out.append(text, end);
}

// The section line file's form: up to three decimals, no trailing zeros.
void appendGeneral3(std::string& out, double value) {
    char text[64];
    char* end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 3).ptr;
    while (end[-1] == '0') --end;
    if (end[-1] == '.') --end;
    out.append(text, end);
}

// The fields of a comma-separated line, as written above (no field holds a comma but the last).
std::vector<std::string_view> fieldsOf(std::string_view line, std::size_t count) {
    std::vector<std::string_view> fields;
    while (fields.size() + 1 < count) {
        const std::size_t comma = line.find(',');
        fields.push_back(line.substr(0, comma));
        line.remove_prefix(comma + 1);
    }
    fields.push_back(line);
    return fields;
}

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find("\r\n");
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end + 2);
    }
    return lines;
}

void pair(std::string& out, int code, std::string_view value) {
    out += std::to_string(code);
    out += '\n';
    out += value;
    out += '\n';
}

// The drawing of the labels and section lines: coordinates in the very text of the data files,
// so that reading them back gives the same numbers. The station text step writes the texts last
// drawn first, so they are drawn from the last station back to the first.
std::string routeDrawing(const std::string& labels, const std::string& lines) {
    std::string out;
    pair(out, 0, "SECTION");
    pair(out, 2, "HEADER");
    pair(out, 9, "$ACADVER");
    pair(out, 1, "AC1015");
    pair(out, 9, "$DWGCODEPAGE");
    pair(out, 3, "ANSI_936");
    pair(out, 0, "ENDSEC");
    pair(out, 0, "SECTION");
    pair(out, 2, "ENTITIES");
    const std::vector<std::string_view> labelLines = linesOf(labels);
    for (auto line = labelLines.rbegin(); line != labelLines.rend(); ++line) {
        const std::vector<std::string_view> fields = fieldsOf(*line, 6);
        pair(out, 0, "TEXT");
        pair(out, 8, "zh");
        pair(out, 10, fields[2]);
        pair(out, 20, fields[3]);
        pair(out, 30, fields[4]);
        pair(out, 40, "2.5");
        pair(out, 1, fields[5]);
    }
    for (const std::string_view line : linesOf(lines)) {
        const std::vector<std::string_view> fields = fieldsOf(line, 5);
        pair(out, 0, "LINE");
        pair(out, 8, "dmx");
        pair(out, 10, fields[1]);
        pair(out, 20, fields[2]);
        pair(out, 30, "0");
        pair(out, 11, fields[3]);
        pair(out, 21, fields[4]);
        pair(out, 31, "0");
    }
    pair(out, 0, "ENDSEC");
    pair(out, 0, "EOF");
    return out;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}
}  // namespace

SurveyFiles GenerateSurvey(const SurveyShape& shape) {
    std::mt19937_64 random(shape.seed);
    const auto uniform = [&](double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); };
    // Where a label sits relative to its stake (the merge looks 0.4504 m up and to the left).
    const double labelEast = -0.4504 * std::sin(5.695182712812092);
    const double labelNorth = -0.4504 * std::cos(5.695182712812092);

    SurveyFiles files;
    files.points.reserve(shape.stations * shape.pointsPerSection * 48);
    Route route(random);
    std::vector<double> offsets;
    std::size_t name = 0;
    for (std::size_t station = 0; station < shape.stations; ++station, route.Advance()) {
        const double chainage = kStationSpacing * static_cast<double>(station);
        const PlanePoint centre = route.position();
        const PlanePoint right{std::cos(route.heading()), -std::sin(route.heading())};
        const PlanePoint ahead{std::sin(route.heading()), std::cos(route.heading())};
        const double ground = 150 + 20 * std::sin(chainage / 3000) + 5 * std::sin(chainage / 700);
        const double crossSlope = uniform(-0.3, 0.3);

        const std::string number = std::to_string(station + 1);
        files.labels += number + ",,";
        appendFixed3(files.labels, centre.east + labelEast);
        files.labels += ',';
        appendFixed3(files.labels, centre.north + labelNorth);
        files.labels += ",0.000," + FormatStationText(chainage) + "\r\n";

        const double leftReach = uniform(25, 35);
        const double rightReach = uniform(25, 35);
        files.lines += number + ',';
        appendGeneral3(files.lines, centre.east - leftReach * right.east);
        files.lines += ',';
        appendGeneral3(files.lines, centre.north - leftReach * right.north);
        files.lines += ',';
        appendGeneral3(files.lines, centre.east + rightReach * right.east);
        files.lines += ',';
        appendGeneral3(files.lines, centre.north + rightReach * right.north);
        files.lines += "\r\n";

        // The stake and the points across the section, surveyed from left to right a few
        // centimetres off the line at most; none closer than half a metre to the stake.
        offsets.assign(1, 0.0);
        while (offsets.size() < shape.pointsPerSection) {
            const double offset = uniform(-leftReach, rightReach);
            if (std::fabs(offset) >= 0.5) offsets.push_back(offset);
        }
        std::sort(offsets.begin(), offsets.end());
        for (const double offset : offsets) {
            const double off = offset == 0 ? 0 : uniform(-0.02, 0.02);
            files.points += std::to_string(++name);
            files.points += ",,";
            appendFixed3(files.points, centre.east + offset * right.east + off * ahead.east);
            files.points += ',';
            appendFixed3(files.points, centre.north + offset * right.north + off * ahead.north);
            files.points += ',';
            appendFixed3(files.points, ground + crossSlope * offset + uniform(-0.1, 0.1));
            files.points += "\r\n";
        }
    }
    files.pointCount = name;

    // The later files, as the steps make them.
    NullProgress progress;
    double carried = 0;
    const DataFile labels = DataFile::FromBytes("labels.dat", files.labels);
    const DataFile points = DataFile::FromBytes("points.dat", files.points);
    const DataFile lines = DataFile::FromBytes("lines.dat", files.lines);
    files.stakes = MergeCentreStakes(labels, points, {}, progress).output.bytes();
    const DataFile stakes = DataFile::FromBytes("stakes.dat", files.stakes);
    files.matched = MatchSectionLines(stakes, lines, 0.01, carried).output.bytes();
    const DataFile matched = DataFile::FromBytes("matched.dat", files.matched);
    files.members = GroupDetailPoints(matched, points, 0.05, carried, progress).output.bytes();
    files.drawing = routeDrawing(files.labels, files.lines);
    return files;
}

void WriteSurvey(const SurveyFiles& files, const std::string& folder) {
    writeFile(folder + "/labels.dat", files.labels);
    writeFile(folder + "/points.dat", files.points);
    writeFile(folder + "/lines.dat", files.lines);
    writeFile(folder + "/stakes.dat", files.stakes);
    writeFile(folder + "/matched.dat", files.matched);
    writeFile(folder + "/members.dat", files.members);
    writeFile(folder + "/route.dxf", files.drawing);
}

}  // namespace qorvel::bench
