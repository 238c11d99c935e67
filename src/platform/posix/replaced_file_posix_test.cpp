#include "platform/replaced_file.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <optional>
#include <thread>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "support/test_files.h"

namespace qorvel::platform {
namespace {

using testing::ListFolder;
using testing::ReadFile;
using testing::TempDir;

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

// The problem that refuses `target`, or nothing when `bytes` were written.
std::optional<FileProblem> ProblemOf(const std::string& target, const std::string& bytes) {
    try {
        ReplaceFileContent(target, bytes);
    } catch (const FileError& error) {
        return error.problem();
    }
    return std::nullopt;
}

TEST(ReplacedFilePosix, LinksAreFollowedAndReadOnlyFilesRefused) {
    TempDir dir;
    const std::string real = dir.Write("real.dat", "old");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    ASSERT_EQ(::symlink("real.dat", dir.File("inner").c_str()), 0);       // relative
    ASSERT_EQ(::symlink(dir.File("inner").c_str(), dir.File("outer").c_str()), 0);  // a chain
    ReplaceFileContent(dir.File("outer"), "new");
    EXPECT_EQ(ReadFile(real), "new");
    EXPECT_TRUE(S_ISLNK(Lstat(dir.File("outer")).st_mode));
    EXPECT_TRUE(S_ISLNK(Lstat(dir.File("inner")).st_mode));
    EXPECT_EQ(Lstat(real).st_mode & 07777, 0640u);  // the replaced file keeps its permissions

    // A link to nothing yet makes the file it names.
    ASSERT_EQ(::symlink("made.dat", dir.File("dangling").c_str()), 0);
    ReplaceFileContent(dir.File("dangling"), "made");
    EXPECT_EQ(ReadFile(dir.File("made.dat")), "made");
    EXPECT_TRUE(S_ISLNK(Lstat(dir.File("dangling")).st_mode));

    // No write bit at all: refused for everyone, root included, directly or through a link.
    const std::string kept = dir.Write("kept.dat", "kept");
    ASSERT_EQ(::chmod(kept.c_str(), 0444), 0);
    ASSERT_EQ(::symlink("kept.dat", dir.File("to-kept").c_str()), 0);
    EXPECT_EQ(ProblemOf(kept, "x"), FileProblem::ReadOnly);
    EXPECT_EQ(ProblemOf(dir.File("to-kept"), "x"), FileProblem::ReadOnly);
    EXPECT_EQ(ReadFile(kept), "kept");

    ASSERT_EQ(::symlink("loop-b", dir.File("loop-a").c_str()), 0);
    ASSERT_EQ(::symlink("loop-a", dir.File("loop-b").c_str()), 0);
    EXPECT_EQ(ProblemOf(dir.File("loop-a"), "x"), FileProblem::TooManyLinks);

    // Any legal file name: the temporary file's name does not grow with it.
    const std::string longName(249, 'n');
    ReplaceFileContent(dir.File(longName), "long");
    EXPECT_EQ(ReadFile(dir.File(longName)), "long");
    EXPECT_EQ(ListFolder(dir.path()), (std::vector<std::string>{"dangling", "inner", "kept.dat", "loop-a", "loop-b",
                                                                "made.dat", longName, "outer", "real.dat", "to-kept"}));
}

TEST(ReplacedFilePosix, DevicesPipesAndSocketsAreWrittenDirectly) {
    TempDir dir;
    // A device node: one of the null device where the system lets us make it, else the
    // system's own (which only root could replace).
    std::string device = dir.File("null");
    if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) device = "/dev/null";
    ReplaceFileContent(device, "discarded");
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
    ReplaceFileContent(fifo, "through the pipe");
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
    ReplaceFileContent(socketPath, "through the socket");
    server.join();
    ::close(listening);
    EXPECT_EQ(fromSocket, "through the socket");

    // /dev/stdout, here a pipe: through the system's link to the open file.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const int savedStdout = ::dup(STDOUT_FILENO);
    ::dup2(ends[1], STDOUT_FILENO);
    ::close(ends[1]);
    const std::optional<FileProblem> problem = ProblemOf("/dev/stdout", "printed");
    ::dup2(savedStdout, STDOUT_FILENO);
    ::close(savedStdout);
    EXPECT_EQ(problem, std::nullopt);
    EXPECT_EQ(ReadAll(ends[0]), "printed");
    ::close(ends[0]);
    EXPECT_EQ(ListFolder(dir.path()).size(), device == "/dev/null" ? 2u : 3u);  // no temporary file
}

}  // namespace
}  // namespace qorvel::platform
