#pragma once
// A cross-section once built: the joined record, where its stake stands, and its two sides with
// the route's decision of which is left. Step 10 writes it in a layout; the section check, the
// section sheets and the window's viewer take it as it is.

#include <cstddef>
#include <optional>

#include "geometry/geometry.h"
#include "results/section_record.h"
#include "results/section_sides.h"
#include "route/route.h"

namespace qorvel {

struct BuiltSection {
    const SectionRecord* record = nullptr;
    PlanePoint stake;                  // centre-stake fields 2 and 3, read strictly
    std::optional<double> chainage;    // the chainage's value (strict reading), none when it is no number
    double stakeElevation = 0;         // centre-stake field 4, read leniently
    SectionSides drawn;                // the first end's side, the second end's side
    // The route's decision for the line as drawn, whichever side rule step 10 was given.
    SideDecision decision = SideDecision::Undecided;
    // The side rule was the route's and the line runs from right to left: the second end's side
    // is written first.
    bool routeSwapped = false;

    // The sides in the order step 10 writes them before "幅别颠倒生成" swaps them: with the
    // route's rule and a decided direction the left side first, else the first end's side.
    const SideList& first() const { return routeSwapped ? drawn.second : drawn.first; }
    const SideList& second() const { return routeSwapped ? drawn.first : drawn.second; }
    // The route's left and right sides; nothing when the direction is undecided.
    const SideList* left() const { return decided() ? (swapped() ? &drawn.second : &drawn.first) : nullptr; }
    const SideList* right() const { return decided() ? (swapped() ? &drawn.first : &drawn.second) : nullptr; }

private:
    bool decided() const { return decision != SideDecision::Undecided; }
    bool swapped() const { return decision == SideDecision::Swapped; }
};

}  // namespace qorvel
