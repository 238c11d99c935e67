#include "geometry/line_point_loop.h"

#include <utility>

#include "core/fields.h"
#include "geometry/carried_azimuth.h"

namespace qorvel {

LinePointLoop::LinePointLoop(const DataFile& matchedLines, std::size_t pointCount,
                             std::function<PlanePoint(std::size_t)> position)
    : lineCount_(matchedLines.size()), pointCount_(pointCount), position_(std::move(position)) {
    ends_.reserve(lineCount_);
    for (std::size_t i = 0; i < lineCount_ && !failure_; ++i) {
        try {
            ends_.push_back(ReadSectionLineEnds(FieldReader(matchedLines, matchedLines[i])));
        } catch (const StepError& error) {
            failure_ = error;
        }
    }
    if (ends_.empty()) throw *failure_;  // the first line, before it meets any point
}

void LinePointLoop::StopBefore(std::size_t line, std::size_t point, double& carriedAzimuth) const {
    const auto pairPoints = [&](std::size_t lineTested, std::size_t pointTested) {
        const PlanePoint p = position_(pointTested);
        return std::pair{p, FootOfPerpendicular(p, ends_[lineTested].first, ends_[lineTested].second)};
    };
    carriedAzimuth = CarriedAzimuthAfter(line * pointCount_ + point, pointCount_, pairPoints, carriedAzimuth);
}

void LinePointLoop::Finish(double& carriedAzimuth) const {
    if (failure_) {
        StopBefore(reached(), 0, carriedAzimuth);
        throw *failure_;
    }
    StopBefore(lineCount_, 0, carriedAzimuth);
}

}  // namespace qorvel
