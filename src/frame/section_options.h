#pragma once
// How the settings become the options of everything that builds sections: step 10's result,
// the section check, the sheets and the viewer. They must build the very same sections (the
// avoid distance, the side rule, 幅别颠倒生成, the station text), so the reading is written
// once, here, and each of them asks for its options from it.

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "checks/section_check.h"
#include "frame/plot_options.h"
#include "frame/settings.h"
#include "plot/section_drawing.h"
#include "results/section_results.h"

namespace qorvel {

// Step 10's options: the avoid distance, the side rule and the layout with its switches.
SectionResultOptions SectionOptionsOf(const Settings& settings);
// The section check's: the sections as step 10 builds them, and the check's own tolerances.
SectionCheckOptions SectionCheckOptionsOf(const Settings& settings);

// A section as drawn on sheets and in the viewer: the chainage as the files write it (the
// sheets write a numeric one as station text whatever the result's switch), the stake's
// elevation, the first side to the left of the stake and the second to the right, each point
// with its name and code in UTF-8. `problems` is left empty for the caller.
SectionDrawing DrawingOfSection(const BuiltSection& section, const Settings& settings);

// The sides drawn left and right of the stake: the sides in the order the result file writes
// them, after 幅别颠倒生成.
const SideList& LeftOfStake(const BuiltSection& section, const Settings& settings);
const SideList& RightOfStake(const BuiltSection& section, const Settings& settings);

// What the section check found for each built section (by its place among them) as the viewer
// lists it and the sheets write it, "高程突变：左侧，12.50，3.20", in the check's order: the
// section's own problems and those of the pairs of stations it is one of.
std::vector<std::vector<std::string>> ProblemsOfSections(const BuiltSections& built, const SectionCheckResult& check);

// The built sections' places in chainage order: ascending, sections of equal chainage in the
// order built, those whose chainage is no number last. Sheets and the viewer take the sections
// in this order, whatever order the drawing gave the section lines in.
std::vector<std::size_t> ChainageOrder(std::span<const BuiltSection> sections);

}  // namespace qorvel
