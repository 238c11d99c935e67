#pragma once
// The text a step writes: lines ended by CR LF, as the programs that read our files expect.

#include <cstddef>
#include <string>
#include <string_view>

namespace qorvel {

class OutputText {
public:
    OutputText& operator<<(std::string_view text) {
        bytes_ += text;
        return *this;
    }
    OutputText& operator<<(char c) {
        bytes_ += c;
        return *this;
    }
    void EndLine() {
        bytes_ += "\r\n";
        ++lines_;
    }
    void Line(std::string_view text) {
        bytes_ += text;
        EndLine();
    }

    // Text written to another OutputText, holding `lines` lines ended there.
    void AppendLines(std::string_view text, std::size_t lines) {
        bytes_ += text;
        lines_ += lines;
    }
    // Back to what was written when there were `size` bytes in `lines` lines.
    void Truncate(std::size_t size, std::size_t lines) {
        bytes_.resize(size);
        lines_ = lines;
    }

    // Room for `bytes` in all, so that a large output is not copied as it grows.
    void Reserve(std::size_t bytes) { bytes_.reserve(bytes); }

    const std::string& bytes() const { return bytes_; }
    std::string TakeBytes() && { return std::move(bytes_); }
    std::size_t lineCount() const { return lines_; }

private:
    std::string bytes_;
    std::size_t lines_ = 0;
};

}  // namespace qorvel
