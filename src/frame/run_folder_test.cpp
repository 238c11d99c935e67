#include "frame/run_folder.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "core/step_error.h"
#include "platform/file_system.h"
#include "platform/interrupts.h"
#include "platform/process.h"
#include "support/test_files.h"

namespace qorvel {
namespace {

using testing::FileExists;
using testing::ListFolder;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// An output folder "out" in `base` holding an earlier run's a.dat and b.dat, and a run about to
// place new a.dat, b.dat and c.dat.
struct EarlierRun {
    explicit EarlierRun(std::string base) : base(std::move(base)) {
        std::filesystem::create_directory(folder);
        WriteFile(folder + "/a.dat", "old a");
        WriteFile(folder + "/b.dat", "old b");
    }
    void Stage(const RunFolder& run) const {
        for (const std::string& target : targets)
            WriteFile(run.Staged(target), "new " + target.substr(target.size() - 5, 1));
    }
    std::string base;
    std::string folder = base + "/out";
    std::vector<std::string> targets{folder + "/a.dat", folder + "/b.dat", folder + "/c.dat"};
};

TEST(RunFolder, AnotherRunIntoTheSameFolderIsRefusedWhileOneHoldsIt) {
    TempDir dir;
    EarlierRun earlier(dir.path());
    {
        RunFolder first(earlier.folder);
        try {
            RunFolder second(earlier.folder + "/");
            FAIL() << "two runs hold the folder";
        } catch (const StepError& error) {
            EXPECT_NE(error.describe().find("正由另一次一键生成使用"), std::string::npos) << error.describe();
        }
        EXPECT_EQ(ListFolder(earlier.base).size(), 3u);  // out, its lock and the first run's staging
    }
    EXPECT_EQ(ListFolder(earlier.base), std::vector<std::string>{"out"});  // both go with the run
    EXPECT_NO_THROW(RunFolder{earlier.folder});
}

TEST(RunFolder, AFileThatCannotBePlacedPutsThoseBeforeItBack) {
    TempDir dir;
    EarlierRun earlier(dir.path());
    // Among the files a folder of pages, replaced as a whole.
    const std::string pages = earlier.folder + "/pages";
    std::filesystem::create_directory(pages);
    WriteFile(pages + "/old.svg", "old");
    RunFolder run(earlier.folder);
    const auto stage = [&] {
        earlier.Stage(run);
        std::filesystem::create_directory(run.Staged(pages));
        WriteFile(run.Staged(pages) + "/new.svg", "new");
    };
    stage();
    std::vector<std::string> targets = earlier.targets;
    targets.insert(targets.begin(), pages);
    // Checked before the move, c.dat could be placed; then something takes its place.
    RunFolder::CheckPlaceable(targets);
    run.beforePlacing = [&](std::size_t index) {
        if (index == 3) std::filesystem::create_directory(targets[3]);
    };
    try {
        run.MoveIn(targets);
        FAIL() << "moved in";
    } catch (const StepError& error) {
        EXPECT_EQ(error.file(), targets[3]);
        EXPECT_NE(error.reason().find("已移入的 3 个文件已恢复为原来的文件"), std::string::npos) << error.reason();
    }
    EXPECT_EQ(ReadFile(earlier.targets[0]), "old a");
    EXPECT_EQ(ReadFile(earlier.targets[1]), "old b");
    EXPECT_EQ(ListFolder(pages), std::vector<std::string>{"old.svg"});
    EXPECT_EQ(ListFolder(earlier.folder), (std::vector<std::string>{"a.dat", "b.dat", "c.dat", "pages"}));  // c.dat the folder

    std::filesystem::remove(targets[3]);
    run.beforePlacing = nullptr;
    std::filesystem::remove_all(run.Staged(pages));
    stage();  // the put-back files took the place of the staged ones
    run.MoveIn(targets);
    EXPECT_EQ(ReadFile(earlier.targets[0]), "new a");
    EXPECT_EQ(ReadFile(earlier.targets[2]), "new c");
    EXPECT_EQ(ListFolder(pages), std::vector<std::string>{"new.svg"});
    EXPECT_EQ(ListFolder(earlier.folder), (std::vector<std::string>{"a.dat", "b.dat", "c.dat", "pages"}));
    EXPECT_EQ(ListFolder(earlier.base).size(), 3u);  // nothing kept aside: out, the lock, the staging
}

#if GTEST_HAS_DEATH_TEST  // not in the browser build
// An interrupt arriving while the files are put in place waits until they all are; then the
// staging folder and the lock go with the program.
TEST(RunFolderDeathTest, AnInterruptWaitsUntilEveryFileIsPlaced) {
    // The same folder in the test and in the program the death test runs (which on Windows
    // starts the test over): one of this build's own, made afresh.
    const std::filesystem::path base = std::filesystem::current_path() / "run-folder-interrupt-test";
    std::filesystem::remove_all(base);
    std::filesystem::create_directory(base);
    EarlierRun earlier(platform::Utf8FromPath(base));
    EXPECT_EXIT(
        {
            platform::InstallInterruptHandlers();
            RunFolder run(earlier.folder);
            earlier.Stage(run);
            run.beforePlacing = [](std::size_t index) {
                if (index == 0) platform::SimulateInterrupt();
            };
            run.MoveIn(earlier.targets);
            std::abort();  // not reached: the interrupt ends the program as the move ends
        },
        platform::EndedByInterrupt, "");
    EXPECT_EQ(ReadFile(earlier.targets[0]), "new a");
    EXPECT_EQ(ReadFile(earlier.targets[1]), "new b");
    EXPECT_EQ(ReadFile(earlier.targets[2]), "new c");
    EXPECT_EQ(ListFolder(earlier.base), std::vector<std::string>{"out"});
    std::filesystem::remove_all(base);
}

#endif

}  // namespace
}  // namespace qorvel
