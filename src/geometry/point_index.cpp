#include "geometry/point_index.h"

#include <array>
#include <utility>

namespace qorvel {

namespace {
template <class Entry>
PlaneBox boundsOf(const Entry* first, const Entry* last) {
    PlaneBox box{first->position.east, first->position.north, first->position.east, first->position.north};
    for (const Entry* entry = first + 1; entry < last; ++entry) {
        box.minEast = std::min(box.minEast, entry->position.east);
        box.maxEast = std::max(box.maxEast, entry->position.east);
        box.minNorth = std::min(box.minNorth, entry->position.north);
        box.maxNorth = std::max(box.maxNorth, entry->position.north);
    }
    return box;
}

PlaneBox unite(const PlaneBox& a, const PlaneBox& b) {
    return {std::min(a.minEast, b.minEast), std::min(a.minNorth, b.minNorth), std::max(a.maxEast, b.maxEast),
            std::max(a.maxNorth, b.maxNorth)};
}
}  // namespace

void PointIndex::build() {
    if (entries_.empty()) return;
    const PlaneBox all = boundsOf(entries_.data(), entries_.data() + entries_.size());
    magnitude_ = std::max({std::fabs(all.minEast), std::fabs(all.maxEast), std::fabs(all.minNorth),
                           std::fabs(all.maxNorth)});
    sortAlongZCurve(all);
    nodes_.reserve(4 * (entries_.size() / kLeafSize) + 1);
    buildNode(0, static_cast<std::uint32_t>(entries_.size()));
}

namespace {
// The cell of `value` among 2^16 across [low, high].
std::uint32_t cellOf(double value, double low, double high) {
    const double span = 0.5 * high - 0.5 * low;  // halves: no overflow on any finite box
    if (!(span > 0)) return 0;
    const double scaled = (0.5 * value - 0.5 * low) / span * 65535.0;
    if (!(scaled > 0)) return 0;
    if (scaled >= 65535.0) return 0xFFFFu;
    return static_cast<std::uint32_t>(scaled);
}

// The 16 bits of `value` spread to the even bit positions of a 32-bit word.
std::uint32_t spreadBits(std::uint32_t value) {
    std::uint32_t bits = value & 0xFFFFu;
    bits = (bits | bits << 8) & 0x00FF00FFu;
    bits = (bits | bits << 4) & 0x0F0F0F0Fu;
    bits = (bits | bits << 2) & 0x33333333u;
    bits = (bits | bits << 1) & 0x55555555u;
    return bits;
}
}  // namespace

void PointIndex::sortAlongZCurve(const PlaneBox& all) {
    // Points ordered along a Z-order curve over their box (65536 cells a side): every run of
    // the array is then a compact piece of the plane, whatever order the file listed them in,
    // and a tree over the array's halves gets tight boxes. A stable radix sort keeps it linear
    // (and the points of one cell in file order).
    struct Keyed {
        std::uint32_t key;
        std::uint32_t at;
    };
    const std::size_t count = entries_.size();
    std::vector<Keyed> keyed(count);
    for (std::size_t k = 0; k < count; ++k) {
        const PlanePoint& p = entries_[k].position;
        keyed[k] = {spreadBits(cellOf(p.east, all.minEast, all.maxEast)) |
                        spreadBits(cellOf(p.north, all.minNorth, all.maxNorth)) << 1,
                    static_cast<std::uint32_t>(k)};
    }
    {
        constexpr int kDigits = 4;
        constexpr int kDigitBits = 8;
        constexpr std::uint32_t kDigitMask = (1u << kDigitBits) - 1;
        std::array<std::array<std::uint32_t, kDigitMask + 1>, kDigits> starts{};
        for (const Keyed& item : keyed)
            for (int digit = 0; digit < kDigits; ++digit) ++starts[digit][(item.key >> (digit * kDigitBits)) & kDigitMask];
        std::vector<Keyed> sorted(count);
        for (int digit = 0; digit < kDigits; ++digit) {
            const int shift = digit * kDigitBits;
            if (starts[digit][(keyed[0].key >> shift) & kDigitMask] == count) continue;  // one digit for all
            std::uint32_t start = 0;
            for (std::uint32_t& bucket : starts[digit]) start += std::exchange(bucket, start);
            for (const Keyed& item : keyed) sorted[starts[digit][(item.key >> shift) & kDigitMask]++] = item;
            keyed.swap(sorted);
        }
    }
    // Put the entries in that order in place, one cycle of the permutation at a time.
    for (std::size_t k = 0; k < count; ++k) {
        if (keyed[k].at == k) continue;
        const Entry first = entries_[k];
        std::size_t to = k;
        for (std::size_t from = keyed[to].at; from != k; from = keyed[to].at) {
            entries_[to] = entries_[from];
            keyed[to].at = static_cast<std::uint32_t>(to);
            to = from;
        }
        entries_[to] = first;
        keyed[to].at = static_cast<std::uint32_t>(to);
    }
}

std::uint32_t PointIndex::buildNode(std::uint32_t begin, std::uint32_t end) {
    const auto index = static_cast<std::uint32_t>(nodes_.size());
    nodes_.push_back(Node{{}, begin, end, 0});
    if (end - begin <= kLeafSize) {
        nodes_[index].bounds = boundsOf(entries_.data() + begin, entries_.data() + end);
        return index;
    }
    const std::uint32_t middle = begin + (end - begin) / 2;
    const std::uint32_t firstChild = buildNode(begin, middle);
    const std::uint32_t secondChild = buildNode(middle, end);
    nodes_[index].second = secondChild;
    nodes_[index].bounds = unite(nodes_[firstChild].bounds, nodes_[secondChild].bounds);
    return index;
}

}  // namespace qorvel
