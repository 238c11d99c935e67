#pragma once
// Failures of a step: every one names the file, the line and the field it concerns, so a
// surveyor can open the file at that line and see what is wrong.

#include <cstddef>
#include <stdexcept>
#include <string>

namespace qorvel {

class StepError : public std::runtime_error {
public:
    static constexpr std::size_t kNoLine = 0;
    static constexpr int kNoField = -1;

    StepError(std::string file, std::size_t line, int field, std::string reason);
    explicit StepError(std::string reason);

    const std::string& file() const { return file_; }
    std::size_t line() const { return line_; }   // physical line, counted from 1; 0 when none
    int field() const { return field_; }         // field, counted from 0; -1 when none
    const std::string& reason() const { return reason_; }

    // The whole message in the user's language, e.g.
    // 文件“points.dat”第 12 行，字段 4：不是数字：“abc”
    const std::string& describe() const { return message_; }

private:
    std::string message_;  // what() too, which a NUL in a reason would cut short
    std::string file_;
    std::size_t line_;
    int field_;
    std::string reason_;
};

// Thrown when the user cancels a file dialog: the step ends without a word.
struct StepCancelled {};

}  // namespace qorvel
