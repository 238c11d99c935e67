#include "core/atomic_output.h"

#include <gtest/gtest.h>

#include "core/step_error.h"
#include "support/test_files.h"

namespace qorvel {
namespace {

using testing::FileExists;
using testing::ListFolder;
using testing::ReadFile;
using testing::TempDir;

TEST(AtomicOutput, ReplacesTheTargetOnlyOnCommit) {
    TempDir dir;
    const std::string target = dir.Write("out.dat", "old");
    {
        AtomicOutput output(target);
        output.Write("new");
        EXPECT_EQ(ReadFile(target), "old");  // nothing visible before the commit
        output.Commit();
    }
    EXPECT_EQ(ReadFile(target), "new");
    {
        AtomicOutput output(target);
        output.Write("abandoned");
    }  // a step that fails never commits
    EXPECT_EQ(ReadFile(target), "new");
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"out.dat"});  // no temporary left
}

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
}

}  // namespace
}  // namespace qorvel
