#pragma once
// The loop that the grouping by station and the projection onto section lines stand for: every
// matched section line (outside, in file order) against every detail point (inside, in file
// order). Both steps find a line's members through a tree of boxes instead of by testing every
// point, but stop, fail and leave the carried azimuth exactly where that loop would; this holds
// what they share for it: the lines' ends as far as the loop reaches, and the azimuth it leaves.

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "core/data_file.h"
#include "core/step_error.h"
#include "geometry/geometry.h"
#include "geometry/section_line.h"

namespace qorvel {

class LinePointLoop {
public:
    // Reads the ends of the lines in file order, up to the first line whose ends cannot be
    // read: the loop stops there, after the lines before it are written. Raises that line's
    // error at once when it is the first line (which fails before it meets any point).
    // `position(point)` gives a detail point's position; `matchedLines` and `pointCount` must
    // not be empty.
    LinePointLoop(const DataFile& matchedLines, std::size_t pointCount, std::function<PlanePoint(std::size_t)> position);

    // The ends of the lines the loop reaches.
    std::span<const SectionLineEnds> ends() const { return ends_; }
    std::size_t reached() const { return ends_.size(); }

    // Leaves `carriedAzimuth` as the loop leaves it when it stops before pair (line, point).
    void StopBefore(std::size_t line, std::size_t point, double& carriedAzimuth) const;
    // After the lines reached: the azimuth the loop leaves at its end, and the error of the
    // line it could not read, if any, raised.
    void Finish(double& carriedAzimuth) const;

private:
    std::vector<SectionLineEnds> ends_;
    std::optional<StepError> failure_;  // of the line after the last one reached
    std::size_t lineCount_;
    std::size_t pointCount_;
    std::function<PlanePoint(std::size_t)> position_;
};

}  // namespace qorvel
