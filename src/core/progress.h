#pragma once
// How a long computation tells the window where it is: status panel 2 shows the step's text,
// the running count and " 个"; the progress bar shows the share done in percent.

#include <cstddef>
#include <string_view>

namespace qorvel {

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    // Status text `prefix` + count + " 个", progress 100 * done / total.
    virtual void Advance(std::string_view prefix, std::size_t count, std::size_t done, std::size_t total) = 0;
    // Status text only; the bar keeps its value.
    virtual void Status(std::string_view prefix, std::size_t count) = 0;
    // The bar alone (for example back to 0 at the end of a drawing step).
    virtual void Percent(int percent) = 0;

    void Advance(std::string_view prefix, std::size_t count, std::size_t total) { Advance(prefix, count, count, total); }
};

class NullProgress final : public ProgressSink {
public:
    using ProgressSink::Advance;
    void Advance(std::string_view, std::size_t, std::size_t, std::size_t) override {}
    void Status(std::string_view, std::size_t) override {}
    void Percent(int) override {}
};

}  // namespace qorvel
