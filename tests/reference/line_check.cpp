#include "reference/all_pairs_steps.h"

#include <string>
#include <string_view>
#include <vector>

#include "core/fields.h"
#include "core/text_encoding.h"

namespace qorvel::reference {

LineCheckResult CheckSectionLines(const DataFile& stakes, const DataFile& matchedLines, ProgressSink& progress) {
    const std::string missing = Utf8ToGbk(kMissingSectionLine).value();
    const std::string repeated = Utf8ToGbk(kRepeatedSectionLine).value();

    // Only field 0 of either file is read, and every record has one: nothing here can fail.
    std::vector<std::string_view> lineChainages;
    lineChainages.reserve(matchedLines.size());
    for (const Record& line : matchedLines.records())
        lineChainages.push_back(FieldReader(matchedLines, line).Text(0));

    LineCheckResult result;
    const std::size_t stakeCount = stakes.size();
    for (std::size_t i = 0; i < stakeCount; ++i) {
        const std::string_view chainage = FieldReader(stakes, stakes[i]).Text(0);
        std::size_t found = 0;
        for (const std::string_view lineChainage : lineChainages)
            if (lineChainage == chainage && ++found == 2) break;  // two already make it a repeat
        const std::string* reason = nullptr;
        if (found == 0) {
            reason = &missing;
            ++result.missing;
        } else if (found > 1) {
            reason = &repeated;
            ++result.repeated;
        }
        if (reason) {
            result.output << *reason << ',' << stakes[i].text;
            result.output.EndLine();
        }
        ++result.stakes;
        progress.Advance(kLineCheckStatusPrefix, i + 1, stakeCount);
    }
    return result;
}

}  // namespace qorvel::reference
