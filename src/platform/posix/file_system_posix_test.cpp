#include "platform/file_system.h"

#include <sys/stat.h>

#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "support/test_files.h"

namespace qorvel::platform {
namespace {

TEST(ReadWholeFilePosix, FilesThatReportNoSizeAndPipesComeInWhole) {
    // Files under /proc report a size of 0 and still have content: it comes in whole.
    const std::string status = ReadWholeFile("/proc/self/status");
    EXPECT_NE(status.find("Name:"), std::string::npos);
    EXPECT_EQ(status.back(), '\n');
    testing::TempDir dir;
    const std::string exact(100000, 'x');
    EXPECT_EQ(ReadWholeFile(dir.Write("exact.dat", exact)), exact);
    EXPECT_EQ(ReadWholeFile(dir.Write("empty.dat", "")), "");
    // A pipe (a program's output handed on as a file) is read until its writer ends.
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << exact; });
    EXPECT_EQ(ReadWholeFile(fifo), exact);
    writer.join();
}

TEST(ReadWholeFilePosix, DevicesAreRefusedBeforeTheyAreOpened) {
    try {
        ReadWholeFile("/dev/zero");  // would never end
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.problem(), FileProblem::NotAFile);
    }
}

}  // namespace
}  // namespace qorvel::platform
