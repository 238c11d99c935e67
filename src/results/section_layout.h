#pragma once
// The section result file in its layouts, as road design software imports it. "格式 1" to
// "格式 5": per section the station, then the two sides as (distance, elevation) pairs,
// (distance, height above the stake) pairs, or pairs relative to the point before. "BEGIN 块",
// "CSV 表" and "LandXML": the offset/elevation blocks, station/offset/elevation tables and
// cross sections that other design and survey packages import, every section's points from the
// far left to the far right with the left side's offsets negative. "纬地 HDM": the ground
// sections the road-design package of that name imports, each side as a count and its points
// relative to the point before, left and right by the route.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/output_text.h"
#include "results/section_record.h"

namespace qorvel {

enum class SectionLayoutKind { Format1, Format2, Format3, Format4, Format5, Begin, Csv, LandXml, Hdm };

struct SectionLayoutEntry {
    SectionLayoutKind kind;
    std::string_view name;          // the layout box's item, which the settings hold
    std::string_view commandValue;  // the value of the command line's --format
    std::string_view extension;     // of the result file, with its dot
    // Whether "变换高差正负号" and "断面桩号隔一行生成" mean anything in the layout: the layouts
    // after "格式 5" write absolute elevations or a structure of their own and no blank lines,
    // and asking for either with them is a usage error. (Written anyway, they are ignored.)
    bool heightSwitches;
    // Whether the layout says "left" and "right" ("LandXML": a negative offset is left of the
    // alignment; "纬地 HDM": a left and a right line). Its sides then follow the route's
    // direction whatever the drawing's, and its file holds one section per chainage in
    // ascending order, as the consumers expect of a document about one alignment.
    bool routeSides;
    // Whether "转换为字符型桩号" means anything: "纬地 HDM" writes the chainage as a number.
    bool stationText;
    // One sentence for the surveyor: what each line holds and which programs read it.
    std::string_view description;
};

// Every layout in the order of the layout box: "格式 1" .. "格式 5", "BEGIN 块", "CSV 表",
// "LandXML", "纬地 HDM"; on the command line 1 .. 5, begin, csv, landxml, hdm; files .dat (the
// first six), .csv, .xml, .hdm.
std::span<const SectionLayoutEntry> SectionLayouts();
// The layout of a name, compared exactly; nothing for any other text.
const SectionLayoutEntry* FindSectionLayout(std::string_view name);
// The layout of a --format value, compared exactly.
const SectionLayoutEntry* FindSectionLayoutByCommandValue(std::string_view value);
const SectionLayoutEntry& SectionLayoutOf(SectionLayoutKind kind);

struct SectionLayoutSettings {
    std::string_view layoutName = "格式 1";  // compared exactly with the names of SectionLayouts()
    bool swapSides = false;       // "幅别颠倒生成": the second side is written before the first
    bool negateHeights = false;   // "变换高差正负号": height differences change sign
    bool stationText = false;     // "转换为字符型桩号": the chainage written as station text
    bool blankLine = false;       // "断面桩号隔一行生成": a line holding one blank before each section
};

// Switches that the layout has no use for, or a layout nobody knows: the reason, to be given as
// a usage error, or nothing. Swapping the sides of a layout whose sides follow the route would
// mirror every section of a file that says which side is left.
std::string SectionLayoutConflict(const SectionLayoutSettings& settings);

// What a layout writes before the first section: the CSV table's byte order mark and heading
// line, the HDM file's first line; nothing for the others (LandXML is written whole, see
// landxml_layout.h).
void WriteSectionLayoutHeading(const SectionLayoutSettings& settings, OutputText& output);

inline constexpr std::string_view kHdmFirstLine = "HINTCAD5.83_HDM_SHUJU";

// Appends the lines of one section to `output` and returns true when the layout name is one of
// "格式 1" .. "格式 5", "BEGIN 块", "CSV 表" and "纬地 HDM"; for "LandXML" (a whole document) and
// any other name it writes nothing and returns false. `first` and `second` are the sides in the
// order they are written unless swapSides (for "纬地 HDM" the route's left and right, which the
// caller has put in ascending order of chainage, one section each); `number` counts the
// sections from 1 in output order ("BEGIN 块" writes it).
//
// Reads the stake elevation leniently in the layouts of height differences ("格式 3" to
// "格式 5", "纬地 HDM") and in the layouts of offsets and, with station text asked for or in
// "纬地 HDM", the chainage strictly; a chainage that is not a number fails the step, naming the
// line it came from. "CSV 表" converts station and point names from GBK to UTF-8 and fails,
// naming the line, on text that is no GBK.
//
// "纬地 HDM": the chainage with three decimals; then the left side's line and the right side's:
// the count of points, then for each point a TAB, its distance and a TAB, its height, each
// "0.000" (halves away from zero), the first point's distance from the stake and height above
// it, every further point's relative to the point before (as "格式 5" on the same values); an
// empty side is its count 0 alone; then an empty line.
bool WriteSectionLayout(const SectionRecord& record, const SideList& first, const SideList& second,
                        const SectionLayoutSettings& settings, OutputText& output, std::size_t number = 1);
// The same for sides read from another file: the layouts of heights measure them from
// `heightsFrom` instead of the stake's elevation (0 when the sides hold heights above the stake
// already). The stake's elevation is then only copied ("格式 2", "格式 3") or written at offset 0
// ("BEGIN 块", "CSV 表"). A number that is not finite (NumberNotFinite) fails the step naming the
// section's line.
bool WriteSectionLayout(const SectionRecord& record, const SideList& first, const SideList& second,
                        std::optional<double> heightsFrom, const SectionLayoutSettings& settings, OutputText& output,
                        std::size_t number);

// The station as the layouts write it: the chainage as in the files, or with `stationText` its
// station text (K1+050), failing the step when the chainage is no number.
std::string SectionStationText(const SectionRecord& record, bool stationText);

// The value of the chainage for a layout whose stations are numbers ("LandXML", "纬地 HDM"),
// failing the step where it is none: "<layout> 的桩号必须是数字".
double RequireNumericStation(const SourcedField& chainage, const SectionLayoutEntry& layout);

// A distance or height as "格式 1" to "格式 5" write it: rounded to four decimals (halves to
// even), then written "0.00" (halves away from zero), both decided on the 15-digit decimal
// text; a value that is zero once written carries no minus sign. 0.00499999 gives 0.01, 0.0049
// gives 0.00.
std::string LayoutNumberText(double value);

// An offset or elevation as the three new layouts write it: "0.000", rounded once, halves away
// from zero on the 15-digit decimal text; zero without a minus sign.
std::string OffsetNumberText(double value);

// The points of a section from the far left to the far right as the three new layouts write
// them: the left side (the one written first, after swapSides) in reverse order of distance
// with negative offsets, the stake at offset 0, the right side in order. `visit(offset,
// elevation, name)` is called for each; the stake's name is empty.
template <class Visit>
void ForEachPointLeftToRight(const SideList& left, const SideList& right, double stakeElevation, Visit&& visit) {
    for (std::size_t k = left.size(); k > 0; --k) visit(-left[k - 1].distance, left[k - 1].elevation, left[k - 1].name);
    visit(0.0, stakeElevation, std::string_view());
    for (const SidePoint& point : right) visit(point.distance, point.elevation, point.name);
}

}  // namespace qorvel
