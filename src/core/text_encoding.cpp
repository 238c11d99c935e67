#include "core/text_encoding.h"

#include <cerrno>
#include <cstdio>
#include <iconv.h>

namespace qorvel {

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 0;
        char32_t codePoint = 0;
        if (c < 0x80) { ++i; continue; }
        if ((c & 0xE0) == 0xC0) { length = 2; codePoint = c & 0x1F; }
        else if ((c & 0xF0) == 0xE0) { length = 3; codePoint = c & 0x0F; }
        else if ((c & 0xF8) == 0xF0) { length = 4; codePoint = c & 0x07; }
        else return false;
        if (i + length > bytes.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values beyond U+10FFFF are not UTF-8.
        static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (codePoint < kSmallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

namespace {
class Converter {
public:
    Converter(const char* from, const char* to) : handle_(iconv_open(to, from)) {}
    ~Converter() { if (valid()) iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    // Converts as much as it can; returns false at the first byte it cannot take, leaving
    // `input` there.
    bool convert(std::string_view& input, std::string& output) {
        char buffer[4096];
        while (!input.empty()) {
            char* in = const_cast<char*>(input.data());
            std::size_t inLeft = input.size();
            char* out = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t result = iconv(handle_, &in, &inLeft, &out, &outLeft);
            output.append(buffer, static_cast<std::size_t>(out - buffer));
            input = std::string_view(in, inLeft);
            if (result == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
        }
        return true;
    }

private:
    iconv_t handle_;
};
}  // namespace

std::optional<std::string> ConvertEncoding(std::string_view bytes, const char* from, const char* to) {
    Converter converter(from, to);
    if (!converter.valid()) return std::nullopt;
    std::string output;
    if (!converter.convert(bytes, output)) return std::nullopt;
    return output;
}

std::optional<std::string> Utf8ToGbk(std::string_view utf8) { return ConvertEncoding(utf8, "UTF-8", "GBK"); }

std::string GbkToUtf8Lossy(std::string_view gbk) {
    Converter converter("GBK", "UTF-8");
    std::string output;
    while (!gbk.empty()) {
        if (converter.valid() && converter.convert(gbk, output)) break;
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(gbk.front()));
        output += escaped;
        gbk.remove_prefix(1);
    }
    return output;
}

}  // namespace qorvel
