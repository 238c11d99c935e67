#pragma once
// How the drawing steps write a coordinate taken from the drawing. Every rounding is decided on
// the coordinate's decimal text at 15 significant digits.

#include <string>

namespace qorvel {

// Polyline vertices: rounded to 3 decimals, a value exactly halfway going to the even digit,
// then in general number form (100, 250.5, -47.125).
std::string VertexCoordinateText(double value);
// Label insertion points: rounded to 3 decimals halfway to even, written "0.000" (100.000).
std::string LabelCoordinateText(double value);
// Section line ends: rounded to 4 decimals halfway to even, that value brought to 3 decimals
// with a final 5 rounded away from zero, then in general number form (12.34449 gives 12.345).
std::string SectionLineCoordinateText(double value);

}  // namespace qorvel
