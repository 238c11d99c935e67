#pragma once
// Files and processes for tests: a temporary folder removed afterwards, whole-file reads and
// writes, and running the real qorvel binary.

#include <string>
#include <vector>

namespace qorvel::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path()/name
    std::string File(const std::string& name) const;
    // Writes `bytes` to path()/name and gives the full path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::string path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// The names in a folder, sorted (without "." and "..").
std::vector<std::string> ListFolder(const std::string& path);

// Lines joined with CR LF after each, as the data files are written.
std::string CrLf(const std::vector<std::string>& lines);

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs `program` with `arguments` (no shell), capturing stdout and stderr; with `stdoutUnread`
// its stdout is a pipe nobody reads (every write to it fails).
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& workingDirectory = {}, bool stdoutUnread = false);

}  // namespace qorvel::testing
