#include "extract/coordinate_text.h"

#include "core/decimal_text.h"

namespace qorvel {

std::string VertexCoordinateText(double value) {
    return DecimalText::FromDouble(value).RoundToDecimals(3, Rounding::HalfToEven).General();
}

std::string LabelCoordinateText(double value) {
    return DecimalText::FromDouble(value).RoundToDecimals(3, Rounding::HalfToEven).Fixed(3);
}

std::string SectionLineCoordinateText(double value) {
    return DecimalText::FromDouble(value)
        .RoundToDecimals(4, Rounding::HalfToEven)
        .RoundToDecimals(3, Rounding::HalfAwayFromZero)
        .General();
}

}  // namespace qorvel
