#pragma once
// Step 10: the cross-section results from the station membership, centre-stake, detail point
// and matched section line files, in the layout chosen on the main window; and the same
// sections built but not written, for the section check, the section sheets and the viewer.

#include <cstddef>
#include <vector>

#include "core/output_text.h"
#include "core/progress.h"
#include "results/built_section.h"
#include "results/chainage_choice.h"
#include "results/section_join.h"
#include "results/section_layout.h"
#include "route/route.h"

namespace qorvel {

// Which side of a section is written first.
enum class SideRule {
    Drawn,  // the side of the section line's first end, as the line was drawn
    Route,  // "按路线前进方向区分左右": the route's left (facing increasing chainage), decided
            // per section from the centre stakes; as drawn where the route cannot decide
};

struct SectionResultOptions {
    double stakeAvoidDistance = 0.08;  // "生成成果时，规避中桩的距离值"
    SideRule sides = SideRule::Drawn;
    SectionLayoutSettings layout;      // "幅别颠倒生成" swaps the sides after the side rule
};

struct SectionResults {
    OutputText output;
    std::size_t sections = 0;  // section records built
    std::size_t written = 0;   // sections written (none when the layout name matches no layout)
    std::size_t withPoints = 0;  // sections built with a point on either side
    // The sections built but not written ("LandXML", "纬地 HDM"), for the warning
    // LeftOutSectionsWarning gives on the membership file.
    std::vector<LeftOutSection> leftOut;
};

inline constexpr const char* kWriteSectionsStatus = "写入文件： ";
inline constexpr const char* kBuildSectionsStatus = "生成断面： ";

// Joins the files, builds both sides of every section and writes each one in the layout, in
// that order for one section after the other ("CSV 表" after its heading).
//
// The layouts whose sides follow the route ("LandXML", "纬地 HDM") take the route's side rule
// whatever `options.sides` says and ignore swapSides; they are written once every section is
// built, one section per chainage in ascending order (ChooseOnePerChainage; "LandXML" leaves
// out the chosen sections without points too), the others named in `leftOut`. A section whose
// chainage is no number, or whose sides the route cannot decide, fails the step in its place,
// whether it would have been written or not.
//
// Status and progress follow the membership file through the joins, then the sections built.
SectionResults OutputSectionResults(const SectionInputs& inputs, const SectionResultOptions& options,
                                    double& carriedAzimuth, ProgressSink& progress);

// The sections step 10 builds, with what they are built from. Move it, never copy it: the
// sections look into the join's records, and everything looks into the four files, which must
// outlive it.
struct BuiltSections {
    BuiltSections() = default;
    BuiltSections(BuiltSections&&) = default;
    BuiltSections& operator=(BuiltSections&&) = default;
    BuiltSections(const BuiltSections&) = delete;
    BuiltSections& operator=(const BuiltSections&) = delete;

    SectionJoin join;
    Route route;                        // from the centre-stake file
    std::vector<BuiltSection> sections; // in step 10's output order
};

// Builds the sections exactly as OutputSectionResults does (the same joins, sides, side rule,
// carried azimuth and failures; the layout settings are not used) without writing them. Reads
// besides every stake's elevation leniently, so a stake elevation beyond the range of a double
// fails here where "格式 1" would copy it. Status and progress follow the membership file
// through the joins, then the sections built.
BuiltSections BuildSections(const SectionInputs& inputs, const SectionResultOptions& options, double& carriedAzimuth,
                            ProgressSink& progress);

// Fails the step naming the largest coordinate of the route's stations at `along` and of the
// record's section line ("坐标数值过大"): a computation with them overflowed, and the side it
// would decide, or the angle it would measure, is no decision.
[[noreturn]] void FailRouteAndLineTooLarge(const Route& route, const RouteDirection& along, const SectionRecord& record);

// Writes sections already built by BuildSections in the layout of `options`, as
// OutputSectionResults writes them from the same files with the same options: the same bytes,
// and the same failure at the first section the layout cannot write. The run builds its
// sections once, for step 10, the section check and the sheets; a build that fails is left to
// OutputSectionResults, which fails where a single step fails.
SectionResults WriteBuiltSections(const BuiltSections& built, const SectionResultOptions& options,
                                  ProgressSink& progress);

}  // namespace qorvel
