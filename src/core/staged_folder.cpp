#include "core/staged_folder.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include "core/step_error.h"
#include "platform/file_system.h"
#include "platform/interrupts.h"
#include "platform/process.h"
#include "platform/replaced_file.h"

namespace qorvel {

namespace fs = std::filesystem;
using platform::PathFromUtf8;
using platform::Utf8FromPath;

namespace {

constexpr std::string_view kOldEnding = ".old";
// The file that marks a folder beside a target as one QORVEL made, and what it says.
constexpr const char* kMarkName = ".qorvel-staging";
constexpr std::string_view kMarkText = "QORVEL folder of pages being replaced; removed when the pages are in place.\n";

[[noreturn]] void Fail(const std::string& target, const std::string& reason) {
    throw StepError(target, StepError::kNoLine, StepError::kNoField, reason);
}

fs::path ParentOf(const fs::path& path) { return path.has_parent_path() ? path.parent_path() : fs::path("."); }

std::string Prefix(const fs::path& destination) { return "." + Utf8FromPath(destination.filename()) + ".qorvel-"; }

fs::path AsideOf(const fs::path& destination) {
    return ParentOf(destination) /
           PathFromUtf8(Prefix(destination) + std::to_string(platform::CurrentProcessId()) + std::string(kOldEnding));
}

bool Mark(const fs::path& folder) {
    try {
        platform::ReplaceFileContent(folder / kMarkName, kMarkText);
        return true;
    } catch (const platform::FileError&) {
        return false;
    }
}

void Unmark(const fs::path& folder) {
    std::error_code ignored;
    fs::remove(folder / kMarkName, ignored);
}

bool Marked(const fs::path& folder) {
    std::error_code error;
    return fs::is_regular_file(fs::symlink_status(folder / kMarkName, error));
}

// The process id in a staging name ("<prefix><pid>" or "<prefix><pid>.old"), 0 when there is none.
long ProcessOf(std::string_view name, std::string_view prefix, bool& old) {
    if (!name.starts_with(prefix)) return 0;
    name.remove_prefix(prefix.size());
    old = name.ends_with(kOldEnding);
    if (old) name.remove_suffix(kOldEnding.size());
    if (name.empty() || name.size() > 10) return 0;
    long pid = 0;
    for (const char c : name) {
        if (c < '0' || c > '9') return 0;
        pid = pid * 10 + (c - '0');
    }
    return pid;
}

// What killed processes left beside `destination`: an old folder set aside while no target
// stands goes back; marked staging folders are removed.
void TidyAbandoned(const fs::path& destination) {
    const std::string prefix = Prefix(destination);
    std::error_code error;
    for (fs::directory_iterator entry(ParentOf(destination), error), end; !error && entry != end; entry.increment(error)) {
        bool old = false;
        const long pid = ProcessOf(Utf8FromPath(entry->path().filename()), prefix, old);
        if (pid <= 0 || pid == platform::CurrentProcessId() || platform::ProcessRunning(pid)) continue;
        std::error_code ignored;
        if (entry->is_symlink(ignored) || !entry->is_directory(ignored)) continue;
        if (old && !fs::exists(fs::symlink_status(destination, ignored))) {
            fs::rename(entry->path(), destination, ignored);
            if (!ignored) {
                Unmark(destination);
                continue;
            }
        }
        if (Marked(entry->path())) fs::remove_all(entry->path(), ignored);
    }
}

}  // namespace

struct FolderReplacement::State {
    std::string target;  // as given, for messages
    fs::path staged;
    fs::path destination;
    fs::path aside;
    bool replaced = false;  // a folder stood at the target and is now aside
    bool committed = false;
};

FolderReplacement::FolderReplacement(std::string staged, std::string target) : state_(std::make_unique<State>()) {
    State& state = *state_;
    state.target = std::move(target);
    state.staged = PathFromUtf8(staged);
    state.destination = PathFromUtf8(state.target);
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(state.destination, error))) {
        state.destination = fs::canonical(state.destination, error);
        if (error) Fail(state.target, "链接指向的文件夹不存在：" + error.message());
    }
    while (!state.destination.empty() && !state.destination.has_filename())
        state.destination = state.destination.parent_path();  // "sheets/"
    const fs::file_status status = fs::status(state.destination, error);
    if (fs::exists(status) && !fs::is_directory(status)) Fail(state.target, "已存在同名的文件，不是文件夹");
    state.aside = AsideOf(state.destination);
}

FolderReplacement::~FolderReplacement() {
    if (state_ && state_->committed) DropReplaced();
}
FolderReplacement::FolderReplacement(FolderReplacement&&) noexcept = default;
FolderReplacement& FolderReplacement::operator=(FolderReplacement&&) noexcept = default;

void FolderReplacement::Commit() {
    State& state = *state_;
    std::error_code error;
    state.replaced = fs::exists(fs::symlink_status(state.destination, error));
    if (state.replaced) {
        fs::remove_all(state.aside, error);
        fs::rename(state.destination, state.aside, error);
        if (error) Fail(state.target, "无法替换原有的文件夹：" + error.message());
        Mark(state.aside);
    }
    fs::rename(state.staged, state.destination, error);
    if (error) {
        if (state.replaced) {
            std::error_code ignored;
            Unmark(state.aside);
            fs::rename(state.aside, state.destination, ignored);
        }
        Fail(state.target, "无法放入新的文件夹：" + error.message());
    }
    state.committed = true;
}

void FolderReplacement::PutBack() {
    State& state = *state_;
    if (!state.committed) return;
    std::error_code error;
    fs::rename(state.destination, state.staged, error);
    if (error) Fail(state.target, "无法恢复原有的文件夹：" + error.message());
    if (state.replaced) {
        Unmark(state.aside);
        fs::rename(state.aside, state.destination, error);
        if (error) Fail(state.target, "无法恢复原有的文件夹：" + error.message());
    }
    state.committed = false;
}

void FolderReplacement::DropReplaced() {
    State& state = *state_;
    if (!state.committed) return;
    std::error_code ignored;
    if (state.replaced) fs::remove_all(state.aside, ignored);
    state.committed = false;
}

struct StagedFolder::Removal {
    platform::RemovedOnInterrupt mark;
    platform::RemovedOnInterrupt folder;
};

StagedFolder::StagedFolder(std::string target) : target_(std::move(target)), removal_(std::make_unique<Removal>()) {
    if (target_.empty()) Fail(target_, "没有指定输出文件夹");
    std::error_code error;
    fs::path destination = PathFromUtf8(target_);
    if (fs::is_symlink(fs::symlink_status(destination, error))) {
        destination = fs::canonical(destination, error);
        if (error) Fail(target_, "链接指向的文件夹不存在：" + error.message());
    }
    while (!destination.empty() && !destination.has_filename()) destination = destination.parent_path();  // "sheets/"
    destination_ = Utf8FromPath(destination);
    const fs::file_status status = fs::status(destination, error);
    if (fs::exists(status) && !fs::is_directory(status)) Fail(target_, "已存在同名的文件，不是文件夹");
    if (!fs::is_directory(ParentOf(destination), error)) Fail(target_, "所在的文件夹不存在");

    TidyAbandoned(destination);
    const fs::path staging = ParentOf(destination) / PathFromUtf8(Prefix(destination) + std::to_string(platform::CurrentProcessId()));
    staging_ = Utf8FromPath(staging);
    fs::remove_all(staging, error);
    if (!fs::create_directory(staging, error)) Fail(target_, "无法创建临时文件夹：" + error.message());
    removal_->folder.Register(staging, platform::RemovedOnInterrupt::What::Folder);
    removal_->mark.Register(staging / kMarkName);
    if (!Mark(staging)) Fail(target_, "无法在临时文件夹中写入标记文件");
}

StagedFolder::~StagedFolder() {
    if (committed_) return;
    std::error_code ignored;
    fs::remove_all(PathFromUtf8(staging_), ignored);
}

void StagedFolder::Commit() {
    // The mark goes before the folder becomes the target: the pages alone are the result.
    removal_->mark.Release();
    Unmark(PathFromUtf8(staging_));
    FolderReplacement replacement(staging_, destination_);
    try {
        replacement.Commit();
    } catch (const StepError&) {
        Mark(PathFromUtf8(staging_));
        throw;
    }
    removal_->folder.Release();
    replacement.DropReplaced();
    committed_ = true;
}

}  // namespace qorvel
