#pragma once
// The azimuth AzimuthDistance leaves behind after a loop over pairs of records. Every pair the
// loop tests calls it, and each call overwrites the carried azimuth unless its two points
// coincide; so the value left is that of the last pair tested whose points differ. An indexed
// step tests only the pairs that can matter and finds that value by walking back from the last
// pair a full loop would have tested: usually one step, more only past pairs at distance zero.

#include <cstddef>
#include <optional>

#include "geometry/geometry.h"

namespace qorvel {

// The azimuth AzimuthDistance gives from `from` to `to`, or nothing when the points coincide
// and it would keep the carried one.
inline std::optional<double> AzimuthSet(PlanePoint from, PlanePoint to) {
    // Two runs from different carried values tell "kept" from "set" without repeating the
    // routine's own case analysis.
    double fromZero = 0;
    double fromOne = 1;
    AzimuthDistance(from, to, fromZero);
    AzimuthDistance(from, to, fromOne);
    if (fromZero == 0 && fromOne == 1) return std::nullopt;
    return fromOne;
}

// The carried azimuth after the first `pairsTested` pairs of a loop over outer records and,
// within each, `innerCount` inner records (pair n is outer n / innerCount, inner
// n % innerCount). `fromTo(outer, inner)` gives the two points the loop hands AzimuthDistance
// for that pair; `before` is the carried azimuth before the loop.
template <class FromTo>
double CarriedAzimuthAfter(std::size_t pairsTested, std::size_t innerCount, FromTo fromTo, double before) {
    for (std::size_t pair = pairsTested; pair-- > 0;) {
        const auto [from, to] = fromTo(pair / innerCount, pair % innerCount);
        if (const auto azimuth = AzimuthSet(from, to)) return *azimuth;
    }
    return before;
}

}  // namespace qorvel
