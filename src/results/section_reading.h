#pragma once
// Section result files read back, in every layout QORVEL writes, so that one package's file can
// be written in another's layout (qorvel convert). Surveyors convert section files between
// packages more than they do anything else, and that is where sides get mirrored and points
// dropped: the reader therefore reads strictly, and a line that does not fit its layout fails
// with the file, the line and what was expected there, rather than being half understood.
//
// What each layout carries, and so what a conversion may need from elsewhere:
// - "格式 1": station; each side's (distance, elevation) pairs, one line each.
// - "格式 2", "格式 3": station, the stake's elevation, then both sides on one line; the layout
//   does not mark where the first side ends when both hold points: the second side starts
//   where the distance drops, and a line where it does not drop (or drops twice) fails.
// - "格式 4", "格式 5", "纬地 HDM": heights above the stake, not elevations, and no stake
//   elevation ("格式 5" and HDM each point from the one before, summed up here; HDM pairs may
//   be separated by TABs and blanks alike).
// - "BEGIN 块", "CSV 表", "LandXML": offsets from the far left to the far right, negative on
//   the first side, the stake at offset 0 with its elevation. BEGIN headers may read
//   "BEGIN,chainage:n" or, from other programs, "BEGIN,chainage,(x,y):n"; the number after
//   the colon only numbers the blocks. A CSV table forms one section of each run of rows of one
//   station, and a second stake row (offset 0 and no point name) or a falling offset starts
//   another.
//
// Stations and names are held in GBK, as the data files hold them; the UTF-8 of CSV and
// LandXML is converted on reading (failing, with the line, on text GBK cannot hold).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "results/section_layout.h"

namespace qorvel {

struct ReadPoint {
    double distance = 0;  // from the stake, outwards
    double height = 0;    // the elevation, or the height above the stake (ReadSections::heightsAboveStake)
    std::string name;     // GBK; only "CSV 表" carries names
};

struct ReadSection {
    std::string station;             // GBK, as the file writes it; HDM: its chainage in general form;
                                     // LandXML: the CrossSect's name, its sta without one
    std::optional<double> chainage;  // LandXML: sta; otherwise the station read strictly
    std::size_t line = 0;            // the physical line the section begins on
    std::string stakeElevation;      // its text, where the file gives it (a number); empty otherwise
    std::vector<ReadPoint> first;    // the first side (left in the layouts of offsets), outwards
    std::vector<ReadPoint> second;
};

struct ReadSections {
    const SectionLayoutEntry* layout = nullptr;  // the layout read
    bool heightsAboveStake = false;              // "格式 3", "格式 4", "格式 5", "纬地 HDM"
    std::vector<ReadSection> sections;           // in file order
};

// The layout a file's content shows by itself: the HDM file's first line, a first line
// "BEGIN,", the CSV table's heading (UTF-8 with or without its byte order mark, or GBK as a
// spreadsheet saves it), XML. Nothing for "格式 1" to "格式 5", whose contents cannot tell one
// another apart, and for anything else.
const SectionLayoutEntry* DetectSectionLayout(std::string_view bytes);

// Reads the section file `file` holding `bytes` in `layout`; without one, in the layout its
// content shows (failing where it shows none: "格式 1" to "格式 5" must be named). A layout named
// that the content contradicts fails, and so does a ground long profile given for sections.
ReadSections ReadSectionFile(std::string_view file, std::string_view bytes, const SectionLayoutEntry* layout);

}  // namespace qorvel
