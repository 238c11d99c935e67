#include "results/chainage_choice.h"

#include <gtest/gtest.h>

namespace qorvel {
namespace {

TEST(ChainageChoice, ManyLeftOutAreNamedOnceAndCounted) {
    // A chainage on two membership lines gives eight sections, all from one line; twelve more
    // chainages each drawn twice.
    std::vector<ChoiceCandidate> candidates(8, ChoiceCandidate{100, true, "100", 6});
    for (int k = 0; k < 12; ++k) {
        const std::string_view station = k < 10 ? "2" : "3";
        candidates.push_back({200.0 + k, true, station, std::size_t(10 + k)});
        candidates.push_back({200.0 + k, true, station, std::size_t(10 + k)});
    }
    const ChainageChoice choice = ChooseOnePerChainage(candidates, false);
    EXPECT_EQ(choice.written.size(), 13u);
    EXPECT_EQ(LeftOutSectionsWarning("m.dat", choice.leftOut),
              "有 19 个断面未写出（文件“m.dat”）：桩号重复 100（第 6 行）、2（第 10 行）、2（第 11 行）、2（第 12 行）、"
              "2（第 13 行）、2（第 14 行）、2（第 15 行）、2（第 16 行）、2（第 17 行）、2（第 18 行） 等共 19 个");
}

}  // namespace
}  // namespace qorvel
