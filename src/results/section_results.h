#pragma once
// Step 10: the cross-section results from the station membership, centre-stake, detail point
// and matched section line files, in the layout chosen on the main window.

#include <cstddef>

#include "core/output_text.h"
#include "core/progress.h"
#include "results/section_join.h"
#include "results/section_layout.h"

namespace qorvel {

struct SectionResultOptions {
    double stakeAvoidDistance = 0.08;  // "生成成果时，规避中桩的距离值"
    SectionLayoutSettings layout;
};

struct SectionResults {
    OutputText output;
    std::size_t sections = 0;  // section records built
    std::size_t written = 0;   // sections written (none when the layout name matches no layout)
};

inline constexpr const char* kWriteSectionsStatus = "写入文件： ";

// Joins the files, builds both sides of every section and writes each one in the layout, in
// that order for one section after the other. Status and progress follow the membership file
// through the joins, then the sections written.
SectionResults OutputSectionResults(const SectionInputs& inputs, const SectionResultOptions& options,
                                    double& carriedAzimuth, ProgressSink& progress);

}  // namespace qorvel
