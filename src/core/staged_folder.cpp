#include "core/staged_folder.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "core/step_error.h"

namespace qorvel {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kOldEnding = ".old";

[[noreturn]] void Fail(const std::string& target, const std::string& reason) {
    throw StepError(target, StepError::kNoLine, StepError::kNoField, reason);
}

// The process id in a staging name ("<prefix><pid>" or "<prefix><pid>.old"), 0 when there is none.
long long ProcessOf(std::string_view name, std::string_view prefix, bool& old) {
    if (!name.starts_with(prefix)) return 0;
    name.remove_prefix(prefix.size());
    old = name.ends_with(kOldEnding);
    if (old) name.remove_suffix(kOldEnding.size());
    if (name.empty() || name.size() > 10) return 0;
    long long pid = 0;
    for (const char c : name) {
        if (c < '0' || c > '9') return 0;
        pid = pid * 10 + (c - '0');
    }
    return pid;
}

// What killed processes left beside `destination`: an old folder set aside while no target
// stands goes back; staging folders are removed.
void TidyAbandoned(const fs::path& destination, const std::string& prefix) {
    std::error_code error;
    const fs::path parent = destination.parent_path().empty() ? fs::path(".") : destination.parent_path();
    for (fs::directory_iterator entry(parent, error), end; !error && entry != end; entry.increment(error)) {
        bool old = false;
        const long long pid = ProcessOf(entry->path().filename().string(), prefix, old);
        if (pid <= 0 || pid == ::getpid()) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;  // still running, or not ours to judge
        std::error_code ignored;
        if (old && !fs::exists(fs::symlink_status(destination, ignored))) {
            fs::rename(entry->path(), destination, ignored);
            if (!ignored) continue;
        }
        fs::remove_all(entry->path(), ignored);
    }
}

}  // namespace

StagedFolder::StagedFolder(std::string target) : target_(std::move(target)) {
    if (target_.empty()) Fail(target_, "没有指定输出文件夹");
    std::error_code error;
    fs::path destination = fs::path(target_);
    if (fs::is_symlink(fs::symlink_status(destination, error))) {
        destination = fs::canonical(destination, error);
        if (error) Fail(target_, "链接指向的文件夹不存在：" + error.message());
    }
    while (!destination.empty() && !destination.has_filename()) destination = destination.parent_path();  // "sheets/"
    destination_ = destination.string();
    const fs::file_status status = fs::status(destination, error);
    if (fs::exists(status) && !fs::is_directory(status)) Fail(target_, "已存在同名的文件，不是文件夹");
    const fs::path parent = destination.parent_path().empty() ? fs::path(".") : destination.parent_path();
    if (!fs::is_directory(parent, error)) Fail(target_, "所在的文件夹不存在");

    const std::string prefix = "." + destination.filename().string() + ".qorvel-";
    TidyAbandoned(destination, prefix);
    staging_ = (parent / (prefix + std::to_string(::getpid()))).string();
    fs::remove_all(staging_, error);
    if (!fs::create_directory(staging_, error)) Fail(target_, "无法创建临时文件夹：" + error.message());
}

StagedFolder::~StagedFolder() {
    if (committed_) return;
    std::error_code ignored;
    fs::remove_all(staging_, ignored);
}

void StagedFolder::Commit() {
    ReplaceFolder(staging_, destination_);
    committed_ = true;
}

void ReplaceFolder(const std::string& staged, const std::string& target) {
    std::error_code error;
    if (!fs::exists(fs::symlink_status(target, error))) {
        fs::rename(staged, target, error);
        if (error) Fail(target, "无法放入新的文件夹：" + error.message());
        return;
    }
    if (!fs::is_directory(target, error)) Fail(target, "已存在同名的文件，不是文件夹");
#if defined(RENAME_EXCHANGE)
    if (::renameat2(AT_FDCWD, staged.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
        fs::remove_all(staged, error);  // now the old set
        return;
    }
#endif
    // Aside under the name of this process, where a killed run's old folder is found again.
    const fs::path aside = fs::path(target).parent_path() /
                           ("." + fs::path(target).filename().string() + ".qorvel-" + std::to_string(::getpid()) +
                            std::string(kOldEnding));
    fs::remove_all(aside, error);
    fs::rename(target, aside, error);
    if (error) Fail(target, "无法替换原有的文件夹：" + error.message());
    fs::rename(staged, target, error);
    if (error) {
        std::error_code ignored;
        fs::rename(aside, target, ignored);
        Fail(target, "无法放入新的文件夹：" + error.message());
    }
    fs::remove_all(aside, error);
}

}  // namespace qorvel
