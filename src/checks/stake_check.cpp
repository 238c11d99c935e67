#include "checks/stake_check.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "assemble/centre_stake_merge.h"
#include "core/fields.h"
#include "core/text_encoding.h"
#include "core/text_index.h"

namespace qorvel {

namespace {
// The text after the fifth comma of a label line: the label itself, which may hold commas.
std::string_view LabelText(std::string_view line) {
    for (int comma = 0; comma < 5; ++comma) {
        const std::size_t at = line.find(',');
        if (at == std::string_view::npos) return line;
        line.remove_prefix(at + 1);
    }
    return line;
}
}  // namespace

StakeCheckResult CheckCentreStakes(const DataFile& labels, const DataFile& stakes, bool numericLabels,
                                   ProgressSink& progress) {
    const std::string unreadable = Utf8ToGbk(kUnreadableLabel).value();
    const std::string missing = Utf8ToGbk(kMissingStake).value();
    const std::string repeated = Utf8ToGbk(kRepeatedStake).value();

    // Every record has a field 0, so the centre-stake file cannot fail here. The stakes are
    // looked up by their chainage text instead of compared one by one.
    std::vector<std::string_view> stakeChainages;
    stakeChainages.reserve(stakes.size());
    for (const Record& stake : stakes.records()) stakeChainages.push_back(FirstField(stake.text));
    const TextIndex stakesByChainage(std::move(stakeChainages));

    StakeCheckResult result;
    const std::size_t labelCount = labels.size();
    for (std::size_t i = 0; i < labelCount; ++i) {
        const FieldReader label(labels, labels[i]);
        const std::string chainage = LabelChainageText(label.Text(5), numericLabels);
        const std::string* reason = nullptr;
        const char* named = nullptr;
        if (chainage.empty()) {
            reason = &unreadable;
            named = kUnreadableLabel;
        } else {
            const std::size_t found = stakesByChainage.Count(chainage, 2);  // two already make it a repeat
            if (found == 0) {
                reason = &missing;
                named = kMissingStake;
            } else if (found > 1) {
                reason = &repeated;
                named = kRepeatedStake;
            }
        }
        if (reason) {
            result.found.push_back({named, i, LabelText(labels[i].text)});
            result.output << *reason << ',' << labels[i].text;
            result.output.EndLine();
            ++result.problems;
        }
        ++result.labels;
        progress.Advance(kStakeCheckStatusPrefix, i + 1, labelCount);
    }
    return result;
}

}  // namespace qorvel
