#pragma once
// Checking the centre stakes against the station labels: before the section lines are matched,
// every label on the drawing should have found exactly one surveyed stake. A label whose stake
// is missing, or whose chainage appears on several stakes, would later show up only as a station
// without a cross-section; this report names those labels while the survey can still be fixed.

#include <cstddef>
#include <string_view>
#include <vector>

#include "core/data_file.h"
#include "core/output_text.h"
#include "core/progress.h"

namespace qorvel {

// A label with a problem: the reason (one of the three below) and the label's record.
struct LabelProblem {
    const char* reason;
    std::size_t label;        // index into the station text file's records
    std::string_view station;  // the label's text as written (field 5 on: a label may hold commas)
};

struct StakeCheckResult {
    OutputText output;         // reason,label line for every label with a problem
    std::vector<LabelProblem> found;  // the same problems, in file order
    std::size_t labels = 0;    // labels checked
    std::size_t problems = 0;  // labels reported
};

inline constexpr const char* kStakeCheckStatusPrefix = "已检查桩号文字：";

// The reasons (UTF-8 here; the report writes them in GBK, the code page of the lines it quotes).
inline constexpr const char* kUnreadableLabel = "桩号无法识别";  // the label gives no chainage
inline constexpr const char* kMissingStake = "缺少中桩";         // no centre stake has its chainage
inline constexpr const char* kRepeatedStake = "中桩重复";        // several centre stakes have it

// For every station label (field 5 of the station text file), in file order: its chainage as
// the centre-stake merge writes it, looked up by its exact text in field 0 of the centre-stake
// file. `numericLabels` as for the merge: plain numbers are chainages.
StakeCheckResult CheckCentreStakes(const DataFile& labels, const DataFile& stakes, bool numericLabels,
                                   ProgressSink& progress);

}  // namespace qorvel
