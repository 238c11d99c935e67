#include "platform/replaced_file.h"

#include <atomic>
#include <utility>

#include "platform/interrupt_slots.h"
#include "platform/interrupts.h"
#include "platform/process.h"
#include "platform/temporary_names.h"
#include "platform/windows/windows_text.h"

namespace qorvel::platform {

using windows::Fail;
using windows::FailLast;
using windows::Handle;

namespace {
namespace fs = std::filesystem;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::wstring FolderOf(const std::wstring& path) { return fs::path(path).parent_path().native(); }

std::string BaseNameOf(const std::wstring& path) { return windows::Utf8(fs::path(path).filename().native()); }

// The file a link (a symbolic link or junction) ends at, as the system resolves it.
std::wstring FinalPath(const std::wstring& path) {
    Handle file(::CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) FailLast();
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(file.get(), final.data(), static_cast<DWORD>(final.size()),
                                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) FailLast();
        if (length < final.size()) {
            final.resize(length);
            break;
        }
        final.resize(length + 1);
    }
    if (final.starts_with(L"\\\\?\\UNC\\")) return L"\\\\" + final.substr(8);
    if (final.starts_with(L"\\\\?\\")) return final.substr(4);
    return final;
}

OutputPlace Examine(const fs::path& target) {
    const std::wstring& given = target.native();
    if (given.empty() || given.back() == L'\\' || given.back() == L'/') throw FileError(FileProblem::IsFolder, {});
    OutputPlace place;
    if (windows::NamesADevice(target)) {
        place.kind = OutputPlace::Kind::Special;
        place.destination = target;
        return place;
    }
    std::wstring path = windows::Absolute(target);
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        path = FinalPath(path);
        attributes = ::GetFileAttributesW(path.c_str());
    }
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_PATH_NOT_FOUND || error == ERROR_DIRECTORY) windows::FailMissing(path);
        if (error != ERROR_FILE_NOT_FOUND) Fail(error);
        const DWORD folder = ::GetFileAttributesW(FolderOf(path).c_str());
        if (folder == INVALID_FILE_ATTRIBUTES) windows::FailMissing(path);
        if (!(folder & FILE_ATTRIBUTE_DIRECTORY)) throw FileError(FileProblem::NotAFolder, {});
        place.kind = OutputPlace::Kind::NewFile;
        place.destination = path;
        return place;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) throw FileError(FileProblem::IsFolder, {});
    if (attributes & FILE_ATTRIBUTE_READONLY) throw FileError(FileProblem::ReadOnly, {});
    // A program that holds the file open without sharing it (a spreadsheet, a CAD program) keeps
    // it from being replaced: said now, before anything is written.
    Handle probe(::CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!probe.valid()) FailLast();
    const DWORD type = ::GetFileType(probe.get());
    place.kind = type == FILE_TYPE_DISK ? OutputPlace::Kind::ExistingFile : OutputPlace::Kind::Special;
    place.destination = path;
    return place;
}

DWORD VolumeOf(const std::wstring& path) {
    Handle file(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) FailLast();
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file.get(), &info)) FailLast();
    return info.dwVolumeSerialNumber;
}

void WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD piece = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), piece, &written, nullptr)) FailLast();
        bytes.remove_prefix(written);
    }
}

void CopyInto(const std::wstring& from, HANDLE to) {
    Handle source(::CreateFileW(from.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                                nullptr));
    if (!source.valid()) FailLast();
    char buffer[1 << 16];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(source.get(), buffer, sizeof buffer, &got, nullptr)) FailLast();
        if (got == 0) break;
        WriteAll(to, std::string_view(buffer, got));
    }
}

// Removes the temporary files for `prefix` that processes no longer running left in `folder`.
void RemoveAbandonedTemporaries(const std::wstring& folder, const std::string& prefix) {
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = folder + L"\\" + windows::Wide(prefix) + L"*";
    HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    const long self = CurrentProcessId();
    do {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) continue;
        const long owner = detail::ProcessOfTemporary(windows::Utf8(found.cFileName), prefix);
        if (owner == 0 || owner == self || ProcessRunning(owner)) continue;
        ::DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

std::atomic<unsigned> gNames{0};

// A name beside `destination` that no file has yet: prefix, process id, `kind` and a number.
std::wstring UnusedName(const std::wstring& destination, const wchar_t* kind) {
    const std::wstring stem = FolderOf(destination) + L"\\" + windows::Wide(detail::TemporaryPrefix(BaseNameOf(destination))) +
                              std::to_wstring(CurrentProcessId()) + L"-" + kind;
    for (;;) {
        std::wstring name = stem + std::to_wstring(gNames++);
        if (::GetFileAttributesW(name.c_str()) == INVALID_FILE_ATTRIBUTES) return name;
    }
}
}  // namespace

struct ReplacedFile::State {
    OutputPlace place;
    std::wstring temporary;  // empty when writing directly
    bool ownsTemporary = true;
    std::wstring written;    // a special target's content, written at Commit
    Handle file;
    bool finished = false;
    bool committed = false;
    std::wstring kept;       // the replaced file, kept beside it after CommitKeepingReplaced
    RemovedOnInterrupt removal;

    ~State() {
        detail::NoteOpenFile(removal.slot(), -1);
        file.Close();
        if (!committed && ownsTemporary && !temporary.empty()) ::DeleteFileW(temporary.c_str());
        if (!kept.empty()) ::DeleteFileW(kept.c_str());
    }

    const std::wstring& destination() const { return place.destination.native(); }

    void OpenDirectly() {
        file = Handle(::CreateFileW(destination().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
        if (!file.valid()) FailLast();
    }

    void CreateTemporary() {
        const std::wstring folder = FolderOf(destination());
        RemoveAbandonedTemporaries(folder, detail::TemporaryPrefix(BaseNameOf(destination())));
        for (;;) {
            std::wstring name = UnusedName(destination(), L"");
            // Registered before it exists: the console handler runs on a thread of its own.
            removal.Register(fs::path(name));
            // Shared for deletion, so that an interrupt can remove it while it is open.
            file = Handle(::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                        FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                        nullptr));
            if (file.valid()) {
                temporary = std::move(name);
                detail::NoteOpenFile(removal.slot(), reinterpret_cast<std::intptr_t>(file.get()));
                return;
            }
            const DWORD error = ::GetLastError();
            removal.Release();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) Fail(error);
        }
    }

    void CloseFile() {
        detail::NoteOpenFile(removal.slot(), -1);
        file.Close();
    }
};

OutputPlace ExamineOutput(const std::filesystem::path& target) { return Examine(target); }

ReplacedFile::ReplacedFile(const std::filesystem::path& target) : state_(std::make_unique<State>()) {
    state_->place = Examine(target);
    if (writesDirectly()) {
        state_->OpenDirectly();
        return;
    }
    state_->CreateTemporary();
}

ReplacedFile::ReplacedFile(const std::filesystem::path& target, const std::filesystem::path& written)
    : state_(std::make_unique<State>()) {
    State& state = *state_;
    state.place = Examine(target);
    const std::wstring from = windows::Absolute(written);
    if (writesDirectly()) {
        state.written = from;
        state.OpenDirectly();
        return;
    }
    if (VolumeOf(from) == VolumeOf(FolderOf(state.destination()))) {
        state.temporary = from;
        state.ownsTemporary = false;
        return;
    }
    state.CreateTemporary();
    CopyInto(from, state.file.get());
}

ReplacedFile::~ReplacedFile() = default;
ReplacedFile::ReplacedFile(ReplacedFile&&) noexcept = default;
ReplacedFile& ReplacedFile::operator=(ReplacedFile&&) noexcept = default;

const OutputPlace& ReplacedFile::place() const { return state_->place; }

void ReplacedFile::Write(std::string_view bytes) { WriteAll(state_->file.get(), bytes); }

void ReplacedFile::Finish() {
    State& state = *state_;
    if (state.finished || writesDirectly()) return;
    // The replaced file's attributes and security go to the new one as it takes its place
    // (ReplaceFileW); here the content reaches the disk.
    if (!state.file.valid())
        state.file = Handle(::CreateFileW(state.temporary.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!state.file.valid()) FailLast();
    if (!::FlushFileBuffers(state.file.get())) FailLast();
    state.CloseFile();
    state.finished = true;
}

namespace {
// Puts `replacement` in place of `destination`; the replaced file is left at `kept` when given.
void PutInPlace(const OutputPlace& place, const std::wstring& replacement, const std::wstring& kept) {
    const std::wstring& destination = place.destination.native();
    if (place.kind == OutputPlace::Kind::NewFile) {
        if (!::MoveFileExW(replacement.c_str(), destination.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            FailLast();
        return;
    }
    if (!::ReplaceFileW(destination.c_str(), replacement.c_str(), kept.empty() ? nullptr : kept.c_str(),
                        REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr))
        FailLast();
}
}  // namespace

void ReplacedFile::Commit() {
    State& state = *state_;
    if (writesDirectly()) {
        if (!state.written.empty()) CopyInto(state.written, state.file.get());
        state.file.Close();
        state.committed = true;
        return;
    }
    Finish();
    PutInPlace(state.place, state.temporary, {});
    state.committed = true;
    state.removal.Release();
}

void ReplacedFile::CommitKeepingReplaced() {
    State& state = *state_;
    if (writesDirectly()) return Commit();
    Finish();
    std::wstring kept;
    if (place().kind == OutputPlace::Kind::ExistingFile) kept = UnusedName(state.destination(), L"kept");
    PutInPlace(state.place, state.temporary, kept);
    state.kept = std::move(kept);
    state.committed = true;
    state.removal.Release();
}

void ReplacedFile::PutBack() {
    State& state = *state_;
    if (!state.committed || writesDirectly()) return;
    if (!state.kept.empty()) {
        if (!::MoveFileExW(state.kept.c_str(), state.destination().c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            FailLast();
        state.kept.clear();
    } else if (!::DeleteFileW(state.destination().c_str()) && ::GetLastError() != ERROR_FILE_NOT_FOUND) {
        FailLast();
    }
    state.committed = false;
    state.ownsTemporary = false;
}

void ReplacedFile::DropReplaced() {
    State& state = *state_;
    if (!state.kept.empty()) ::DeleteFileW(std::exchange(state.kept, {}).c_str());
}

void ReplaceFileContent(const std::filesystem::path& target, std::string_view bytes) {
    ReplacedFile file(target);
    file.Write(bytes);
    file.Commit();
}

}  // namespace qorvel::platform
