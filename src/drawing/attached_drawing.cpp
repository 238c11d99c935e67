#include "drawing/attached_drawing.h"

#include <sys/stat.h>

#include "drawing/dxf_reader.h"

namespace qorvel {

std::optional<FileIdentity> FileIdentity::Of(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    FileIdentity identity;
    identity.size = static_cast<std::uintmax_t>(info.st_size);
    identity.modifiedNanoseconds = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    identity.device = static_cast<std::uintmax_t>(info.st_dev);
    identity.inode = static_cast<std::uintmax_t>(info.st_ino);
    return identity;
}

std::shared_ptr<AttachedDrawing> AttachedDrawing::Load(const std::string& path, const DxfReadOptions& options) {
    std::shared_ptr<AttachedDrawing> attached(new AttachedDrawing);
    attached->path_ = path;
    attached->options_ = options;
    // Taken before reading: a file saved again while it is read counts as changed next time.
    attached->identity_ = FileIdentity::Of(path);
    attached->drawing_ = LoadDxf(path, options);
    attached->layerNames_ = attached->drawing_.LayerNames();
    return attached;
}

bool AttachedDrawing::ChangedOnDisk() const {
    const auto now = FileIdentity::Of(path_);
    return !now || !identity_ || *now != *identity_;
}

}  // namespace qorvel
