#include "platform/interrupts.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/replaced_file.h"
#include "support/test_files.h"

namespace qorvel::platform {
namespace {

using testing::ListFolder;
using testing::ReadFile;
using testing::TempDir;

// A child process that installs the cleanup, starts writing a large output to `target`, tells
// the parent it is under way and keeps its temporary file open (writing, then waiting) until a
// signal ends it. Returns its process id once it is under way.
pid_t StartWritingChild(const std::string& target) {
    int ready[2];
    if (::pipe(ready) != 0) return -1;
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        InstallInterruptHandlers();
        try {
            ReplacedFile output(target);
            const std::string chunk(1 << 20, 'x');
            output.Write(chunk);
            if (::write(ready[1], "w", 1) != 1) ::_exit(2);
            for (int k = 0; k < 32; ++k) output.Write(chunk);
            for (;;) ::pause();
        } catch (...) {
            ::_exit(3);
        }
    }
    ::close(ready[1]);
    char byte = 0;
    const bool underWay = ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    return underWay ? child : -1;
}

int EndedBySignal(pid_t child) {
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFSIGNALED(status)) return 0;
    return WTERMSIG(status);
}

TEST(InterruptsPosix, AnInterruptRemovesTheTemporaryFileBeingWritten) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        TempDir dir;
        const std::string target = dir.Write("10-sections.dat", "previous result");
        const pid_t child = StartWritingChild(target);
        ASSERT_GT(child, 0);
        ASSERT_EQ(ListFolder(dir.path()).size(), 2u);  // the temporary file beside the target
        ::kill(child, signal);
        EXPECT_EQ(EndedBySignal(child), signal);  // ended as the signal ends a program
        EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"10-sections.dat"}) << strsignal(signal);
        EXPECT_EQ(ReadFile(target), "previous result");
    }
}

TEST(InterruptsPosix, TheNextWriteRemovesWhatAKilledWriterLeft) {
    TempDir dir;
    const std::string target = dir.Write("09-members.dat", "previous");
    const std::string other = dir.Write("other.dat", "");
    struct Reaper {  // no child outlives a failed check
        pid_t pid;
        ~Reaper() {
            if (pid > 0 && ::kill(pid, SIGKILL) == 0) ::waitpid(pid, nullptr, 0);
        }
    };
    Reaper alive{StartWritingChild(target)};  // a live writer of the same target keeps its file
    ASSERT_GT(alive.pid, 0);
    for (const std::string& written : {target, other}) {
        const pid_t killed = StartWritingChild(written);
        ASSERT_GT(killed, 0);
        ::kill(killed, SIGKILL);  // no handler runs: its temporary file stays
        ASSERT_EQ(EndedBySignal(killed), SIGKILL);
    }
    ASSERT_EQ(ListFolder(dir.path()).size(), 5u);

    ReplaceFileContent(target, "new");
    EXPECT_EQ(ReadFile(target), "new");
    EXPECT_EQ(ListFolder(dir.path()).size(), 4u);  // the killed writer's file of this target alone is gone
    ::kill(alive.pid, SIGTERM);
    EXPECT_EQ(EndedBySignal(std::exchange(alive.pid, -1)), SIGTERM);
    EXPECT_EQ(ListFolder(dir.path()).size(), 3u);
}

// A run putting its files in place finishes before an interrupt ends the program; the staging
// folder goes with the interrupt, after the files registered in it.
TEST(InterruptsPosix, AnInterruptWaitsWhileHeldBackThenRemovesFilesAndFolders) {
    TempDir dir;
    const std::string staging = dir.File(".out.qorvel-1");
    const std::string placed = dir.File("placed.dat");
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        InstallInterruptHandlers();
        ::mkdir(staging.c_str(), 0700);
        RemovedOnInterrupt folder;
        folder.Register(staging, RemovedOnInterrupt::What::Folder);  // before its file: folders go last
        const std::string staged = staging + "/10-sections.dat";
        ReplaceFileContent(staged, "staged");
        RemovedOnInterrupt file;
        file.Register(staged);
        {
            InterruptsHeldBack heldBack;
            SimulateInterrupt();  // waits
            ReplaceFileContent(placed, "placed");
        }
        ::_exit(0);  // not reached: the interrupt ended the program when the hold ended
    }
    EXPECT_EQ(EndedBySignal(child), SIGINT);
    EXPECT_EQ(ReadFile(placed), "placed");
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"placed.dat"});
}

TEST(InterruptsPosix, AClosedPipeIsAWriteErrorNotASilentEnd) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);  // nobody reads (as `qorvel run ... | head -1` after head ends)
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        InstallInterruptHandlers();
        ::dup2(ends[1], STDOUT_FILENO);
        std::printf("本次共合成中桩坐标个数 18 个！\n");
        ::_exit(FlushStandardOutput() ? 1 : 0);
    }
    ::close(ends[1]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);  // the failed write was seen
}

}  // namespace
}  // namespace qorvel::platform
