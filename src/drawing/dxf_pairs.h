#pragma once
// The group-code/value pairs a DXF file is made of, read one at a time from the file's bytes.
//
// ASCII DXF: a group code on one line, its value on the next (lines end with LF or CR LF, any
// length). Binary DXF: after the 22-byte sentinel, each group code as a little-endian integer
// (two bytes; one byte in drawings before R13, where 255 escapes a two-byte code) followed by
// its value in the binary type the group code gives.
//
// Nothing is guessed: a group code that is not a number, a value of the wrong form or a file
// that ends between a code and its value fails with a StepError naming the drawing's line
// (ASCII) or byte offset (binary).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qorvel {

// Where a pair stands in the drawing: a line counted from 1, or a byte offset counted from 0.
struct DxfPlace {
    std::size_t value = 0;
    bool binary = false;
};

// "第 12 行" or "第 4096 字节处": how messages point at a place.
std::string DescribePlace(DxfPlace place);
// Fails with a StepError naming the drawing `name` and `place`.
[[noreturn]] void FailAt(const std::string& name, DxfPlace place, const std::string& reason);

class DxfPairs {
public:
    static constexpr std::string_view kBinarySentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};

    // `bytes` must outlive the reader; `name` is what messages call the drawing.
    DxfPairs(std::string_view bytes, std::string name);

    bool binary() const { return binary_; }
    const std::string& name() const { return name_; }

    // Moves to the next pair; false when the bytes are used up exactly at a pair boundary.
    bool Next();

    int code() const { return code_; }
    // Where the current pair's group code stands.
    DxfPlace place() const { return {binary_ ? codeOffset_ : codeLine_, binary_}; }
    // Where the current value stands (ASCII: the line after the code).
    DxfPlace valuePlace() const { return {binary_ ? valueOffset_ : codeLine_ + 1, binary_}; }
    // Where the reader stands after the last pair read: for "the file ends here" messages.
    DxfPlace endPlace() const;

    // The value as text: the line as written (ASCII), the string's bytes (binary strings).
    std::string_view text() const;
    // The value as a finite number: the whole line must be one (spaces around allowed).
    double Real() const;
    // The value as a whole number.
    std::int64_t Integer() const;

    // Fails naming the current value's place.
    [[noreturn]] void FailValue(const std::string& reason) const;
    [[noreturn]] void Fail(DxfPlace place, const std::string& reason) const { FailAt(name_, place, reason); }

private:
    enum class BinaryType { String, Double, Int16, Int32, Int64, Boolean, Chunk };
    static bool BinaryTypeOf(int code, BinaryType& type);

    bool NextAscii();
    bool NextBinary();
    std::string_view ReadLine(bool& ended);
    std::string_view Take(std::size_t count, const char* what);

    std::string_view bytes_;
    std::string name_;
    bool binary_ = false;
    bool oneByteCodes_ = false;
    std::size_t pos_ = 0;

    int code_ = -1;
    std::string_view text_;
    // ASCII
    std::size_t line_ = 0;  // lines consumed so far
    std::size_t codeLine_ = 0;
    // binary
    std::size_t codeOffset_ = 0;
    std::size_t valueOffset_ = 0;
    BinaryType type_ = BinaryType::String;
    double real_ = 0;
    std::int64_t integer_ = 0;
};

}  // namespace qorvel
