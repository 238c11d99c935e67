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
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
}  // namespace

EncodingConverter::EncodingConverter(const char* from, const char* to) : handle_(iconv_open(to, from)) {}

EncodingConverter::~EncodingConverter() {
    if (valid()) iconv_close(static_cast<iconv_t>(handle_));
}

bool EncodingConverter::valid() const { return static_cast<iconv_t>(handle_) != kNoConverter; }

bool EncodingConverter::Convert(std::string_view& input, std::string& output) {
    if (!valid()) return false;
    const auto handle = static_cast<iconv_t>(handle_);
    iconv(handle, nullptr, nullptr, nullptr, nullptr);  // a fresh start for every text
    char buffer[4096];
    while (!input.empty()) {
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(handle, &in, &inLeft, &out, &outLeft);
        output.append(buffer, static_cast<std::size_t>(out - buffer));
        input = std::string_view(in, inLeft);
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
    }
    // The closing shift sequence of a stateful code page.
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    if (iconv(handle, nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1)) return false;
    output.append(buffer, static_cast<std::size_t>(out - buffer));
    return true;
}

std::optional<std::string> ConvertEncoding(std::string_view bytes, const char* from, const char* to) {
    EncodingConverter converter(from, to);
    if (!converter.valid()) return std::nullopt;
    std::string output;
    if (!converter.Convert(bytes, output)) return std::nullopt;
    return output;
}

std::optional<std::string> Utf8ToGbk(std::string_view utf8) { return ConvertEncoding(utf8, "UTF-8", "GBK"); }

std::string GbkToUtf8Lossy(std::string_view gbk) {
    EncodingConverter converter("GBK", "UTF-8");
    std::string output;
    while (!gbk.empty()) {
        if (converter.Convert(gbk, output)) break;
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(gbk.front()));
        output += escaped;
        gbk.remove_prefix(1);
    }
    return output;
}

}  // namespace qorvel
