#pragma once
// Checking the sections before they go to design. Step 10 writes whatever the files give: a
// section line drawn from right to left comes out mirrored, a point with a mistyped elevation
// stands as a spike, a side without points or with a long gap leaves the designer guessing, a
// section line drawn across its neighbour or a stake labelled with the wrong chainage puts
// ground where it is not. Each of these is found here from the same sections step 10 builds, and
// reported by chainage so that the surveyor can mend the drawing or the files.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/data_file.h"
#include "core/output_text.h"
#include "core/progress.h"
#include "results/section_results.h"

namespace qorvel {

struct SectionCheckOptions {
    SectionResultOptions sections;  // as step 10 is given them (the layout is not used)
    double spikeHeight = 2.0;       // --spike H, metres
    double gapDistance = 30;        // --gap G, metres
    double skewAngle = 15;          // --skew A, degrees away from square
};

// The reasons, in the order a section's problems are listed; the station pairs' come last.
enum class SectionProblemReason {
    LineReversed,        // 断面线反向: drawn from the route's right to its left
    DirectionUndecided,  // 断面线方向无法确定
    LineSkewed,          // 断面线斜交: more than A away from square to the route
    BothSidesEmpty,      // 两侧无点
    LeftSideEmpty,       // 左侧无点
    RightSideEmpty,      // 右侧无点
    FirstSideEmpty,      // 第一侧无点 (where the route cannot say which side is left)
    SecondSideEmpty,     // 第二侧无点
    ElevationSpike,      // 高程突变
    PointGap,            // 点距过大
    LinesCross,          // 断面线相交: this station's section line and the next one's
    StakeOffChainage,    // 桩号与位置不符: two stakes farther apart than their chainages
};

// The reason as the report writes it, in UTF-8.
std::string_view SectionProblemReasonText(SectionProblemReason reason);

// The side of a section a problem is on: left and right as the route decides, first and second
// (as drawn) where it cannot.
enum class ProblemSide { None, Left, Right, First, Second };

// The side as the report writes it, in UTF-8: 左, 右, 第一侧, 第二侧; empty for None.
std::string_view ProblemSideText(ProblemSide side);

struct SectionProblem {
    static constexpr std::size_t kNoSection = SIZE_MAX;

    SectionProblemReason reason;
    std::string chainage;      // the chainage as in the files (GBK)
    // The problems of a pair of stations: the next station's chainage as in the files; empty for
    // the problems of one section.
    std::string nextChainage;
    ProblemSide side = ProblemSide::None;
    // The figures, as the report writes them: the angle; the distance and elevation of a spike;
    // the two distances of a gap; the stakes' distance and the chainages' difference.
    std::vector<std::string> values;
    // The section concerned, its position in the built sections (step 10's order); kNoSection
    // for the problems of a pair of stations, which name both chainages.
    std::size_t section = kNoSection;

    // The fields the report writes after the reason and the chainage (GBK): the next chainage,
    // the side, the figures.
    std::vector<std::string> ReportFields() const;
};

struct SectionCheckResult {
    OutputText output;                     // the report: a line per problem, GBK, CR LF; empty when none
    std::size_t sections = 0;              // N, the sections built
    std::vector<SectionProblem> problems;  // M = problems.size(), in the report's order
};

// 共检查断面 N 个，发现问题 M 处！
std::string SectionCheckSummary(const SectionCheckResult& result);

// Builds the sections as step 10 does (BuildSections, with the same failures) and checks them.
SectionCheckResult CheckSections(const SectionInputs& inputs, const SectionCheckOptions& options, double& carriedAzimuth,
                                 ProgressSink& progress);

// Checks sections already built from the same files; `matchedLines` is the matched section line
// file they were built from.
//
// Sections in their order, each with its problems in the order of SectionProblemReason: the
// route's decision (reversed, or undecided at a chainage that is no number, without a direction
// or with k = 0); the angle acos(|t·v| / (|t|·|v|)) between the line v = E − F and the route's
// direction t when below 90 − A (one decimal; not judged without a direction or a line of no
// length); an empty side (left and right as the route decides, first and second where it
// cannot); on each side, left (first) side first, a point whose elevation differs by more than
// H from both neighbours in the same direction (the stake at distance 0 before the first point;
// the last point not judged); two consecutive points (the stake first) more than G apart.
// Distances and elevations are written as "格式 1" writes them (LayoutNumberText).
//
// Then each pair of consecutive route stations, in chainage order, named by their stake rows'
// chainage texts: their section lines (each station's first matched line with that chainage
// text, ends read leniently) crossing or touching; their stakes farther apart than their
// chainage difference plus 0.1 m (a chord is never longer than its arc), with the distance and
// the difference ("0.000").
SectionCheckResult CheckBuiltSections(const BuiltSections& built, const DataFile& matchedLines,
                                      const SectionCheckOptions& options);

}  // namespace qorvel
