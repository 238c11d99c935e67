#pragma once
// The route as its centre stakes lay it out, and which side of a section is left.
//
// A section line is drawn from one end to the other in whatever direction the draughtsman
// happened to click, and step 10 puts on its first side the points towards the first end. Facing
// the direction of increasing chainage, the route itself says which end lies to the left: that
// is what makes the sides of every section agree, however each line was drawn. The route is
// taken from the centre-stake file alone, so that nothing else has to be surveyed or drawn.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/data_file.h"
#include "core/number_too_large.h"
#include "geometry/geometry.h"

namespace qorvel {

// A point of the route: a centre stake whose chainage, easting and northing are numbers.
struct RouteStation {
    double chainage = 0;     // field 0, read strictly
    PlanePoint position;     // fields 2 and 3, read strictly
    std::string_view text;   // field 0 as in the file
    std::size_t line = 0;    // its physical line in the centre-stake file
    std::string_view eastText;   // fields 2 and 3 as in the file
    std::string_view northText;
};

// Which way the route runs at a station: towards increasing chainage, not of unit length.
struct RouteDirection {
    double east = 0;
    double north = 0;
    // The stations it runs between, for naming the one whose coordinates made a computation
    // with the direction overflow.
    const RouteStation* from = nullptr;
    const RouteStation* to = nullptr;
};

class Route {
public:
    Route() = default;
    // The rows whose field 0 (chainage), field 2 (easting) and field 3 (northing) all read as
    // numbers by the strict conversion (their texts look into `stakes`, which must outlive the
    // route); other rows (a label that was not read, a row short of
    // fields) are no station and no failure. Chainages are compared as numbers ("1200" and
    // "1200.0" are one station), and the first such row in file order stands for its value.
    static Route FromCentreStakes(const DataFile& stakes);

    // In ascending order of chainage.
    std::span<const RouteStation> stations() const { return stations_; }

    // The direction at `chainage`: from the station before it to the station after it; at the
    // first station from it to the next, at the last from the one before to it. Nothing for a
    // route of fewer than two stations, or for a value below the first or beyond the last
    // station that is no station itself.
    std::optional<RouteDirection> DirectionAt(double chainage) const;
    // The same at the value of a chainage text, read strictly; nothing when it is no number.
    std::optional<RouteDirection> DirectionAt(std::string_view chainage) const;

    // The centre-stake file's name, as messages give it.
    std::string_view file() const { return file_; }
    // A station's easting and northing as numbers of the centre-stake file, and its chainage.
    std::array<SourcedNumber, 2> Coordinates(const RouteStation& station) const;
    SourcedNumber Chainage(const RouteStation& station) const;

private:
    std::vector<RouteStation> stations_;
    std::string_view file_;
};

// Whether the sides of a section as drawn (its first end's side first) already have the
// route's left side first.
enum class SideDecision {
    Kept,       // the line runs from the left of the route to its right: the first end is left
    Swapped,    // it runs from right to left: the second end's side is the left side
    Undecided,  // across no direction, along the route, or of no length: left as drawn
};

// k = t.east·(E.north − F.north) − t.north·(E.east − F.east), in double precision in this
// order, for a line from its first end F to its second end E: k < 0 keeps the sides, k > 0
// swaps them, k = 0 decides nothing. A k that is not finite (coordinates far beyond any survey's)
// decides nothing either; a step that must not decide by accident asks SideTurn first.
SideDecision DecideSides(RouteDirection along, PlanePoint firstEnd, PlanePoint secondEnd);
double SideTurn(RouteDirection along, PlanePoint firstEnd, PlanePoint secondEnd);  // k
// The same for a section whose stake has the chainage text `chainage`: undecided when the text
// is no number or the route has no direction there.
SideDecision DecideSides(const Route& route, std::string_view chainage, PlanePoint firstEnd, PlanePoint secondEnd);

}  // namespace qorvel
