#pragma once
// The section result file in its five layouts, "格式 1" to "格式 5", as road design software
// imports it: per section the station, then the two sides as (distance, elevation) pairs,
// (distance, height above the stake) pairs, or pairs relative to the point before.

#include <string>
#include <string_view>

#include "core/output_text.h"
#include "results/section_record.h"

namespace qorvel {

struct SectionLayoutSettings {
    std::string_view layoutName = "格式 1";  // compared exactly: "格式 1" .. "格式 5"
    bool swapSides = false;       // "幅别颠倒生成": the second side is written before the first
    bool negateHeights = false;   // "变换高差正负号": height differences change sign
    bool stationText = false;     // "转换为字符型桩号": the chainage written as station text
    bool blankLine = false;       // "断面桩号隔一行生成": a line holding one blank before each section
};

// Appends the lines of one section to `output` and returns true when the layout name is one of
// the five; for any other name it writes nothing and returns false.
//
// Reads the stake elevation leniently in the layouts of height differences ("格式 3" to
// "格式 5") and, with station text asked for, the chainage strictly; a chainage that is not a
// number fails the step, naming the line it came from.
bool WriteSectionLayout(const SectionRecord& record, const SideList& first, const SideList& second,
                        const SectionLayoutSettings& settings, OutputText& output);

// A distance or height as the layouts write it: rounded to four decimals (halves to even), then
// written "0.00" (halves away from zero), both decided on the 15-digit decimal text; a value
// that is zero once written carries no minus sign. 0.00499999 gives 0.01, 0.0049 gives 0.00.
std::string LayoutNumberText(double value);

}  // namespace qorvel
