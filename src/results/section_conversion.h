#pragma once
// A section file read in one layout and written in another (qorvel convert, 格式转换).
//
// Values are taken as the source wrote them and written by the target's own rules, so a
// conversion gives exactly what the target's writer gives for those values (its roundings, its
// order of points): nothing is measured again. What the target needs and the source lacks comes
// from the centre-stake file, matched by chainage, or the conversion fails naming it: the
// stake's elevation ("格式 1", "格式 4", "格式 5" and HDM do not carry it), which also turns
// heights above the stake into elevations and back; the route, for LandXML's alignment.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/data_file.h"
#include "core/output_text.h"
#include "results/chainage_choice.h"
#include "results/section_layout.h"
#include "results/section_reading.h"

namespace qorvel {

struct ConversionResult {
    OutputText output;
    std::size_t written = 0;              // sections written
    std::vector<LeftOutSection> leftOut;  // LandXML and HDM: for LeftOutSectionsWarning on the input
};

// Writes `read` (the sections of `file`) in `target`'s layout with its switches, as step 10
// writes it: "BEGIN 块" numbers the sections in output order, "CSV 表" writes its heading,
// "LandXML" and "纬地 HDM" one section per chainage in ascending order (ChooseOnePerChainage,
// LandXML leaving out the sections without points), the first side of the source taken as the
// left. Point names come from the source (only "CSV 表" has them).
//
// `stakes` (may be null) is the centre-stake file: a section's stake elevation is the source's
// own, else field 4 of the first row whose chainage text is the section's station, else of the
// first whose chainage value is the section's. Fails, naming the input's line, for a section
// whose stake elevation the target needs and nobody gives, and for a station that is no number
// where the target's must be; without `stakes`, a LandXML target fails before anything.
ConversionResult ConvertSections(const ReadSections& read, std::string_view file, const DataFile* stakes,
                                 const SectionLayoutSettings& target);

// "共转换断面 N 个：BEGIN 块 → 纬地 HDM。"
std::string ConversionSummary(const ConversionResult& result, const SectionLayoutEntry& from,
                              const SectionLayoutEntry& to);

}  // namespace qorvel
