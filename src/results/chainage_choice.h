#pragma once
// Which sections a document about one alignment holds: one per chainage, in ascending order.
//
// A section line drawn twice gives two sections of one chainage, and step 10's result keeps
// both, in the order the drawing gave them. LandXML allows one cross section per station, and
// its readers as much as the HDM file's expect the stations to run forward along the road: the
// first section of each chainage in the result's order is written and the others are named, so
// the surveyor can look at the line drawn twice.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qorvel {

// A section as the choice sees it, in the result's order.
struct ChoiceCandidate {
    double chainage = 0;
    bool hasPoints = true;     // a point on either side
    std::string_view station;  // as the file gives it, for the warning (GBK)
    std::size_t line = 0;      // where the section comes from
};

enum class LeftOutReason {
    RepeatedChainage,  // an earlier section has the same chainage value
    NoPoints,          // neither side holds a point (LandXML wants two points or more)
};

struct LeftOutSection {
    std::string station;
    std::size_t line = 0;
    LeftOutReason reason = LeftOutReason::RepeatedChainage;
};

struct ChainageChoice {
    std::vector<std::size_t> written;     // indices of the candidates, in ascending chainage
    std::vector<LeftOutSection> leftOut;  // in the result's order
};

// The first candidate of every chainage value (1200 and 1200.0 are one), in ascending order of
// chainage; with `leaveOutEmpty`, the chosen ones without points are left out as well (the
// first of a chainage is chosen before its points are looked at, so a later section of the
// same chainage does not stand in for it).
ChainageChoice ChooseOnePerChainage(std::span<const ChoiceCandidate> candidates, bool leaveOutEmpty);

// The one warning line naming the sections left out of `file`: for each reason the first ten
// (several from one line named once) with their lines, then how many there are when not all
// were named:
// 有 2 个断面未写出（文件“members.dat”）：桩号重复 1000（第 5 行）；两侧无点 1040（第 3 行）
std::string LeftOutSectionsWarning(std::string_view file, std::span<const LeftOutSection> leftOut);

}  // namespace qorvel
