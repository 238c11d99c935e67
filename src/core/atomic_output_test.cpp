#include "core/atomic_output.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "core/step_error.h"
#include "support/test_files.h"

namespace qorvel {
namespace {

using testing::FileExists;
using testing::ReadFile;
using testing::TempDir;

TEST(AtomicOutput, BadTargetsAreReported) {
    TempDir dir;
    EXPECT_THROW(AtomicOutput(dir.File("no-such-folder/out.dat")), StepError);
    EXPECT_THROW(AtomicOutput(dir.path()), StepError);
    try {
        WriteFileAtomically(dir.File("no-such-folder/out.dat"), "x");
        FAIL() << "no error";
    } catch (const StepError& error) {
        EXPECT_EQ(error.reason(), "保存位置的文件夹不存在");
    }
    EXPECT_FALSE(FileExists(dir.File("no-such-folder")));
    EXPECT_EQ(OutputRefusal(dir.File("no-such-folder/out.dat")), "保存位置的文件夹不存在");
    EXPECT_EQ(OutputRefusal(dir.path() + "/"), "没有给出文件名");

    // A surveyor's read-only result is kept, and the refusal says why.
    const std::string kept = dir.Write("kept.dat", "kept");
    std::filesystem::permissions(kept, std::filesystem::perms::owner_read);
    EXPECT_EQ(OutputRefusal(kept), "该文件为只读文件，不能覆盖");
    EXPECT_THROW(WriteFileAtomically(kept, "x"), StepError);
    EXPECT_EQ(ReadFile(kept), "kept");
    EXPECT_EQ(OutputRefusal(dir.File("new.dat")), "");
    EXPECT_FALSE(FileExists(dir.File("new.dat")));  // examined, not made
}

}  // namespace
}  // namespace qorvel
