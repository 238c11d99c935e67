#include "platform/replaced_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "support/test_files.h"

namespace qorvel::platform {
namespace {

using testing::ListFolder;
using testing::ReadFile;
using testing::TempDir;

FileProblem ProblemOf(const auto& attempt) {
    try {
        attempt();
    } catch (const FileError& error) {
        return error.problem();
    }
    return FileProblem::Other;
}

// A spreadsheet or CAD program holding a file open without sharing it: the output is refused
// before anything is written, and the input cannot be read; both say why.
TEST(ReplacedFileWindows, AFileAnotherProgramHoldsIsInUse) {
    TempDir dir;
    const std::string held = dir.Write("10-sections.dat", "held");
    HANDLE other = ::CreateFileW(PathFromUtf8(held).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ProblemOf([&] { ReplacedFile file(PathFromUtf8(held)); }), FileProblem::InUse);
    EXPECT_EQ(ProblemOf([&] { ReadWholeFile(PathFromUtf8(held)); }), FileProblem::InUse);
    ::CloseHandle(other);
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"10-sections.dat"});
    ReplaceFileContent(PathFromUtf8(held), "new");
    EXPECT_EQ(ReadFile(held), "new");
}

TEST(ReplacedFileWindows, DeviceNamesAreWrittenDirectly) {
    TempDir dir;
    ReplaceFileContent(PathFromUtf8(dir.File("NUL")), "discarded");
    ReplaceFileContent(PathFromUtf8(dir.File("nul.dat")), "discarded");  // NUL whatever its extension
    EXPECT_TRUE(ListFolder(dir.path()).empty());
    EXPECT_EQ(ProblemOf([&] { ReadWholeFile(PathFromUtf8("NUL")); }), FileProblem::NotAFile);
}

}  // namespace
}  // namespace qorvel::platform
