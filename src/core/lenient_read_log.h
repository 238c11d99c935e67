#pragma once
// The fields of a data file that were read leniently although their text is not a plain
// number. Detail points are read leniently (the leading number, 0 when there is none) because
// stored survey files rely on it; but a typo such as "43825x.928", read as 43825, silently
// moves a point out of its section. Each such reading is noted here, once per (line, field),
// so that the front ends can warn: the count, and the first few with their text.
//
// A plain number is what the strict conversion accepts (core/number_read.h). An empty field is
// not one: it reads as 0 and is noted too, as a missing coordinate is worth a word.
//
// Steps read on two threads at once: noting is thread-safe, and the samples are the first in
// (line, field) order whatever order the readings came in.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qorvel {

class LenientReadLog {
public:
    struct Sample {
        std::size_t line = 0;  // physical line, counted from 1
        int field = 0;         // counted from 0
        std::string text;      // the field's bytes as read (a very long one cut short)

        bool operator==(const Sample&) const = default;
    };
    static constexpr std::size_t kSamples = 10;

    // `lastLine`: the file's last physical line holding a record (0 for none).
    explicit LenientReadLog(std::size_t lastLine = 0);
    LenientReadLog(const LenientReadLog&) = delete;
    LenientReadLog& operator=(const LenientReadLog&) = delete;

    // Notes that field `field` of line `line` was read leniently from `text`, unless it was
    // noted before. Const: the log records what was read from a file, not the file's content.
    void Note(std::size_t line, int field, std::string_view text) const;

    // A log that has noted what this one has; the run hands it to a step that takes over what
    // an earlier step read, so that it warns as if it had read the fields itself.
    std::unique_ptr<LenientReadLog> Copy() const;

    // How many (line, field) were noted.
    std::size_t count() const { return count_.load(std::memory_order_relaxed); }
    // The first kSamples of them in (line, field) order.
    std::vector<Sample> samples() const;

private:
    bool firstTime(std::size_t line, int field) const;

    std::size_t lastLine_;
    mutable std::once_flag seenAllocated_;
    // A bit per line for each of fields 0 to 7 (the fields steps read leniently); allocated at
    // the first note, so a clean file costs nothing.
    mutable std::unique_ptr<std::atomic<std::uint8_t>[]> seen_;
    mutable std::atomic<std::size_t> count_{0};
    // Lines beyond the first kSamples' last line need no lock: they cannot be samples.
    mutable std::atomic<std::size_t> lastSampleLine_;
    mutable std::mutex mutex_;
    mutable std::set<std::pair<std::size_t, int>> seenElsewhere_;  // fields from 8 on, lines beyond lastLine
    mutable std::vector<Sample> samples_;                         // ascending, at most kSamples
};

}  // namespace qorvel
