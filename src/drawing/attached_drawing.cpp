#include "drawing/attached_drawing.h"

#include "drawing/dxf_reader.h"
#include "platform/file_system.h"

namespace qorvel {

std::optional<FileIdentity> FileIdentity::Of(const std::string& path) {
    const std::optional<platform::FileStamp> stamp = platform::StampOf(platform::PathFromUtf8(path));
    if (!stamp) return std::nullopt;
    FileIdentity identity;
    identity.size = stamp->size;
    identity.modifiedNanoseconds = stamp->modifiedNanoseconds;
    identity.device = stamp->volume;
    identity.inode = stamp->index;
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
