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
    std::size_t slots = 16;
    while (slots < 2 * count) slots *= 2;
    slots_.assign(slots, Slot{});
    mask_ = slots - 1;
    next_.assign(count, kNone);
    // From the last record back, each one put in front of those with its text: the lists end
    // up in file order. The slots of the records ahead are fetched early.
    std::uint64_t hashes[kAhead];
    for (std::size_t k = 0; k < count && k < kAhead; ++k) {
        hashes[k] = Hash(keys_[count - 1 - k]);
        prefetch(hashes[k]);
    }
    for (std::size_t done = 0; done < count; ++done) {
        const std::size_t k = count - 1 - done;
        const std::uint64_t hash = hashes[done % kAhead];
        if (done + kAhead < count) {
            hashes[done % kAhead] = Hash(keys_[k - kAhead]);
            prefetch(hashes[done % kAhead]);
        }
        const std::string_view key = keys_[k];
        const std::uint32_t tag = tagOf(hash);
        std::size_t slot = slotOf(hash);
        while (slots_[slot].first != kNone && !(slots_[slot].tag == tag && keys_[slots_[slot].first] == key))
            slot = (slot + 1) & mask_;
        next_[k] = slots_[slot].first;
        slots_[slot] = {static_cast<Id>(k), tag};
    }
    head_.assign(count, 0);
    for (const Slot& slot : slots_)
        if (slot.first != kNone) head_[slot.first] = 1;
}

TextIndex::Id TextIndex::find(std::string_view key, std::uint64_t hash) const {
    if (slots_.empty()) return kNone;
    const std::uint32_t tag = tagOf(hash);
    for (std::size_t slot = slotOf(hash);; slot = (slot + 1) & mask_) {
        const Slot& at = slots_[slot];
        if (at.first == kNone || (at.tag == tag && keys_[at.first] == key)) return at.first;
    }
}

std::size_t TextIndex::Count(std::string_view key, std::size_t limit) const {
    std::size_t count = 0;
    for (Id id = First(key); id != kNone && count < limit; id = next_[id]) ++count;
    return count;
}

}  // namespace qorvel
