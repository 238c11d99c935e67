#pragma once
// An AtomicOutput written in large pieces: the writers produce many small strings, and each
// write of an AtomicOutput is a system call.

#include <string>
#include <string_view>

#include "core/atomic_output.h"

namespace qorvel {

class BufferedOutput {
public:
    explicit BufferedOutput(std::string target) : output_(std::move(target)) { buffer_.reserve(2 * kPiece); }

    void Write(std::string_view bytes) {
        buffer_.append(bytes);
        if (buffer_.size() >= kPiece) Flush();
    }
    // Appending here directly saves a copy; call Written() after.
    std::string& buffer() { return buffer_; }
    void Written() {
        if (buffer_.size() >= kPiece) Flush();
    }
    void Commit() {
        Flush();
        output_.Commit();
    }
    const std::string& target() const { return output_.target(); }

private:
    static constexpr std::size_t kPiece = 1 << 20;
    void Flush() {
        output_.Write(buffer_);
        buffer_.clear();
    }
    AtomicOutput output_;
    std::string buffer_;
};

}  // namespace qorvel
