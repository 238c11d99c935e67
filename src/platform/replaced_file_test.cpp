#include "platform/replaced_file.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "support/test_files.h"

namespace qorvel::platform {
namespace {

namespace fs = std::filesystem;
using testing::FileExists;
using testing::ListFolder;
using testing::ReadFile;
using testing::TempDir;

FileProblem ProblemOf(const std::string& target) {
    try {
        ExamineOutput(PathFromUtf8(target));
    } catch (const FileError& error) {
        return error.problem();
    }
    return FileProblem::Other;
}

TEST(ReplacedFile, ReplacesTheTargetOnlyOnCommit) {
    TempDir dir;
    const std::string target = dir.Write("out.dat", "old");
    {
        ReplacedFile output(PathFromUtf8(target));
        output.Write("new");
        output.Finish();
        EXPECT_EQ(ReadFile(target), "old");  // nothing visible before the commit
        output.Commit();
    }
    EXPECT_EQ(ReadFile(target), "new");
    {
        ReplacedFile output(PathFromUtf8(target));
        output.Write("abandoned");
    }  // a step that fails never commits
    EXPECT_EQ(ReadFile(target), "new");
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"out.dat"});  // no temporary left
}

TEST(ReplacedFile, WhatCannotBeReplacedIsRefusedBeforeAnythingIsWritten) {
    TempDir dir;
    EXPECT_EQ(ProblemOf(dir.File("no-such-folder/out.dat")), FileProblem::NotFound);
    EXPECT_EQ(ProblemOf(dir.path()), FileProblem::IsFolder);
    const std::string file = dir.Write("file", "");
    EXPECT_EQ(ProblemOf(file + "/out.dat"), FileProblem::NotAFolder);
    const std::string kept = dir.Write("kept.dat", "kept");
    fs::permissions(PathFromUtf8(kept), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(ProblemOf(kept), FileProblem::ReadOnly);
    EXPECT_THROW(ReplacedFile{PathFromUtf8(kept)}, FileError);
    EXPECT_EQ(ReadFile(kept), "kept");
    EXPECT_EQ(ListFolder(dir.path()), (std::vector<std::string>{"file", "kept.dat"}));
}

// A run puts several files in place and, when one cannot be, puts the old ones back.
TEST(ReplacedFile, FilesPutInPlaceTogetherCanBePutBack) {
    TempDir dir;
    TempDir staging;
    const std::string existing = dir.Write("03-stakes.dat", "old stakes");
    const std::string fresh = dir.File("04-lines.dat");
    ReplacedFile stakes(PathFromUtf8(existing), PathFromUtf8(staging.Write("03-stakes.dat", "new stakes")));
    ReplacedFile lines(PathFromUtf8(fresh), PathFromUtf8(staging.Write("04-lines.dat", "new lines")));
    EXPECT_EQ(stakes.place().kind, OutputPlace::Kind::ExistingFile);
    EXPECT_EQ(lines.place().kind, OutputPlace::Kind::NewFile);
    stakes.CommitKeepingReplaced();
    lines.CommitKeepingReplaced();
    EXPECT_EQ(ReadFile(existing), "new stakes");
    EXPECT_EQ(ReadFile(fresh), "new lines");
    // A staged file on the same disk is moved, not copied.
    EXPECT_TRUE(ListFolder(staging.path()).empty());

    stakes.PutBack();
    lines.PutBack();
    EXPECT_EQ(ReadFile(existing), "old stakes");
    EXPECT_FALSE(FileExists(fresh));
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"03-stakes.dat"});

    ReplacedFile again(PathFromUtf8(existing), PathFromUtf8(staging.Write("03-stakes.dat", "newer")));
    again.CommitKeepingReplaced();
    EXPECT_EQ(ListFolder(dir.path()).size(), 2u);  // the old file, kept beside it
    again.DropReplaced();
    EXPECT_EQ(ReadFile(existing), "newer");
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"03-stakes.dat"});
}

}  // namespace
}  // namespace qorvel::platform
