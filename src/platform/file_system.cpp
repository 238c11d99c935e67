#include "platform/file_system.h"

namespace qorvel::platform {

std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

FileError::FileError(FileProblem problem, std::string systemText)
    : std::runtime_error(systemText.empty() ? "file error" : systemText),
      problem_(problem),
      systemText_(std::move(systemText)) {}

bool SameFile(const std::filesystem::path& first, const std::filesystem::path& second) {
    const std::optional<FileStamp> a = StampOf(first);
    const std::optional<FileStamp> b = StampOf(second);
    return a && b && a->volume == b->volume && a->index == b->index;
}

}  // namespace qorvel::platform
