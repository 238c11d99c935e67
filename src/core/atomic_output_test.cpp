#include "core/atomic_output.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <thread>

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

struct stat Lstat(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info;
}

// Everything a reader at `fd` receives until the writer closes.
std::string ReadAll(int fd) {
    std::string bytes;
    char buffer[4096];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;) bytes.append(buffer, static_cast<std::size_t>(got));
    return bytes;
}

std::string ReasonOf(const std::string& target, const std::string& bytes) {
    try {
        WriteFileAtomically(target, bytes);
    } catch (const StepError& error) {
        return error.reason();
    }
    return "(written)";
}

TEST(AtomicOutput, LinksAreFollowedAndReadOnlyFilesRefused) {
    TempDir dir;
    const std::string real = dir.Write("real.dat", "old");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    ASSERT_EQ(::symlink("real.dat", dir.File("inner").c_str()), 0);       // relative
    ASSERT_EQ(::symlink(dir.File("inner").c_str(), dir.File("outer").c_str()), 0);  // a chain
    WriteFileAtomically(dir.File("outer"), "new");
    EXPECT_EQ(ReadFile(real), "new");
    EXPECT_TRUE(S_ISLNK(Lstat(dir.File("outer")).st_mode));
    EXPECT_TRUE(S_ISLNK(Lstat(dir.File("inner")).st_mode));
    EXPECT_EQ(Lstat(real).st_mode & 07777, 0640u);  // the replaced file keeps its permissions

    // A link to nothing yet makes the file it names.
    ASSERT_EQ(::symlink("made.dat", dir.File("dangling").c_str()), 0);
    WriteFileAtomically(dir.File("dangling"), "made");
    EXPECT_EQ(ReadFile(dir.File("made.dat")), "made");
    EXPECT_TRUE(S_ISLNK(Lstat(dir.File("dangling")).st_mode));

    // No write bit at all: refused for everyone, root included, directly or through a link.
    const std::string kept = dir.Write("kept.dat", "kept");
    ASSERT_EQ(::chmod(kept.c_str(), 0444), 0);
    ASSERT_EQ(::symlink("kept.dat", dir.File("to-kept").c_str()), 0);
    EXPECT_EQ(ReasonOf(kept, "x"), "该文件为只读文件，不能覆盖");
    EXPECT_EQ(ReasonOf(dir.File("to-kept"), "x"), "该文件为只读文件，不能覆盖");
    EXPECT_EQ(ReadFile(kept), "kept");

    ASSERT_EQ(::symlink("loop-b", dir.File("loop-a").c_str()), 0);
    ASSERT_EQ(::symlink("loop-a", dir.File("loop-b").c_str()), 0);
    EXPECT_EQ(ReasonOf(dir.File("loop-a"), "x"), "符号链接的层数过多（或链接成环）");

    // Any legal file name: the temporary file's name does not grow with it.
    const std::string longName(249, 'n');
    WriteFileAtomically(dir.File(longName), "long");
    EXPECT_EQ(ReadFile(dir.File(longName)), "long");
    EXPECT_EQ(ListFolder(dir.path()), (std::vector<std::string>{"dangling", "inner", "kept.dat", "loop-a", "loop-b",
                                                                "made.dat", longName, "outer", "real.dat", "to-kept"}));
}

TEST(AtomicOutput, DevicesPipesAndSocketsAreWrittenDirectly) {
    TempDir dir;
    // A device node: one of the null device where the system lets us make it, else the
    // system's own (which only root could replace).
    std::string device = dir.File("null");
    if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) device = "/dev/null";
    WriteFileAtomically(device, "discarded");
    EXPECT_TRUE(S_ISCHR(Lstat(device).st_mode));
    EXPECT_TRUE(S_ISCHR(Lstat("/dev/null").st_mode));

    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string fromFifo;
    std::thread reader([&] {
        const int fd = ::open(fifo.c_str(), O_RDONLY);
        fromFifo = ReadAll(fd);
        ::close(fd);
    });
    WriteFileAtomically(fifo, "through the pipe");
    reader.join();
    EXPECT_EQ(fromFifo, "through the pipe");
    EXPECT_TRUE(S_ISFIFO(Lstat(fifo).st_mode));

    const std::string socketPath = dir.File("socket");
    const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, socketPath.c_str());
    ASSERT_EQ(::bind(listening, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listening, 1), 0);
    std::string fromSocket;
    std::thread server([&] {
        const int connection = ::accept(listening, nullptr, nullptr);
        fromSocket = ReadAll(connection);
        ::close(connection);
    });
    WriteFileAtomically(socketPath, "through the socket");
    server.join();
    ::close(listening);
    EXPECT_EQ(fromSocket, "through the socket");

    // /dev/stdout, here a pipe: through the system's link to the open file.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const int savedStdout = ::dup(STDOUT_FILENO);
    ::dup2(ends[1], STDOUT_FILENO);
    ::close(ends[1]);
    std::string reason;
    try {
        WriteFileAtomically("/dev/stdout", "printed");
    } catch (const StepError& error) {
        reason = error.reason();
    }
    ::dup2(savedStdout, STDOUT_FILENO);
    ::close(savedStdout);
    EXPECT_EQ(reason, "");
    EXPECT_EQ(ReadAll(ends[0]), "printed");
    ::close(ends[0]);
    EXPECT_EQ(ListFolder(dir.path()).size(), device == "/dev/null" ? 2u : 3u);  // no temporary file
}

}  // namespace
}  // namespace qorvel
