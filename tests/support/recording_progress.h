#pragma once
// For tests of the steps' progress: every call a step makes on its progress sink, in order, as
// text ("advance 已处理碎步点：3 3/10", "status 写入文件： 4", "percent 50").

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/progress.h"

namespace qorvel::testing {

class RecordingProgress final : public ProgressSink {
public:
    using ProgressSink::Advance;
    void Advance(std::string_view prefix, std::size_t count, std::size_t done, std::size_t total) override;
    void Status(std::string_view prefix, std::size_t count) override;
    void Percent(int percent) override;

    std::vector<std::string> calls;
};

}  // namespace qorvel::testing
