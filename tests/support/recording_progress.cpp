#include "support/recording_progress.h"

namespace qorvel::testing {

void RecordingProgress::Advance(std::string_view prefix, std::size_t count, std::size_t done, std::size_t total) {
    calls.push_back("advance " + std::string(prefix) + std::to_string(count) + " " + std::to_string(done) + "/" +
                    std::to_string(total));
}

void RecordingProgress::Status(std::string_view prefix, std::size_t count) {
    calls.push_back("status " + std::string(prefix) + std::to_string(count));
}

void RecordingProgress::Percent(int percent) { calls.push_back("percent " + std::to_string(percent)); }

}  // namespace qorvel::testing
