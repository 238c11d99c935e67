#include "core/text_index.h"

#include <string>

#include <gtest/gtest.h>

namespace qorvel {
namespace {

std::vector<TextIndex::Id> found(const TextIndex& index, std::string_view key) {
    std::vector<TextIndex::Id> ids;
    index.ForEach(key, [&](TextIndex::Id id) { ids.push_back(id); });
    return ids;
}

TEST(TextIndex, EveryRecordWithTheTextInFileOrder) {
    const TextIndex index({"1200", "1220", "1200", "", "1200 ", "1220", "1200"});
    EXPECT_EQ(found(index, "1200"), (std::vector<TextIndex::Id>{0, 2, 6}));
    EXPECT_EQ(found(index, "1220"), (std::vector<TextIndex::Id>{1, 5}));
    // Bytes compare as they are: a trailing blank is another text, the empty text one of its own.
    EXPECT_EQ(found(index, "1200 "), (std::vector<TextIndex::Id>{4}));
    EXPECT_EQ(found(index, ""), (std::vector<TextIndex::Id>{3}));
    EXPECT_TRUE(found(index, "1240").empty());
    EXPECT_EQ(index.First("1240"), TextIndex::kNone);
    EXPECT_EQ(index.Count("1200", 2), 2u);
    EXPECT_EQ(index.Count("1200", 10), 3u);
    EXPECT_EQ(index.Count("1240", 2), 0u);
}

TEST(TextIndex, ManyTextsOfEveryLength) {
    // Names as surveys number their points, long ones past the hash's eight-byte steps among
    // them, each name on two records, far apart.
    std::vector<std::string> names;
    for (int k = 0; k < 5000; ++k) names.push_back(std::string(static_cast<std::size_t>(k % 23), 'x') + std::to_string(k));
    std::vector<std::string_view> keys(names.begin(), names.end());
    keys.insert(keys.end(), names.begin(), names.end());
    const TextIndex index(keys);
    EXPECT_EQ(index.size(), 10000u);
    for (int k = 0; k < 5000; ++k) {
        const auto id = static_cast<TextIndex::Id>(k);
        ASSERT_EQ(found(index, names[static_cast<std::size_t>(k)]), (std::vector<TextIndex::Id>{id, id + 5000}));
    }
    EXPECT_TRUE(found(index, "x").empty());
    EXPECT_TRUE(found(index, names[100] + "0").empty());

    // Many keys at once give what one key at a time gives, in the order of the keys.
    std::vector<std::string_view> asked{"x", names[7], names[4999], "", names[7]};
    for (int k = 0; k < 40; ++k) asked.push_back(names[static_cast<std::size_t>(k * 97)]);
    std::vector<std::pair<std::size_t, TextIndex::Id>> together;
    TextIndex::Hint hint;
    index.ForEachOfEach(asked, hint, [&](std::size_t k, TextIndex::Id id) { together.emplace_back(k, id); });
    std::vector<std::pair<std::size_t, TextIndex::Id>> oneByOne;
    for (std::size_t k = 0; k < asked.size(); ++k)
        for (const TextIndex::Id id : found(index, asked[k])) oneByOne.emplace_back(k, id);
    EXPECT_EQ(together, oneByOne);
    EXPECT_EQ(together.size(), 2 * (asked.size() - 2));
}

TEST(TextIndex, KeysInTheRecordsOrderStillFindEveryRecord) {
    // The record after the last one found is tried first; it counts only when it is the first
    // record with its text (the second A is not where the As begin).
    const TextIndex index({"A", "B", "A", "C", "D", "C"});
    const std::vector<std::string_view> keys{"B", "A", "C", "D", "C", "E", "A"};
    std::vector<std::pair<std::size_t, TextIndex::Id>> visited;
    TextIndex::Hint hint;
    index.ForEachOfEach(keys, hint, [&](std::size_t k, TextIndex::Id id) { visited.emplace_back(k, id); });
    const std::vector<std::pair<std::size_t, TextIndex::Id>> expected{{0, 1}, {1, 0}, {1, 2}, {2, 3}, {2, 5},
                                                                      {3, 4}, {4, 3}, {4, 5}, {6, 0}, {6, 2}};
    EXPECT_EQ(visited, expected);
}

TEST(TextIndex, AnEmptyIndexFindsNothing) {
    const TextIndex empty;
    EXPECT_EQ(empty.First("1200"), TextIndex::kNone);
    EXPECT_EQ(TextIndex(std::vector<std::string_view>{}).Count("", 5), 0u);
}

}  // namespace
}  // namespace qorvel
