#include "results/chainage_choice.h"

#include <algorithm>

#include "core/fields.h"

namespace qorvel {

ChainageChoice ChooseOnePerChainage(std::span<const ChoiceCandidate> candidates, bool leaveOutEmpty) {
    std::vector<std::size_t> order(candidates.size());
    for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
    // Stable: of equal chainages the earliest in the result comes first.
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return candidates[a].chainage < candidates[b].chainage; });

    std::vector<bool> left(candidates.size(), false);
    std::vector<LeftOutReason> reasons(candidates.size());
    ChainageChoice choice;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::size_t index = order[k];
        if (k > 0 && candidates[order[k - 1]].chainage == candidates[index].chainage) {
            left[index] = true;
            reasons[index] = LeftOutReason::RepeatedChainage;
        } else if (leaveOutEmpty && !candidates[index].hasPoints) {
            left[index] = true;
            reasons[index] = LeftOutReason::NoPoints;
        } else {
            choice.written.push_back(index);
        }
    }
    for (std::size_t index = 0; index < candidates.size(); ++index)
        if (left[index])
            choice.leftOut.push_back({std::string(candidates[index].station), candidates[index].line, reasons[index]});
    return choice;
}

std::string LeftOutSectionsWarning(std::string_view file, std::span<const LeftOutSection> leftOut) {
    constexpr std::size_t kNamed = 10;
    std::string text = "有 " + std::to_string(leftOut.size()) + " 个断面未写出（文件“" + std::string(file) + "”）：";
    bool firstReason = true;
    for (const auto& [reason, heading] : {std::pair{LeftOutReason::RepeatedChainage, "桩号重复 "},
                                          std::pair{LeftOutReason::NoPoints, "两侧无点 "}}) {
        // Sections from one line (a chainage on several membership lines multiplies) are named
        // once.
        std::size_t count = 0;
        std::vector<const LeftOutSection*> named;
        for (const LeftOutSection& section : leftOut) {
            if (section.reason != reason) continue;
            if (count++ == 0) {
                if (!firstReason) text += "；";
                firstReason = false;
                text += heading;
            }
            const bool again = std::any_of(named.begin(), named.end(), [&](const LeftOutSection* other) {
                return other->line == section.line && other->station == section.station;
            });
            if (again || named.size() == kNamed) continue;
            if (!named.empty()) text += "、";
            named.push_back(&section);
            text += DisplayText(section.station) + "（第 " + std::to_string(section.line) + " 行）";
        }
        if (count > named.size()) text += " 等共 " + std::to_string(count) + " 个";
    }
    return text;
}

}  // namespace qorvel
