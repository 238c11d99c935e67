#include "drawing/attached_drawing.h"

#include <gtest/gtest.h>

#include "core/step_error.h"
#include "support/test_files.h"

namespace qorvel {
namespace {

using testing::TempDir;

std::string OneText(const std::string& layer, const std::string& text) {
    return "0\nSECTION\n2\nENTITIES\n0\nTEXT\n8\n" + layer + "\n10\n1\n20\n2\n1\n" + text + "\n0\nENDSEC\n0\nEOF\n";
}

TEST(AttachedDrawing, KnowsWhenTheFileWasSavedAgain) {
    TempDir dir;
    const std::string path = dir.Write("route.dxf", OneText("zh", "K1+200"));
    const auto attached = AttachedDrawing::Load(path);
    EXPECT_EQ(attached->path(), path);
    EXPECT_EQ(attached->drawing().entities.at(0).text, "K1+200");
    EXPECT_EQ(attached->LayerNames(), std::vector<std::string>{"zh"});
    EXPECT_FALSE(attached->ChangedOnDisk());

    dir.Write("route.dxf", OneText("zh", "K1+220 changed"));
    EXPECT_TRUE(attached->ChangedOnDisk());
    EXPECT_EQ(AttachedDrawing::Load(path)->drawing().entities.at(0).text, "K1+220 changed");

    std::remove(path.c_str());
    EXPECT_TRUE(attached->ChangedOnDisk());
    EXPECT_THROW(AttachedDrawing::Load(path), StepError);
}

}  // namespace
}  // namespace qorvel
