#include "assemble/point_index.h"

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

void PointIndex::build(std::vector<Entry>& entries) {
    if (entries.empty()) return;
    const PlaneBox all = boundsOf(entries.data(), entries.data() + entries.size());
    magnitude_ = std::max({std::fabs(all.minEast), std::fabs(all.maxEast), std::fabs(all.minNorth),
                           std::fabs(all.maxNorth)});
    nodes_.reserve(4 * (entries.size() / kLeafSize) + 1);
    buildNode(entries, 0, static_cast<std::uint32_t>(entries.size()), all);
    positions_.resize(entries.size());
    ids_.resize(entries.size());
    for (std::size_t k = 0; k < entries.size(); ++k) {
        positions_[k] = entries[k].position;
        ids_[k] = entries[k].id;
    }
}

std::uint32_t PointIndex::buildNode(std::vector<Entry>& entries, std::uint32_t begin, std::uint32_t end,
                                    PlaneBox loose) {
    const auto index = static_cast<std::uint32_t>(nodes_.size());
    nodes_.push_back(Node{{}, begin, end, 0});
    if (end - begin <= kLeafSize) {
        nodes_[index].bounds = boundsOf(entries.data() + begin, entries.data() + end);
        return index;
    }
    // Split at the median of the longer side of the box the parent's split left this node.
    const bool alongEast = 0.5 * loose.maxEast - 0.5 * loose.minEast >= 0.5 * loose.maxNorth - 0.5 * loose.minNorth;
    const std::uint32_t middle = begin + (end - begin) / 2;
    const auto first = entries.begin() + begin;
    if (alongEast)
        std::nth_element(first, entries.begin() + middle, entries.begin() + end,
                         [](const Entry& a, const Entry& b) { return a.position.east < b.position.east; });
    else
        std::nth_element(first, entries.begin() + middle, entries.begin() + end,
                         [](const Entry& a, const Entry& b) { return a.position.north < b.position.north; });
    PlaneBox lower = loose;
    PlaneBox upper = loose;
    if (alongEast) lower.maxEast = upper.minEast = entries[middle].position.east;
    else lower.maxNorth = upper.minNorth = entries[middle].position.north;

    const std::uint32_t firstChild = buildNode(entries, begin, middle, lower);
    const std::uint32_t secondChild = buildNode(entries, middle, end, upper);
    nodes_[index].second = secondChild;
    nodes_[index].bounds = unite(nodes_[firstChild].bounds, nodes_[secondChild].bounds);
    return index;
}

}  // namespace qorvel
