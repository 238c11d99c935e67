#pragma once
// Checking the matched section lines against the centre stakes: every stake should have found
// exactly one section line. A stake without one gets no cross-section; a stake with two gets two
// sections under one chainage. This report names those stakes before the results are written.

#include <cstddef>
#include <string_view>
#include <vector>

#include "core/data_file.h"
#include "core/output_text.h"
#include "core/progress.h"

namespace qorvel {

// A stake with a problem: the reason (one of the two below) and the stake's record.
struct StakeProblem {
    const char* reason;
    std::size_t stake;          // index into the centre-stake file's records
    std::string_view chainage;  // the stake's chainage as written (field 0)
};

struct LineCheckResult {
    OutputText output;         // reason,centre-stake line for every stake with a problem
    std::vector<StakeProblem> found;  // the same problems, in file order
    std::size_t stakes = 0;    // stakes checked
    std::size_t missing = 0;   // stakes without a section line
    std::size_t repeated = 0;  // stakes with several
};

inline constexpr const char* kLineCheckStatusPrefix = "已检查中桩：";

// The reasons (UTF-8 here; the report writes them in GBK, the code page of the lines it quotes).
inline constexpr const char* kMissingSectionLine = "缺少断面线";
inline constexpr const char* kRepeatedSectionLine = "断面线重复";

// For every centre stake, in file order: the matched section lines whose field 0 is exactly the
// stake's field 0.
LineCheckResult CheckSectionLines(const DataFile& stakes, const DataFile& matchedLines, ProgressSink& progress);

}  // namespace qorvel
