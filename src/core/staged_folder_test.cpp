#include "core/staged_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/step_error.h"
#include "support/test_files.h"

namespace qorvel {
namespace {

using testing::ListFolder;
using testing::ReadFile;
using testing::TempDir;

TEST(StagedFolder, TheOldSetStaysUntilTheNewOneIsCompleteAndComesBackAfterAKill) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("pages"));
    dir.Write("pages/old.svg", "old");
    {
        StagedFolder staged(dir.File("pages"));
        dir.Write(std::filesystem::relative(staged.path(), dir.path()).string() + "/new.svg", "new");
        EXPECT_EQ(ListFolder(dir.File("pages")), std::vector<std::string>{"old.svg"});
    }  // not committed: the new set goes
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"pages"});
    {
        StagedFolder staged(dir.File("pages"));
        dir.Write(std::filesystem::relative(staged.path(), dir.path()).string() + "/new.svg", "new");
        staged.Commit();
    }
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"pages"});
    EXPECT_EQ(ReadFile(dir.File("pages/new.svg")), "new");

    // A process killed between setting the old folder aside and putting the new one in its
    // place: the next staging puts the old one back and removes the half-made one.
    // A folder of the same form that the staging did not mark is someone else's and stays.
    std::filesystem::rename(dir.File("pages"), dir.File(".pages.qorvel-999999999.old"));
    std::filesystem::create_directory(dir.File(".pages.qorvel-999999998"));
    dir.Write(".pages.qorvel-999999998/.qorvel-staging", "");
    std::filesystem::create_directory(dir.File(".pages.qorvel-999999997"));
    { StagedFolder staged(dir.File("pages")); }
    EXPECT_EQ(ListFolder(dir.path()), (std::vector<std::string>{".pages.qorvel-999999997", "pages"}));
    EXPECT_EQ(ListFolder(dir.File("pages")), std::vector<std::string>{"new.svg"});

    dir.Write("file", "");
    EXPECT_THROW(StagedFolder(dir.File("file")), StepError);
    EXPECT_THROW(StagedFolder(dir.File("missing/pages")), StepError);
}

}  // namespace
}  // namespace qorvel
