#include "drawing/dxf_text.h"

#include <array>
#include <charconv>

#include "core/text_encoding.h"

namespace qorvel {

namespace {

std::string Upper(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

bool AllDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

std::optional<unsigned> Hex4(std::string_view text) {
    if (text.size() < 4) return std::nullopt;
    unsigned value = 0;
    const auto parsed = std::from_chars(text.data(), text.data() + 4, value, 16);
    if (parsed.ec != std::errc{} || parsed.ptr != text.data() + 4) return std::nullopt;
    return value;
}

// \U+XXXX at `at`: the code point and how many bytes the escape (or surrogate pair) takes.
bool UnicodeEscape(std::string_view text, std::size_t at, char32_t& codePoint, std::size_t& length) {
    if (text.compare(at, 3, "\\U+") != 0) return false;
    const auto first = Hex4(text.substr(at + 3));
    if (!first || *first == 0) return false;
    if (*first >= 0xD800 && *first <= 0xDBFF) {
        // A character beyond the first 65536 is written as its UTF-16 surrogate pair.
        if (text.compare(at + 7, 3, "\\U+") != 0) return false;
        const auto second = Hex4(text.substr(at + 10));
        if (!second || *second < 0xDC00 || *second > 0xDFFF) return false;
        codePoint = 0x10000 + ((*first - 0xD800) << 10) + (*second - 0xDC00);
        length = 14;
        return true;
    }
    if (*first >= 0xDC00 && *first <= 0xDFFF) return false;
    codePoint = *first;
    length = 7;
    return true;
}

// \M+nXXXX at `at`: a double-byte character XXXX of the East Asian code page n.
bool MultibyteEscape(std::string_view text, std::size_t at, std::string& character) {
    static constexpr std::array<const char*, 5> kCodePages{"CP932", "CP950", "CP949", "JOHAB", "GBK"};
    if (text.compare(at, 3, "\\M+") != 0 || at + 8 > text.size()) return false;
    const char page = text[at + 3];
    if (page < '1' || page > '5') return false;
    const auto code = Hex4(text.substr(at + 4));
    if (!code || *code == 0) return false;
    std::string bytes;
    if (*code > 0xFF) bytes += static_cast<char>(*code >> 8);
    bytes += static_cast<char>(*code & 0xFF);
    const CodePage* codePage = CodePage::Named(kCodePages[static_cast<std::size_t>(page - '1')]);
    auto converted = codePage ? codePage->ToUtf8(bytes) : std::nullopt;
    if (!converted || converted->empty()) return false;
    character = std::move(*converted);
    return true;
}

}  // namespace

std::optional<bool> IsUnicodeVersion(std::string_view acadVersion) {
    if (acadVersion.size() != 6 || !acadVersion.starts_with("AC") || !AllDigits(acadVersion.substr(2)))
        return std::nullopt;
    return acadVersion.substr(2) >= "1021";
}

std::optional<std::string> EncodingOfCodePage(std::string_view codePage) {
    const std::string name = Upper(codePage);
    struct Known {
        const char* codePage;
        const char* encoding;
    };
    static constexpr Known kKnown[] = {
        {"ANSI_936", "GBK"},     {"GB2312", "GBK"},     {"ANSI_950", "CP950"}, {"BIG5", "CP950"},
        {"ANSI_932", "CP932"},   {"DOS932", "CP932"},   {"ANSI_949", "CP949"}, {"KSC5601", "CP949"},
        {"ANSI_1361", "JOHAB"},  {"JOHAB", "JOHAB"},    {"ANSI_874", "CP874"}, {"MACINTOSH", "MACINTOSH"},
        {"MAC-ROMAN", "MACINTOSH"}, {"ASCII", "ASCII"}, {"UTF8", "UTF-8"},     {"UTF-8", "UTF-8"},
    };
    for (const Known& known : kKnown)
        if (name == known.codePage) return std::string(known.encoding);
    if (name.starts_with("ANSI_") && AllDigits(name.substr(5))) {
        const std::string number = name.substr(5);
        if (number.size() == 4 && number >= "1250" && number <= "1258") return "CP" + number;
    }
    if (name.starts_with("DOS") && AllDigits(name.substr(3))) {
        static constexpr const char* kDos[] = {"437", "850", "852", "855", "857", "860", "861",
                                               "863", "864", "865", "866", "869"};
        for (const char* number : kDos)
            if (name.substr(3) == number) return "CP" + name.substr(3);
    }
    if (name.starts_with("ISO8859-") && AllDigits(name.substr(8))) {
        // The parts 1 to 10, written without leading zeros; any other number names nothing.
        static constexpr const char* kParts[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
        for (const char* part : kParts)
            if (name.substr(8) == part) return "ISO-8859-" + name.substr(8);
    }
    return std::nullopt;
}

std::string DecodeDxfEscapes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t backslash = text.find('\\', at);
        if (backslash == std::string_view::npos) break;
        out.append(text.substr(at, backslash - at));
        at = backslash;
        char32_t codePoint = 0;
        std::size_t length = 0;
        std::string character;
        if (UnicodeEscape(text, at, codePoint, length)) {
            AppendUtf8(out, codePoint);
            at += length;
        } else if (MultibyteEscape(text, at, character)) {
            out += character;
            at += 8;
        } else {
            out += '\\';
            ++at;
        }
    }
    out.append(text.substr(at));
    return out;
}

DxfTextDecoder::DxfTextDecoder(std::string encoding)
    : encoding_(std::move(encoding)), codePage_(encoding_ == "UTF-8" ? nullptr : CodePage::Named(encoding_)) {}

std::optional<std::string> DxfTextDecoder::Decode(std::string_view raw) const {
    bool ascii = true;
    for (char c : raw)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    std::string text;
    if (ascii) {
        text.assign(raw);
    } else if (codePage_) {
        if (!codePage_->Read(raw, text)) return std::nullopt;  // `text` starts empty
    } else if (encoding_ == "UTF-8" && IsValidUtf8(raw)) {
        text.assign(raw);
    } else {
        return std::nullopt;
    }
    if (text.find('\\') == std::string::npos) return text;
    return DecodeDxfEscapes(text);
}

}  // namespace qorvel
