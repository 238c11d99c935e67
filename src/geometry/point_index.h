#pragma once
// A tree of boxes over survey points, for finding the few points near a place (a box) or near a
// whole infinite line (a strip) among a million without looking at every one.
//
// The tree only proposes candidates: every point that truly lies in the box or strip is
// visited, and a few more may be. Callers decide membership with their own exact test.
// Points with a coordinate that is not finite are left out: no distance to them is ever below
// a tolerance.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <stdexcept>
#include <vector>

#include "geometry/geometry.h"

namespace qorvel {

// Edges included.
struct PlaneBox {
    double minEast = 0;
    double minNorth = 0;
    double maxEast = 0;
    double maxNorth = 0;
};

// The band of points within `halfWidth` of the infinite line through `origin` in `direction`
// (any length other than zero).
struct PlaneStrip {
    PlanePoint origin;
    PlanePoint direction;
    double halfWidth = 0;
};

class PointIndex {
public:
    // Position of a point in the caller's list (its record index in file order).
    using Id = std::uint32_t;

    PointIndex() = default;
    // Indexes `count` points; `position(id)` gives the plane position of point `id`.
    template <class PositionOf>
    PointIndex(std::size_t count, PositionOf position);

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    // The largest magnitude of any indexed coordinate (0 for an empty index).
    double magnitude() const { return magnitude_; }

    // visit(id, position) for every point; the order is the tree's, not the ids'.
    template <class Visit>
    void VisitAll(Visit&& visit) const;
    // visit(id, position) for every point inside `box` (and only those).
    template <class Visit>
    void VisitBox(const PlaneBox& box, Visit&& visit) const;
    // visit(id, position) for every point whose distance to the strip's line is at most its
    // half-width, and for a few more just outside (the strip is widened by what the rounding
    // of this test could hide). A strip that is not finite visits every point.
    template <class Visit>
    void VisitStrip(const PlaneStrip& strip, Visit&& visit) const;
    // visit(id, position) for every point inside `box` that VisitStrip would visit: the points
    // near a stretch of the line. A strip that is not finite visits the whole box.
    template <class Visit>
    void VisitStripInBox(const PlaneStrip& strip, const PlaneBox& box, Visit&& visit) const;

private:
    struct Entry {
        PlanePoint position;
        Id id;
    };
    struct Node {
        PlaneBox bounds;        // tight around the node's points
        std::uint32_t begin;    // the node's points: [begin, end) of the arrays below
        std::uint32_t end;
        std::uint32_t second;   // second child (the first follows the node); 0 for a leaf
    };
    static constexpr std::size_t kLeafSize = 32;
    static constexpr std::size_t kMaxDepth = 64;

    // The one walk of the tree: down every node that meets `box` and for which
    // nodeNear(bounds) holds, visitPoint(id, position) for every point of such a leaf inside
    // `box`.
    template <class NodeNear, class VisitPoint>
    void walk(const PlaneBox& box, NodeNear&& nodeNear, VisitPoint&& visitPoint) const;

    void build();
    void sortAlongZCurve(const PlaneBox& all);
    std::uint32_t buildNode(std::uint32_t begin, std::uint32_t end);

    // The points in tree order: those of every node are contiguous.
    std::vector<Entry> entries_;
    std::vector<Node> nodes_;
    double magnitude_ = 0;
};

template <class PositionOf>
PointIndex::PointIndex(std::size_t count, PositionOf position) {
    if (count > std::size_t{UINT32_MAX}) throw std::length_error("too many points for one index");
    entries_.reserve(count);
    for (std::size_t id = 0; id < count; ++id) {
        const PlanePoint p = position(id);
        if (std::isfinite(p.east) && std::isfinite(p.north)) entries_.push_back({p, static_cast<Id>(id)});
    }
    build();
}

template <class Visit>
void PointIndex::VisitAll(Visit&& visit) const {
    for (const Entry& entry : entries_) visit(entry.id, entry.position);
}

template <class NodeNear, class VisitPoint>
void PointIndex::walk(const PlaneBox& box, NodeNear&& nodeNear, VisitPoint&& visitPoint) const {
    if (nodes_.empty()) return;
    std::uint32_t stack[kMaxDepth];
    std::size_t depth = 0;
    stack[depth++] = 0;
    while (depth > 0) {
        const Node& node = nodes_[stack[--depth]];
        const PlaneBox& b = node.bounds;
        if (b.maxEast < box.minEast || b.minEast > box.maxEast || b.maxNorth < box.minNorth ||
            b.minNorth > box.maxNorth || !nodeNear(b))
            continue;
        if (node.second != 0) {
            stack[depth++] = node.second;
            stack[depth++] = static_cast<std::uint32_t>(&node - nodes_.data()) + 1;
            continue;
        }
        for (std::uint32_t k = node.begin; k < node.end; ++k) {
            const PlanePoint& p = entries_[k].position;
            if (p.east >= box.minEast && p.east <= box.maxEast && p.north >= box.minNorth && p.north <= box.maxNorth)
                visitPoint(entries_[k].id, p);
        }
    }
}

template <class Visit>
void PointIndex::VisitBox(const PlaneBox& box, Visit&& visit) const {
    walk(box, [](const PlaneBox&) { return true; }, visit);
}

template <class Visit>
void PointIndex::VisitStrip(const PlaneStrip& strip, Visit&& visit) const {
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    VisitStripInBox(strip, {-kInfinity, -kInfinity, kInfinity, kInfinity}, visit);
}

template <class Visit>
void PointIndex::VisitStripInBox(const PlaneStrip& strip, const PlaneBox& box, Visit&& visit) const {
    if (nodes_.empty()) return;
    const double length = std::hypot(strip.direction.east, strip.direction.north);
    const PlanePoint origin = strip.origin;
    const double reach = std::max({magnitude_, std::fabs(origin.east), std::fabs(origin.north)});
    if (!(length > 0) || !std::isfinite(length) || !std::isfinite(strip.halfWidth) || !std::isfinite(reach)) {
        VisitBox(box, visit);
        return;
    }
    // Unit normal of the line. The signed distance n.(p - origin) is off from the true one by a
    // few units in the last place of the coordinates (the normal's own rounding times the
    // distance from the origin, the products and the sum); widen the strip by far more.
    const double normalEast = -strip.direction.north / length;
    const double normalNorth = strip.direction.east / length;
    const double halfWidth = strip.halfWidth + 1e-14 * reach + 1e-300;
    const auto offset = [&](double east, double north) {
        return normalEast * (east - origin.east) + normalNorth * (north - origin.north);
    };

    const auto nearLine = [&](const PlaneBox& b) {
        const double centre = offset(0.5 * b.minEast + 0.5 * b.maxEast, 0.5 * b.minNorth + 0.5 * b.maxNorth);
        const double spread = std::fabs(normalEast) * (0.5 * b.maxEast - 0.5 * b.minEast) +
                              std::fabs(normalNorth) * (0.5 * b.maxNorth - 0.5 * b.minNorth);
        return !(std::fabs(centre) > halfWidth + spread);  // a node whose test cannot be decided is walked
    };
    walk(box, nearLine, [&](Id id, const PlanePoint& p) {
        if (std::fabs(offset(p.east, p.north)) <= halfWidth) visit(id, p);
    });
}

}  // namespace qorvel
