#pragma once
// Writing numbers. Every rounding is decided on the value's decimal text at 15 significant
// digits: 0.015 is "0.015" there, so "0.00" gives 0.02 although the double lies a little below
// 0.015.
//
// Why results are kept to the byte. The files QORVEL writes are read by road-design programs
// that import them as they are, and surveyors compare a new result with the one they had, line
// by line; a station that moves by one digit, a side that changes order, a point that appears
// or vanishes, is a different ground section to both. So every number is written, every
// rounding decided, every side sorted and every distance measured the same way, to the last
// bit, whichever path (indexed or all-pairs, one thread or two) computes it. Comments elsewhere
// that say a value is computed "as the result files are written" refer to this.

#include <string>
#include <string_view>

#include "core/step_error.h"

namespace qorvel {

// What every writer below raises for a value that is not finite. The steps' computations that
// can overflow fail before it, naming the value that made them overflow (core/number_too_large.h);
// this is the guard behind them: a StepError that names no file, which a writer that knows whose
// number it is (the section, its line) catches to name it.
class NumberNotFinite : public StepError {
public:
    NumberNotFinite();
};

enum class Rounding { HalfToEven, HalfAwayFromZero };

// A decimal number held as its digits: value = (negative ? -1 : 1) * digits / 10^decimals.
class DecimalText {
public:
    // The 15-significant-digit decimal text of a finite double (NumberNotFinite for any other).
    static DecimalText FromDouble(double value);
    // The same for a double at `significant` significant digits (1..17), correctly rounded.
    static DecimalText FromDouble(double value, int significant);

    // Rounds to `decimals` places after the point (nothing happens when there are fewer).
    DecimalText& RoundToDecimals(int decimals, Rounding mode);
    // Rounds to `significant` significant digits.
    DecimalText& RoundToSignificant(int significant, Rounding mode);

    bool IsZero() const;
    // Exactly `decimals` places, e.g. "0.000" -> 12.300; rounds half away from zero first if
    // more places are held. A value that is zero once written carries no minus sign.
    std::string Fixed(int decimals) const;
    // General number form: no exponent, no trailing zeros, no point for whole values,
    // "0.5" with its leading zero, minus zero written 0.
    std::string General() const;
    // As General(), but without the zero before the point: 0.5 gives ".5", -0.4 gives "-.4".
    std::string GeneralWithoutLeadingZero() const;
    double ToDouble() const;

private:
    bool negative_ = false;
    std::string digits_ = "0";  // no leading zeros unless the integer part is zero
    int decimals_ = 0;          // how many of the digits stand after the point
    std::string integerPart() const;
    std::string fractionPart() const;  // exactly decimals_ digits
    void normalise();
};

// Shorthands for the forms the files use.
std::string FormatGeneral(double value);                 // 1200, 1234.56, 0.00001
std::string FormatFixed(double value, int decimals);     // "0.000": half away from zero
double RoundToSignificantDigits(double value, int significant);  // 15 for chainages, 7 for singles

// The same texts and values as the DecimalText expressions named, for the millions of numbers
// a large survey writes. Numbers of a survey's size whose text lies clearly away from a half
// at the rounded place are decided by one multiplication (the rounding of the 15-digit text
// and of the product are far too small to move them across it); the others, and every value
// that is not finite, go through DecimalText itself.
//
// Appends DecimalText::FromDouble(value).Fixed(decimals) (FormatFixed).
void AppendFixed(std::string& out, double value, int decimals);
// Appends DecimalText::FromDouble(value).RoundToDecimals(first, firstMode).Fixed(decimals),
// for first > decimals: the two roundings of the section layouts.
void AppendRoundedFixed(std::string& out, double value, int first, Rounding firstMode, int decimals);
// DecimalText::FromDouble(value).RoundToSignificant(significant, mode).ToDouble(), for
// significant from 1 to 15.
double RoundTextToSignificant(double value, int significant, Rounding mode);

}  // namespace qorvel
