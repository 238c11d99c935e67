#pragma once
// The ground long profile (纵断面地面线): the elevation of the ground along the centre line, from
// the surveyed centre stakes. The road-design package that imports the HDM ground sections
// takes the long profile from its companion DMX file; spreadsheets and other packages take a
// table of chainage and elevation.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/data_file.h"
#include "core/output_text.h"

namespace qorvel {

enum class ProfileKind {
    Dmx,  // "HINTCAD5.83_DMX_SHUJU", then per stake the chainage as %12.3f, a TAB, the elevation as %10.6f
    Csv,  // UTF-8 with a byte order mark: 桩号,里程,高程 (station text, chainage, elevation)
    Dat,  // GBK: chainage,elevation, three decimals each
};

inline constexpr std::string_view kDmxFirstLine = "HINTCAD5.83_DMX_SHUJU";

// The kind by the file's extension (.dmx, .csv or .dat, in any letter case); nothing for another.
std::optional<ProfileKind> ProfileKindOfPath(std::string_view path);

struct GroundProfile {
    OutputText output;
    std::size_t stakes = 0;  // stakes written
};

// The centre stakes (field 0 chainage, field 4 elevation) whose chainage is a number (strict
// reading), in ascending order of chainage, a chainage value given by several rows once, by the
// first of them; rows whose chainage is no number (a label that was not read) are none. The
// elevation is read leniently, as step 10 reads it; a row without field 4 fails the step. Lines
// end in CR LF; numbers are rounded halves away from zero on their decimal text, and padded
// with blanks on the left to the widths of %12.3f and %10.6f in the DMX file.
GroundProfile WriteGroundProfile(const DataFile& stakes, ProfileKind kind);

// "纵断面地面线：共有中桩 N 个。"
std::string GroundProfileSummary(const GroundProfile& profile);

}  // namespace qorvel
