#include "core/text_index.h"

#include <stdexcept>

namespace qorvel {

namespace {
std::uint64_t mix(std::uint64_t h) {
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9u;
    h ^= h >> 29;
    return h;
}
}  // namespace

std::uint64_t TextIndex::Hash(std::string_view text) {
    // Eight bytes at a time, read in a fixed byte order; chainages and names are short.
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t left = text.size();
    std::uint64_t h = 0x9E3779B97F4A7C15u * (left + 1);
    while (left >= 8) {
        std::uint64_t word = 0;
        for (int k = 7; k >= 0; --k) word = word << 8 | bytes[k];
        h = mix(h ^ word) * 0x94D049BB133111EBu;
        bytes += 8;
        left -= 8;
    }
    std::uint64_t word = 0;
    for (std::size_t k = left; k-- > 0;) word = word << 8 | bytes[k];
    return mix(mix(h ^ word) * 0x94D049BB133111EBu);
}

TextIndex::TextIndex(std::vector<std::string_view> keys) : keys_(std::move(keys)) {
    const std::size_t count = keys_.size();
    if (count >= std::size_t{kNone}) throw std::length_error("too many records for one index");
    // At most half the slots taken: short probe runs.
    std::size_t slots = 16;
    while (slots < 2 * count) slots *= 2;
    slots_.assign(slots, kNone);
    mask_ = slots - 1;
    next_.assign(count, kNone);
    // From the last record back, each one put in front of those with its text: the lists end
    // up in file order.
    for (std::size_t k = count; k-- > 0;) {
        const std::string_view key = keys_[k];
        std::size_t slot = static_cast<std::size_t>(Hash(key)) & mask_;
        while (slots_[slot] != kNone && keys_[slots_[slot]] != key) slot = (slot + 1) & mask_;
        next_[k] = slots_[slot];
        slots_[slot] = static_cast<Id>(k);
    }
}

TextIndex::Id TextIndex::First(std::string_view key) const {
    if (slots_.empty()) return kNone;
    std::size_t slot = static_cast<std::size_t>(Hash(key)) & mask_;
    for (;;) {
        const Id id = slots_[slot];
        if (id == kNone || keys_[id] == key) return id;
        slot = (slot + 1) & mask_;
    }
}

std::size_t TextIndex::Count(std::string_view key, std::size_t limit) const {
    std::size_t count = 0;
    for (Id id = First(key); id != kNone && count < limit; id = next_[id]) ++count;
    return count;
}

}  // namespace qorvel
