#include "drawing/dxf_pairs.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

#include "core/fields.h"
#include "core/step_error.h"

namespace qorvel {

namespace {

constexpr int kLargestGroupCode = 1071;

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// A value as messages quote it: at most a few dozen characters, however long the line.
std::string Quoted(std::string_view text) {
    std::size_t cut = std::min<std::size_t>(text.size(), 60);
    while (cut > 0 && cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    std::string shown = DisplayText(text.substr(0, cut));
    if (cut < text.size() && !shown.ends_with("…")) shown += "…";
    return "“" + shown + "”";
}

template <typename Unsigned>
Unsigned LittleEndian(const char* data) {
    Unsigned value = 0;
    for (std::size_t k = sizeof(Unsigned); k > 0; --k)
        value = static_cast<Unsigned>((value << 8) | static_cast<unsigned char>(data[k - 1]));
    return value;
}

}  // namespace

std::string DescribePlace(DxfPlace place) {
    return (place.binary ? "第 " + std::to_string(place.value) + " 字节处" : "第 " + std::to_string(place.value) + " 行");
}

void FailAt(const std::string& name, DxfPlace place, const std::string& reason) {
    if (place.binary) throw StepError(name, StepError::kNoLine, StepError::kNoField, DescribePlace(place) + "：" + reason);
    throw StepError(name, place.value == 0 ? 1 : place.value, StepError::kNoField, reason);
}

DxfPairs::DxfPairs(std::string_view bytes, std::string name) : bytes_(bytes), name_(std::move(name)) {
    if (bytes_.starts_with(kBinarySentinel)) {
        binary_ = true;
        pos_ = kBinarySentinel.size();
        // The first pair is (0, "SECTION"): its code is two zero bytes, or one zero byte before
        // the "S" in drawings written before R13.
        oneByteCodes_ = bytes_.size() > pos_ + 1 && bytes_[pos_ + 1] != '\0';
    } else if (bytes_.starts_with(kBinarySentinel.substr(0, 18))) {
        Fail({0, true}, "二进制 DXF 文件的文件头不完整");
    } else if (bytes_.starts_with("\xEF\xBB\xBF")) {
        pos_ = 3;  // a byte-order mark before the first line
    }
}

DxfPlace DxfPairs::endPlace() const {
    if (binary_) return {pos_, true};
    return {line_ == 0 ? 1 : line_, false};
}

bool DxfPairs::Next() { return binary_ ? NextBinary() : NextAscii(); }

std::string_view DxfPairs::ReadLine(bool& ended) {
    ended = pos_ >= bytes_.size();
    if (ended) return {};
    const char* start = bytes_.data() + pos_;
    const std::size_t left = bytes_.size() - pos_;
    const void* newline = std::memchr(start, '\n', left);
    std::size_t length = newline ? static_cast<std::size_t>(static_cast<const char*>(newline) - start) : left;
    pos_ += newline ? length + 1 : length;
    ++line_;
    if (length > 0 && start[length - 1] == '\r') --length;
    return {start, length};
}

bool DxfPairs::NextAscii() {
    if (pos_ >= bytes_.size()) return false;
    bool ended = false;
    codeLine_ = line_ + 1;
    const std::string_view codeText = TrimBlanks(ReadLine(ended));
    int code = -1;
    const auto parsed = std::from_chars(codeText.data(), codeText.data() + codeText.size(), code);
    if (codeText.empty() || parsed.ec != std::errc{} || parsed.ptr != codeText.data() + codeText.size())
        Fail(place(), codeText.empty() ? "此处应为组码，却是空行（组码与值错位）"
                                       : "组码不是数字：" + Quoted(codeText) + "（组码与值错位或不是 DXF 文件）");
    if (code < 0 || code > kLargestGroupCode) Fail(place(), "组码 " + std::to_string(code) + " 超出 DXF 组码的范围");
    code_ = code;
    text_ = ReadLine(ended);
    if (ended) Fail(place(), "文件在组码 " + std::to_string(code) + " 之后结束，缺少它的值（文件不完整）");
    return true;
}

std::string_view DxfPairs::Take(std::size_t count, const char* what) {
    if (bytes_.size() - pos_ < count)
        Fail({bytes_.size(), true}, std::string("文件在") + what + "中途结束（文件不完整）");
    const std::string_view taken = bytes_.substr(pos_, count);
    pos_ += count;
    return taken;
}

bool DxfPairs::BinaryTypeOf(int code, BinaryType& type) {
    auto in = [code](int first, int last) { return code >= first && code <= last; };
    if (in(0, 9) || in(100, 109) || in(300, 309) || in(320, 369) || in(390, 399) || in(410, 419) ||
        in(430, 439) || in(470, 481) || code == 999 || in(1000, 1003) || code == 1005)
        type = BinaryType::String;
    else if (in(10, 59) || in(110, 149) || in(210, 239) || in(460, 469) || in(1010, 1059))
        type = BinaryType::Double;
    else if (in(60, 79) || in(170, 179) || in(270, 289) || in(370, 389) || in(400, 409) || in(1060, 1070))
        type = BinaryType::Int16;
    else if (in(90, 99) || in(420, 429) || in(440, 459) || code == 1071)
        type = BinaryType::Int32;
    else if (in(160, 169))
        type = BinaryType::Int64;
    else if (in(290, 299))
        type = BinaryType::Boolean;
    else if (in(310, 319) || code == 1004)
        type = BinaryType::Chunk;
    else
        return false;
    return true;
}

bool DxfPairs::NextBinary() {
    if (pos_ >= bytes_.size()) return false;
    codeOffset_ = pos_;
    int code = 0;
    if (oneByteCodes_) {
        code = static_cast<unsigned char>(Take(1, "组码")[0]);
        if (code == 255) code = LittleEndian<std::uint16_t>(Take(2, "组码").data());
    } else {
        code = LittleEndian<std::uint16_t>(Take(2, "组码").data());
    }
    code_ = code;
    valueOffset_ = pos_;
    if (code > kLargestGroupCode || !BinaryTypeOf(code, type_))
        Fail(place(), "未知的组码 " + std::to_string(code) + "，无法确定它的值有多长（组码与值错位或文件已损坏）");
    text_ = {};
    switch (type_) {
        case BinaryType::String: {
            const char* start = bytes_.data() + pos_;
            const void* end = std::memchr(start, '\0', bytes_.size() - pos_);
            if (!end) Fail({bytes_.size(), true}, "文件在字符串中途结束（文件不完整）");
            const auto length = static_cast<std::size_t>(static_cast<const char*>(end) - start);
            text_ = {start, length};
            pos_ += length + 1;
            break;
        }
        case BinaryType::Double:
            real_ = std::bit_cast<double>(LittleEndian<std::uint64_t>(Take(8, "实数").data()));
            break;
        case BinaryType::Int16:
            integer_ = static_cast<std::int16_t>(LittleEndian<std::uint16_t>(Take(2, "整数").data()));
            break;
        case BinaryType::Int32:
            integer_ = static_cast<std::int32_t>(LittleEndian<std::uint32_t>(Take(4, "整数").data()));
            break;
        case BinaryType::Int64:
            integer_ = static_cast<std::int64_t>(LittleEndian<std::uint64_t>(Take(8, "整数").data()));
            break;
        case BinaryType::Boolean:
            integer_ = static_cast<unsigned char>(Take(1, "布尔值")[0]);
            break;
        case BinaryType::Chunk: {
            const auto length = static_cast<unsigned char>(Take(1, "二进制数据")[0]);
            text_ = Take(length, "二进制数据");
            break;
        }
    }
    return true;
}

std::string_view DxfPairs::text() const { return text_; }

void DxfPairs::FailValue(const std::string& reason) const { Fail(valuePlace(), reason); }

double DxfPairs::Real() const {
    if (binary_) {
        if (type_ != BinaryType::Double) FailValue("组码 " + std::to_string(code_) + " 的值不是实数");
        if (!std::isfinite(real_)) FailValue("组码 " + std::to_string(code_) + " 的值不是有限的数");
        return real_;
    }
    std::string_view number = TrimBlanks(text_);
    if (number.starts_with('+')) number.remove_prefix(1);
    double value = 0;
    const auto parsed = std::from_chars(number.data(), number.data() + number.size(), value);
    if (number.empty() || parsed.ec != std::errc{} || parsed.ptr != number.data() + number.size() ||
        !std::isfinite(value))
        FailValue("组码 " + std::to_string(code_) + " 的值不是数字：" + Quoted(text_));
    return value;
}

std::int64_t DxfPairs::Integer() const {
    if (binary_) {
        if (type_ == BinaryType::Int16 || type_ == BinaryType::Int32 || type_ == BinaryType::Int64 ||
            type_ == BinaryType::Boolean)
            return integer_;
        FailValue("组码 " + std::to_string(code_) + " 的值不是整数");
    }
    std::string_view number = TrimBlanks(text_);
    if (number.starts_with('+')) number.remove_prefix(1);
    std::int64_t value = 0;
    const auto parsed = std::from_chars(number.data(), number.data() + number.size(), value);
    if (number.empty() || parsed.ec != std::errc{} || parsed.ptr != number.data() + number.size())
        FailValue("组码 " + std::to_string(code_) + " 的值不是整数：" + Quoted(text_));
    return value;
}

}  // namespace qorvel
