#include "core/lenient_read_log.h"

#include <algorithm>
#include <limits>

namespace qorvel {

namespace {
// Enough of a field's text for a message, which shows at most 60 characters of it.
constexpr std::size_t kLongestSampleText = 256;
constexpr int kFieldsWithBits = 8;
}  // namespace

LenientReadLog::LenientReadLog(std::size_t lastLine)
    : lastLine_(lastLine), lastSampleLine_(std::numeric_limits<std::size_t>::max()) {}

bool LenientReadLog::firstTime(std::size_t line, int field) const {
    if (field >= 0 && field < kFieldsWithBits && line <= lastLine_) {
        std::call_once(seenAllocated_, [&] { seen_ = std::make_unique<std::atomic<std::uint8_t>[]>(lastLine_ + 1); });
        const auto bit = static_cast<std::uint8_t>(1u << field);
        return (seen_[line].fetch_or(bit, std::memory_order_relaxed) & bit) == 0;
    }
    const std::lock_guard lock(mutex_);
    return seenElsewhere_.emplace(line, field).second;
}

void LenientReadLog::Note(std::size_t line, int field, std::string_view text) const {
    if (!firstTime(line, field)) return;
    count_.fetch_add(1, std::memory_order_relaxed);
    if (line > lastSampleLine_.load(std::memory_order_relaxed)) return;
    const std::lock_guard lock(mutex_);
    const auto before = [](const Sample& sample, std::pair<std::size_t, int> key) {
        return std::pair{sample.line, sample.field} < key;
    };
    const auto at = std::lower_bound(samples_.begin(), samples_.end(), std::pair{line, field}, before);
    if (at == samples_.end() && samples_.size() == kSamples) return;
    samples_.insert(at, Sample{line, field, std::string(text.substr(0, kLongestSampleText))});
    if (samples_.size() > kSamples) samples_.pop_back();
    if (samples_.size() == kSamples) lastSampleLine_.store(samples_.back().line, std::memory_order_relaxed);
}

std::unique_ptr<LenientReadLog> LenientReadLog::Copy() const {
    auto copy = std::make_unique<LenientReadLog>(lastLine_);
    const std::lock_guard lock(mutex_);
    if (seen_) {
        copy->seen_ = std::make_unique<std::atomic<std::uint8_t>[]>(lastLine_ + 1);
        for (std::size_t line = 0; line <= lastLine_; ++line)
            copy->seen_[line].store(seen_[line].load(std::memory_order_relaxed), std::memory_order_relaxed);
        std::call_once(copy->seenAllocated_, [] {});
    }
    copy->count_.store(count_.load(std::memory_order_relaxed), std::memory_order_relaxed);
    copy->lastSampleLine_.store(lastSampleLine_.load(std::memory_order_relaxed), std::memory_order_relaxed);
    copy->seenElsewhere_ = seenElsewhere_;
    copy->samples_ = samples_;
    return copy;
}

std::vector<LenientReadLog::Sample> LenientReadLog::samples() const {
    const std::lock_guard lock(mutex_);
    return samples_;
}

}  // namespace qorvel
