#include "geometry/geometry.h"

#include <cmath>
#include <utility>

namespace qorvel {

namespace {
// Radians per degree, pi taken to 14 decimals: the azimuths decide the sides of a section, and
// the result files are kept to the byte (core/decimal_text.h).
constexpr double kRadiansPerDegree = 0.017453292519943278;
}  // namespace

AzimuthDistanceResult AzimuthDistance(PlanePoint from, PlanePoint to, double& carriedAzimuth) {
    const double dNorth = to.north - from.north;
    const double dEast = to.east - from.east;
    double azimuth = carriedAzimuth;
    if (dNorth != 0 && dEast != 0) {
        const double raw = std::atan(dEast / dNorth) / kRadiansPerDegree;
        if (dNorth > 0 && dEast > 0) azimuth = raw;
        else if (dNorth < 0 && dEast > 0) azimuth = 180 - std::fabs(raw);
        else if (dNorth < 0 && dEast < 0) azimuth = 180 + std::fabs(raw);
        else azimuth = 360 - std::fabs(raw);
    } else if (dEast == 0) {
        if (dNorth > 0) azimuth = 0;
        else if (dNorth < 0) azimuth = 180;
    } else {
        azimuth = dEast > 0 ? 90 : 270;
    }
    carriedAzimuth = azimuth;
    return {azimuth, PlaneDistance(from, to)};
}

PlanePoint FootOfPerpendicular(PlanePoint p, PlanePoint a, PlanePoint b) {
    if (a.east != b.east && a.north != b.north) {
        // The projection of AP onto AB: its rounding errors stay within a few units of the
        // coordinates whatever the line's direction. (Through the slope of the line, a line a
        // hair off an axis divided the errors by that slope and lost the foot by decimetres.)
        const double dEast = b.east - a.east;
        const double dNorth = b.north - a.north;
        const double t = ((p.east - a.east) * dEast + (p.north - a.north) * dNorth) / (dEast * dEast + dNorth * dNorth);
        return {a.east + t * dEast, a.north + t * dNorth};
    }
    if (a.north != b.north) return {a.east, p.north};  // north-south line
    return {p.east, a.north};                           // east-west line, or coincident ends
}

double DistanceToLine(PlanePoint p, PlanePoint a, PlanePoint b, double& carriedAzimuth) {
    return AzimuthDistance(p, FootOfPerpendicular(p, a, b), carriedAzimuth).distance;
}

}  // namespace qorvel
