#include "support/test_files.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "platform/file_system.h"
#include "platform/process.h"

namespace qorvel::testing {

namespace {
namespace fs = std::filesystem;
using platform::PathFromUtf8;
using platform::Utf8FromPath;
}  // namespace

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    const fs::path folder = base && *base ? PathFromUtf8(base) : fs::temp_directory_path();
    static std::atomic<unsigned> made{0};
    const auto seed = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const fs::path candidate = folder / ("qorvel-test-" + std::to_string(platform::CurrentProcessId()) + "-" +
                                             std::to_string(seed % 1000000) + "-" + std::to_string(made++));
        std::error_code error;
        if (fs::create_directory(candidate, error)) {
            const std::u8string text = candidate.generic_u8string();
            path_.assign(text.begin(), text.end());
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempDir::~TempDir() {
    // Tests take write permission away; the folder goes whole all the same.
    std::error_code error;
    const fs::path root = PathFromUtf8(path_);
    for (fs::recursive_directory_iterator entry(root, error), end; !error && entry != end; entry.increment(error))
        if (!entry->is_symlink(error)) fs::permissions(entry->path(), fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(root, error);
}

std::string TempDir::File(const std::string& name) const { return path_ + "/" + name; }

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
    const std::string full = File(name);
    WriteFile(full, bytes);
    return full;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(PathFromUtf8(path), std::ios::binary);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return fs::exists(PathFromUtf8(path), error);
}

std::vector<std::string> ListFolder(const std::string& path) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator entry(PathFromUtf8(path), error), end; !error && entry != end; entry.increment(error))
        names.push_back(Utf8FromPath(entry->path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

std::string CrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& workingDirectory, bool stdoutUnread) {
    platform::ChildOptions options;
    options.workingDirectory = PathFromUtf8(workingDirectory);
    options.stdoutUnread = stdoutUnread;
    const platform::ProcessOutcome outcome = platform::RunProcess(PathFromUtf8(program), arguments, options);
    return {outcome.exitCode, outcome.out, outcome.err};
}

}  // namespace qorvel::testing
