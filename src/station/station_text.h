#pragma once
// Stations in their two forms: station text as labelled on the drawing and printed in results
// (K12+345.6: a prefix letter, kilometres, "+", metres) and the chainage carried in the data
// files (12345.6, metres from the route start).

#include <optional>
#include <string>
#include <string_view>

namespace qorvel {

// Station text to chainage; nothing when the text cannot be read. The first character (the
// prefix letter, or one GBK character) is skipped whatever it is; kilometres run up to the
// first "+", metres follow it. Each part may carry spaces and one sign before or after the
// number, so "K 1 + 5 " gives 1005 and "K1+ - 5" gives 995. The result is held at 15
// significant digits.
std::optional<double> ChainageFromStationText(std::string_view stationText);

// Chainage to station text: K, whole kilometres (toward zero), "+", the metres rounded to
// 3 decimals with filler zeros (12005.5 gives K12+05.5, 12000 gives K12+000). Metres that
// round to a whole kilometre carry into it (12999.9996 gives K13+000).
std::string FormatStationText(double chainage);
// The chainage as text from a data file; nothing when it is not a number.
std::optional<std::string> FormatStationText(std::string_view chainageText);

}  // namespace qorvel
