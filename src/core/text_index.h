#pragma once
// Records looked up by the exact bytes of one of their fields: a chainage among the centre
// stakes, a point name among a million detail points. Every record with a given text is found,
// in file order, without comparing the text with every record.

#include <cstddef>
#include <cstdint>
#include <span>
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
    Id First(std::string_view key) const { return find(key, Hash(key)); }
    // The record after `id` with the same text, kNone after the last.
    Id Next(Id id) const { return next_[id]; }
    // How many records have the text `key`, counting no further than `limit`.
    std::size_t Count(std::string_view key, std::size_t limit) const;

    // Calls visit(id) for every record whose text is `key`, in file order.
    template <class Visit>
    void ForEach(std::string_view key, Visit&& visit) const {
        for (Id id = First(key); id != kNone; id = next_[id]) visit(id);
    }
    // Calls visit(k, id) for every key k in order and every record whose text is keys[k], in
    // file order: what ForEach does key after key. Keys that follow the records' order (names
    // listed in the order of the point file, as the grouping by station lists them) are found
    // without the hash table: the record after the last one found (kept in `hint` from call to
    // call) is tried first.
    struct Hint {
        Id lastFound = kNone;
    };
    template <class Visit>
    void ForEachOfEach(std::span<const std::string_view> keys, Hint& hint, Visit&& visit) const;

    // The hash the index files its texts under (the same on every platform).
    static std::uint64_t Hash(std::string_view text);

private:
    struct Slot {
        Id first = kNone;        // the first record of one text
        std::uint32_t tag = 0;   // the text's hash, beyond the bits that choose the slot
    };
    static constexpr std::size_t kAhead = 8;  // slots fetched ahead while the index is built

    std::size_t slotOf(std::uint64_t hash) const { return static_cast<std::size_t>(hash) & mask_; }
    static std::uint32_t tagOf(std::uint64_t hash) { return static_cast<std::uint32_t>(hash >> 32); }
    void prefetch(std::uint64_t hash) const { __builtin_prefetch(&slots_[slotOf(hash)]); }
    Id find(std::string_view key, std::uint64_t hash) const;

    std::vector<std::string_view> keys_;
    std::vector<Id> next_;     // the next record with the same text
    std::vector<std::uint8_t> head_;  // whether a record is the first with its text
    std::vector<Slot> slots_;  // open addressing, at most half of them taken
    std::size_t mask_ = 0;
};

template <class Visit>
void TextIndex::ForEachOfEach(std::span<const std::string_view> keys, Hint& hint, Visit&& visit) const {
    for (std::size_t k = 0; k < keys.size(); ++k) {
        const std::string_view key = keys[k];
        Id id = hint.lastFound + 1;  // record 0 at first
        if (!(id < keys_.size() && head_[id] && keys_[id] == key)) id = First(key);
        for (; id != kNone; id = next_[id]) {
            visit(k, id);
            hint.lastFound = id;
        }
    }
}

}  // namespace qorvel
