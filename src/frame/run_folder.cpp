#include "frame/run_folder.h"

#include <charconv>
#include <filesystem>
#include <optional>
#include <system_error>

#include "core/file_problem_text.h"
#include "core/staged_folder.h"
#include "core/step_error.h"
#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "platform/interrupts.h"
#include "platform/process.h"
#include "platform/replaced_file.h"

namespace qorvel {

namespace {

namespace fs = std::filesystem;
using platform::PathFromUtf8;
using platform::Utf8FromPath;

// The file that marks a staging folder as a run's, and what it says.
constexpr const char* kMarkName = ".qorvel-staging";
constexpr std::string_view kMarkText = "QORVEL staging folder of a run; removed when the run ends.\n";

// "out/example/" names the folder "out/example"; paths stay as typed, for messages.
fs::path FolderPath(const std::string& folder) {
    fs::path path = PathFromUtf8(folder);
    while (!path.has_filename() && path.has_relative_path()) path = path.parent_path();
    return path;
}

fs::path ParentOf(const fs::path& folder) { return folder.has_parent_path() ? folder.parent_path() : fs::path("."); }

// The path of `name` beside `folder`, written as the folder was typed.
std::string Beside(const fs::path& folder, const std::string& name) {
    return platform::JoinedAsTyped(folder.has_parent_path() ? Utf8FromPath(folder.parent_path()) : std::string(), name);
}

// A staging folder of a run into `prefix`'s folder: a folder (not a link) named prefix + a
// process id, holding the mark; the process id, or nothing.
std::optional<long> StagingRun(const fs::directory_entry& entry, const std::string& prefix) {
    const std::string name = Utf8FromPath(entry.path().filename());
    if (!name.starts_with(prefix)) return std::nullopt;
    long pid = 0;
    const char* digits = name.data() + prefix.size();
    const char* end = name.data() + name.size();
    const auto [stop, parsed] = std::from_chars(digits, end, pid);
    if (parsed != std::errc() || stop != end || pid <= 0) return std::nullopt;
    std::error_code error;
    if (!entry.is_directory(error) || entry.is_symlink(error)) return std::nullopt;
    if (!fs::is_regular_file(fs::symlink_status(entry.path() / kMarkName, error))) return std::nullopt;
    return pid;
}

// The outputs that are folders of files (the SVG sheets' pages) by their name.
bool IsFolderOutput(const std::string& path) { return !PathFromUtf8(path).has_extension(); }

// One output put in place: a file, or a folder of pages, either kept aside until all are in place.
struct Placement {
    std::optional<platform::ReplacedFile> file;
    std::optional<FolderReplacement> folder;

    bool writesDirectly() const { return file && file->writesDirectly(); }
    void Commit() { file ? file->CommitKeepingReplaced() : folder->Commit(); }
    void PutBack() { file ? file->PutBack() : folder->PutBack(); }
    void DropReplaced() { file ? file->DropReplaced() : folder->DropReplaced(); }
};

// What went wrong in `action`, in the words of a message; nothing when it succeeded.
template <typename Action>
std::optional<std::string> ProblemOf(Action action) {
    try {
        action();
        return std::nullopt;
    } catch (const platform::FileError& failure) {
        return WriteProblemText(failure);
    } catch (const StepError& failure) {
        return failure.reason();
    }
}

}  // namespace

struct RunFolder::State {
    fs::path folder;   // the output folder
    fs::path staging;  // beside it
    std::string stagingText;  // as typed
    std::optional<platform::FileLock> lock;
    platform::RemovedOnInterrupt lockRemoval;
    std::vector<std::string> removed;
    platform::RemovedOnInterrupt stagingRemoval;
    // The files in the staging folder, removed with it on an interrupt (they go before it).
    std::vector<platform::RemovedOnInterrupt> stagedRemovals;
    std::vector<fs::path> registered;

    void RemoveAbandoned(const std::string& prefix) {
        std::error_code error;
        for (fs::directory_iterator entry(ParentOf(folder), error), end; !error && entry != end; entry.increment(error)) {
            const std::optional<long> pid = StagingRun(*entry, prefix);
            if (!pid || *pid == platform::CurrentProcessId() || platform::ProcessRunning(*pid)) continue;
            std::error_code ignored;
            if (fs::remove_all(entry->path(), ignored) != static_cast<std::uintmax_t>(-1) && !ignored)
                removed.push_back(Beside(folder, Utf8FromPath(entry->path().filename())));
        }
    }

    void Register(const fs::path& path) {
        for (const fs::path& known : registered)
            if (known == path) return;
        registered.push_back(path);
        stagedRemovals.emplace_back().Register(path);
    }
};

RunFolder::RunFolder(const std::string& outputFolder) : state_(std::make_unique<State>()) {
    State& state = *state_;
    state.folder = FolderPath(outputFolder);
    const fs::path parent = ParentOf(state.folder);
    const std::string name = Utf8FromPath(state.folder.filename());
    const std::string lockText = Beside(state.folder, "." + name + ".qorvel-lock");
    const fs::path lockPath = PathFromUtf8(lockText);
    try {
        if (std::optional<platform::FileLock> taken = platform::FileLock::TryTake(lockPath))
            state.lock.emplace(std::move(*taken));
    } catch (const platform::FileError& error) {
        throw StepError(lockText, StepError::kNoLine, StepError::kNoField,
                        "无法创建输出文件夹的锁文件：" + WriteProblemText(error));
    }
    if (!state.lock)
        throw StepError("输出文件夹“" + outputFolder + "”正由另一次一键生成使用（锁文件“" + lockText +
                        "”），请等它结束后再运行。");

    state.lockRemoval.Register(lockPath);

    const std::string prefix = "." + name + ".qorvel-";
    state.RemoveAbandoned(prefix);
    state.stagingText = Beside(state.folder, prefix + std::to_string(platform::CurrentProcessId()));
    state.staging = PathFromUtf8(state.stagingText);
    std::error_code error;
    fs::remove_all(state.staging, error);
    if (!fs::create_directory(state.staging, error))
        throw StepError("无法在“" + Utf8FromPath(parent) + "”中创建临时文件夹：" + error.message());
    state.stagingRemoval.Register(state.staging, platform::RemovedOnInterrupt::What::Folder);
    const fs::path mark = PathFromUtf8(platform::JoinedAsTyped(state.stagingText, kMarkName));
    state.Register(mark);
    try {
        platform::ReplaceFileContent(mark, kMarkText);
    } catch (const platform::FileError& failure) {
        throw StepError(Utf8FromPath(mark), StepError::kNoLine, StepError::kNoField, WriteProblemText(failure));
    }
}

RunFolder::~RunFolder() {
    std::error_code error;
    fs::remove_all(state_->staging, error);
}

const std::vector<std::string>& RunFolder::removedStaging() const { return state_->removed; }

std::string RunFolder::Staged(const std::string& finalPath) const {
    const std::string staged =
        platform::JoinedAsTyped(state_->stagingText, Utf8FromPath(PathFromUtf8(finalPath).filename()));
    state_->Register(PathFromUtf8(staged));
    return staged;
}

void RunFolder::CheckPlaceable(const std::vector<std::string>& finalPaths) {
    for (const std::string& path : finalPaths) {
        if (IsFolderOutput(path)) {
            FolderReplacement(path, path);  // a folder or nothing
            continue;
        }
        try {
            platform::ExamineOutput(PathFromUtf8(path));
        } catch (const platform::FileError& error) {
            // A folder about to be made holds nothing in the way.
            if (error.problem() == platform::FileProblem::NotFound) continue;
            throw StepError(path, StepError::kNoLine, StepError::kNoField,
                            WriteProblemText(error) + "，成果无法放入输出文件夹");
        }
    }
}

void RunFolder::MoveIn(const std::vector<std::string>& finalPaths) {
    State& state = *state_;
    std::error_code error;
    bool madeFolder = false;
    if (!fs::is_directory(state.folder, error)) {
        if (!fs::create_directory(state.folder, error) && error)
            throw StepError("无法创建输出文件夹“" + Utf8FromPath(state.folder) + "”：" + error.message());
        madeFolder = true;
    }
    const auto removeMadeFolder = [&] {
        std::error_code ignored;
        if (madeFolder) fs::remove(state.folder, ignored);
    };

    // Every file checked and ready beside its place (on its disk, flushed, with the permissions
    // of the file it replaces) before the first one moves.
    std::vector<Placement> files(finalPaths.size());
    for (std::size_t index = 0; index < finalPaths.size(); ++index) {
        const std::string& path = finalPaths[index];
        try {
            if (IsFolderOutput(path)) {
                files[index].folder.emplace(Staged(path), path);
                continue;
            }
            files[index].file.emplace(PathFromUtf8(path), PathFromUtf8(Staged(path)));
            files[index].file->Finish();
        } catch (const platform::FileError& failure) {
            files.clear();
            removeMadeFolder();
            throw StepError(path, StepError::kNoLine, StepError::kNoField,
                            WriteProblemText(failure) + "，成果没有移入输出文件夹");
        } catch (const StepError&) {
            files.clear();
            removeMadeFolder();
            throw;
        }
    }

    // The files written directly (devices) cannot be taken back: they come last.
    std::vector<std::size_t> order;
    for (const bool direct : {false, true})
        for (std::size_t index = 0; index < files.size(); ++index)
            if (files[index].writesDirectly() == direct) order.push_back(index);

    platform::InterruptsHeldBack heldBack;
    for (std::size_t step = 0; step < order.size(); ++step) {
        const std::size_t index = order[step];
        const std::optional<std::string> failure = ProblemOf([&] {
            if (beforePlacing) beforePlacing(index);
            files[index].Commit();
        });
        if (!failure) continue;
        std::string putBack;
        for (std::size_t undo = step; undo-- > 0;) {
            if (const std::optional<std::string> undoFailure = ProblemOf([&] { files[order[undo]].PutBack(); }))
                putBack += "\n无法恢复“" + finalPaths[order[undo]] + "”：" + *undoFailure;
        }
        removeMadeFolder();
        if (!putBack.empty())
            throw StepError(finalPaths[index], StepError::kNoLine, StepError::kNoField,
                            *failure + "，成果没有全部移入输出文件夹；已移入的文件未能全部恢复：" + putBack);
        throw StepError(finalPaths[index], StepError::kNoLine, StepError::kNoField,
                        *failure + "，成果没有移入输出文件夹；已移入的 " + std::to_string(step) +
                            " 个文件已恢复为原来的文件");
    }
    for (Placement& file : files) file.DropReplaced();
}

}  // namespace qorvel
