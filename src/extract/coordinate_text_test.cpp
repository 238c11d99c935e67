#include "extract/coordinate_text.h"

#include <gtest/gtest.h>

namespace qorvel {
namespace {

TEST(CoordinateText, PolylineVerticesInGeneralFormAfterHalvesToEven) {
    EXPECT_EQ(VertexCoordinateText(100), "100");
    EXPECT_EQ(VertexCoordinateText(250.5), "250.5");
    EXPECT_EQ(VertexCoordinateText(0.125), "0.125");
    EXPECT_EQ(VertexCoordinateText(-47.125), "-47.125");
    EXPECT_EQ(VertexCoordinateText(100.0004), "100");
    EXPECT_EQ(VertexCoordinateText(99.9996), "100");
    EXPECT_EQ(VertexCoordinateText(0.0125), "0.012");   // halfway: to the even digit
    EXPECT_EQ(VertexCoordinateText(0.0135), "0.014");
    EXPECT_EQ(VertexCoordinateText(-0.0004), "0");      // no minus zero
    EXPECT_EQ(VertexCoordinateText(438250.00001), "438250");
}

TEST(CoordinateText, LabelsWithThreeDecimals) {
    EXPECT_EQ(LabelCoordinateText(100), "100.000");
    EXPECT_EQ(LabelCoordinateText(0.5), "0.500");
    EXPECT_EQ(LabelCoordinateText(-12.34), "-12.340");
    EXPECT_EQ(LabelCoordinateText(-0.5), "-0.500");
    EXPECT_EQ(LabelCoordinateText(120.0005), "120.000");  // halfway: to the even digit
    EXPECT_EQ(LabelCoordinateText(1000.0015), "1000.002");
    EXPECT_EQ(LabelCoordinateText(2.0025), "2.002");     // the double lies below, its 15 digits do not
    EXPECT_EQ(LabelCoordinateText(-0.0004), "0.000");
}

TEST(CoordinateText, SectionLineEndsInTwoStages) {
    EXPECT_EQ(SectionLineCoordinateText(1000), "1000");
    EXPECT_EQ(SectionLineCoordinateText(0.5), "0.5");
    EXPECT_EQ(SectionLineCoordinateText(150.5), "150.5");
    EXPECT_EQ(SectionLineCoordinateText(-3.125), "-3.125");
    EXPECT_EQ(SectionLineCoordinateText(12.34449), "12.345");  // 12.3445, then 12.345
    EXPECT_EQ(SectionLineCoordinateText(12.3444), "12.344");
    EXPECT_EQ(SectionLineCoordinateText(12.34445), "12.344");  // 12.3444 (halfway to even), then 12.344
    EXPECT_EQ(SectionLineCoordinateText(-0.00049), "-0.001");  // -0.0005, then away from zero
    EXPECT_EQ(SectionLineCoordinateText(-0.0004), "0");
}

}  // namespace
}  // namespace qorvel
