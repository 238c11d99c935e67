#pragma once
// The drawing the drawing steps work on, as the surveyor opened it: its entities, its path, and
// the file's size and modification time when it was read, so that a drawing saved again in the
// CAD program since is read again before the next step uses it.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "drawing/drawing.h"
#include "drawing/dxf_reader.h"

namespace qorvel {

// What tells one state of a file from another.
struct FileIdentity {
    std::uintmax_t size = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::uintmax_t device = 0;
    std::uintmax_t inode = 0;
    bool operator==(const FileIdentity&) const = default;

    // Nothing when the path cannot be examined.
    static std::optional<FileIdentity> Of(const std::string& path);
};

class AttachedDrawing {
public:
    // Reads the drawing at `path`; fails with a StepError when it is missing or malformed.
    static std::shared_ptr<AttachedDrawing> Load(const std::string& path, const DxfReadOptions& options = {});

    const Drawing& drawing() const { return drawing_; }
    const std::string& path() const { return path_; }
    // What it was read with: a drawing attached with another code page is read again.
    const DxfReadOptions& options() const { return options_; }
    // True when the file is no longer the one read (saved again, replaced or removed).
    bool ChangedOnDisk() const;
    // The layers of the drawing's entities, for the window's layer box.
    const std::vector<std::string>& LayerNames() const { return layerNames_; }

private:
    AttachedDrawing() = default;
    std::string path_;
    DxfReadOptions options_;
    std::optional<FileIdentity> identity_;
    Drawing drawing_;
    std::vector<std::string> layerNames_;
};

}  // namespace qorvel
