#include "route/route.h"

#include <algorithm>

#include "core/fields.h"
#include "core/number_read.h"

namespace qorvel {

Route Route::FromCentreStakes(const DataFile& stakes) {
    Route route;
    route.file_ = stakes.name();
    Fields fields;
    for (const Record& record : stakes.records()) {
        fields.Split(record.text);
        if (fields.size() < 4) continue;
        const auto chainage = ReadStrict(fields[0]);
        const auto east = ReadStrict(fields[2]);
        const auto north = ReadStrict(fields[3]);
        if (chainage && east && north)
            route.stations_.push_back({*chainage, {*east, *north}, fields[0], record.line, fields[2], fields[3]});
    }
    // The first row of each value: sorted stably, the first of equal values is the earliest.
    // (Classic algorithms: the fuzzers' clang cannot compile the ranges ones of this standard
    // library.)
    std::stable_sort(route.stations_.begin(), route.stations_.end(),
                     [](const RouteStation& a, const RouteStation& b) { return a.chainage < b.chainage; });
    const auto repeated =
        std::unique(route.stations_.begin(), route.stations_.end(),
                    [](const RouteStation& a, const RouteStation& b) { return a.chainage == b.chainage; });
    route.stations_.erase(repeated, route.stations_.end());
    return route;
}

std::optional<RouteDirection> Route::DirectionAt(double chainage) const {
    if (stations_.size() < 2) return std::nullopt;
    const auto at = std::lower_bound(stations_.begin(), stations_.end(), chainage,
                                     [](const RouteStation& station, double value) { return station.chainage < value; });
    const bool isStation = at != stations_.end() && at->chainage == chainage;
    const RouteStation* before = at == stations_.begin() ? nullptr : &*(at - 1);
    const auto after = isStation ? at + 1 : at;
    const RouteStation* next = after == stations_.end() ? nullptr : &*after;
    const auto towards = [](const RouteStation& from, const RouteStation& to) {
        return RouteDirection{to.position.east - from.position.east, to.position.north - from.position.north, &from, &to};
    };
    if (before && next) return towards(*before, *next);
    if (!isStation) return std::nullopt;
    return next ? towards(*at, *next) : towards(*before, *at);
}

std::optional<RouteDirection> Route::DirectionAt(std::string_view chainage) const {
    const auto value = ReadStrict(chainage);
    if (!value) return std::nullopt;
    return DirectionAt(*value);
}

std::array<SourcedNumber, 2> Route::Coordinates(const RouteStation& station) const {
    return {SourcedNumber{file_, station.line, 2, station.position.east, station.eastText},
            SourcedNumber{file_, station.line, 3, station.position.north, station.northText}};
}

SourcedNumber Route::Chainage(const RouteStation& station) const {
    return {file_, station.line, 0, station.chainage, station.text};
}

double SideTurn(RouteDirection along, PlanePoint firstEnd, PlanePoint secondEnd) {
    return along.east * (secondEnd.north - firstEnd.north) - along.north * (secondEnd.east - firstEnd.east);
}

SideDecision DecideSides(RouteDirection along, PlanePoint firstEnd, PlanePoint secondEnd) {
    const double k = SideTurn(along, firstEnd, secondEnd);
    if (k < 0) return SideDecision::Kept;
    if (k > 0) return SideDecision::Swapped;
    return SideDecision::Undecided;
}

SideDecision DecideSides(const Route& route, std::string_view chainage, PlanePoint firstEnd, PlanePoint secondEnd) {
    const auto along = route.DirectionAt(chainage);
    return along ? DecideSides(*along, firstEnd, secondEnd) : SideDecision::Undecided;
}

}  // namespace qorvel
