#pragma once
// Records looked up by the exact bytes of one of their fields: a chainage among the centre
// stakes, a point name among a million detail points. Every record with a given text is found,
// in file order, without comparing the text with every record.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace qorvel {

class TextIndex {
public:
    using Id = std::uint32_t;  // the record's position in the caller's list
    static constexpr Id kNone = UINT32_MAX;

    TextIndex() = default;
    // `keys[k]` is the text of record k. The texts must outlive the index.
    explicit TextIndex(std::vector<std::string_view> keys);

    std::size_t size() const { return keys_.size(); }

    // The first record whose text is `key`, kNone when there is none.
    Id First(std::string_view key) const;
    // The record after `id` with the same text, kNone after the last.
    Id Next(Id id) const { return next_[id]; }
    // How many records have the text `key`, counting no further than `limit`.
    std::size_t Count(std::string_view key, std::size_t limit) const;

    // Calls visit(id) for every record whose text is `key`, in file order.
    template <class Visit>
    void ForEach(std::string_view key, Visit&& visit) const {
        for (Id id = First(key); id != kNone; id = next_[id]) visit(id);
    }

    // The hash the index files its texts under (the same on every platform).
    static std::uint64_t Hash(std::string_view text);

private:
    std::vector<std::string_view> keys_;
    std::vector<Id> next_;   // the next record with the same text
    std::vector<Id> slots_;  // open addressing: the first record of each distinct text
    std::size_t mask_ = 0;
};

}  // namespace qorvel
