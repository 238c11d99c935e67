#include "checks/line_check.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/fields.h"
#include "core/text_encoding.h"
#include "core/text_index.h"

namespace qorvel {

LineCheckResult CheckSectionLines(const DataFile& stakes, const DataFile& matchedLines, ProgressSink& progress) {
    const std::string missing = Utf8ToGbk(kMissingSectionLine).value();
    const std::string repeated = Utf8ToGbk(kRepeatedSectionLine).value();

    // Only field 0 of either file is read, and every record has one: nothing here can fail.
    // The section lines are looked up by their chainage text instead of compared one by one.
    std::vector<std::string_view> lineChainages;
    lineChainages.reserve(matchedLines.size());
    for (const Record& line : matchedLines.records()) lineChainages.push_back(FirstField(line.text));
    const TextIndex linesByChainage(std::move(lineChainages));

    LineCheckResult result;
    const std::size_t stakeCount = stakes.size();
    for (std::size_t i = 0; i < stakeCount; ++i) {
        const std::string_view chainage = FirstField(stakes[i].text);
        const std::size_t found = linesByChainage.Count(chainage, 2);  // two make a repeat
        const std::string* reason = nullptr;
        if (found == 0) {
            reason = &missing;
            result.found.push_back({kMissingSectionLine, i, chainage});
            ++result.missing;
        } else if (found > 1) {
            reason = &repeated;
            result.found.push_back({kRepeatedSectionLine, i, chainage});
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

}  // namespace qorvel
