#include "assemble/section_line_match.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

#include "core/fields.h"
#include "core/pre_read.h"
#include "core/two_halves.h"
#include "geometry/carried_azimuth.h"
#include "geometry/geometry.h"
#include "geometry/line_neighbours.h"
#include "geometry/section_line.h"

namespace qorvel {

namespace {
PlanePoint readStake(const FieldReader& fields) { return {fields.Lenient(2), fields.Lenient(3)}; }
}  // namespace

// Every stake is tested against every section line, in file order (stakes outside, lines
// inside), and the pairs are written in that order; the stakes near each line are found through
// a tree of boxes over the stakes instead of by testing them all. A failure is raised where the
// loop would meet it: a stake when the loop reaches it, a section line at the first stake (which
// meets every line).
SectionLineMatchResult MatchSectionLines(const DataFile& stakes, const DataFile& lines, double tolerance,
                                         double& carriedAzimuth) {
    SectionLineMatchResult result;
    const std::size_t stakeCount = stakes.size();
    const std::size_t lineCount = lines.size();
    if (stakeCount == 0 || lineCount == 0) return result;
    if (lineCount > UINT32_MAX) throw std::length_error("too many section lines");  // pairs keep j in 32 bits

    const PreRead<PlanePoint> stakePoints(stakes, readStake);
    const PreRead<SectionLineEnds> sectionLines(lines, ReadSectionLineEnds);
    const auto pairPoints = [&](std::size_t stake, std::size_t line) {
        const PlanePoint p = stakePoints.At(stake);
        const SectionLineEnds& ends = sectionLines.At(line);
        return std::pair{p, FootOfPerpendicular(p, ends.first, ends.second)};
    };
    const auto stopBefore = [&](std::size_t stake, std::size_t line) {
        carriedAzimuth = CarriedAzimuthAfter(stake * lineCount + line, lineCount, pairPoints, carriedAzimuth);
    };

    stakePoints.At(0);  // the first stake is read before any line
    if (const auto unreadable = sectionLines.FirstUnreadable()) {
        stopBefore(0, *unreadable);
        sectionLines.At(*unreadable);  // raises that line's error
    }
    if (const auto unreadable = stakePoints.FirstUnreadable()) {
        stopBefore(*unreadable, 0);
        stakePoints.At(*unreadable);
    }

    // Pairs (stake, line) found line by line on two threads, then put in the loop's order.
    const LineNeighbours neighbours(stakeCount, [&](std::size_t i) { return stakePoints.At(i); }, tolerance);
    std::vector<std::uint64_t> found[2];
    constexpr std::size_t kWorthASecondThread = 1000;
    InTwoHalves(lineCount, kWorthASecondThread, [&](std::size_t begin, std::size_t end, int part) {
        std::vector<PointIndex::Id> near;
        for (std::size_t j = begin; j < end; ++j) {
            const SectionLineEnds& ends = sectionLines.At(j);
            neighbours.Find(ends.first, ends.second, near);
            for (const PointIndex::Id i : near) found[part].push_back(std::uint64_t{i} << 32 | j);
        }
    });
    std::vector<std::uint64_t>& pairs = found[0];
    pairs.insert(pairs.end(), found[1].begin(), found[1].end());
    std::sort(pairs.begin(), pairs.end());

    std::optional<FieldReader> stake;
    std::size_t stakeRead = stakeCount;
    for (const std::uint64_t pair : pairs) {
        const auto i = static_cast<std::size_t>(pair >> 32);
        const auto j = static_cast<std::size_t>(pair & 0xFFFFFFFFu);
        if (i != stakeRead) {
            stake.emplace(stakes, stakes[i]);
            stakeRead = i;
        }
        const FieldReader line(lines, lines[j]);
        result.output << stake->Text(0);
        for (int field = 1; field <= 4; ++field) result.output << ',' << line.Text(field);
        result.output.EndLine();
        ++result.pairs;
    }
    stopBefore(stakeCount, 0);
    return result;
}

}  // namespace qorvel
