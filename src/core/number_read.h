#pragma once
// Reading numbers out of data-file fields and dialog boxes. Two readings exist because the
// survey files are hand-edited: most fields are read leniently (the leading number, blanks
// ignored), a few that must be numbers are converted strictly.

#include <optional>
#include <string_view>

namespace qorvel {

// Lenient reading: spaces and tabs are dropped wherever they stand, then the leading
// [+-]digits[.digits][(E|e)[+-]digits] is read; ".5" reads 0.5; no digits give 0.
// Returns nothing only when the number is beyond the range of a double.
std::optional<double> ReadLenient(std::string_view text);
// The same, telling whether `text` is a plain number (IsPlainNumber), at little extra cost.
std::optional<double> ReadLenient(std::string_view text, bool& plain);

// Strict conversion: optional spaces, an optional sign, digits with an optional point (or a
// point and digits), an optional exponent, optional spaces, and a finite value; nothing else.
std::optional<double> ReadStrict(std::string_view text);

// Whether `text` has the form the strict conversion accepts (its value may still lie beyond
// the range of a double): a plain number, which reads the same leniently and strictly.
bool IsPlainNumber(std::string_view text);

// The decimal number at the start of `text` (digits with an optional point, or a point and
// digits, then an optional exponent), without sign or blanks. Returns its length, 0 if none.
std::size_t MatchUnsignedDecimal(std::string_view text);

// Converts an already matched, unsigned decimal text; nothing when it overflows a double.
// Underflow gives zero.
std::optional<double> ConvertUnsignedDecimal(std::string_view digits);

}  // namespace qorvel
