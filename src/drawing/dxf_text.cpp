#include "drawing/dxf_text.h"

#include <algorithm>
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

// A control character (other than tab) as the CAD program shows it: "^" and the character
// 0x40 above it. A string holding one is still one line of a data file, and nothing cuts it
// short at a NUL.
std::string InCaretForm(std::string text) {
    auto isControl = [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; };
    if (std::none_of(text.begin(), text.end(), isControl)) return text;
    std::string shown;
    shown.reserve(text.size() + 8);
    for (char c : text) {
        if (isControl(c)) {
            shown += '^';
            shown += static_cast<char>(c + 0x40);
        } else {
            shown += c;
        }
    }
    return shown;
}

}  // namespace

bool IsUnicodeVersion(std::string_view acadVersion) {
    return acadVersion.size() == 6 && acadVersion.starts_with("AC") && AllDigits(acadVersion.substr(2)) &&
           acadVersion.substr(2) >= "1021";
}

namespace {

constexpr DrawingCodePageName kCodePageNames[] = {
    {"ANSI_936", "简体中文（GBK）", "GBK"},
    {"ANSI_950", "繁体中文（Big5）", "CP950"},
    {"ANSI_932", "日文（Shift-JIS）", "CP932"},
    {"ANSI_949", "韩文", "CP949"},
    {"ANSI_1361", "韩文（Johab）", "JOHAB"},
    {"ANSI_874", "泰文", "CP874"},
    {"ANSI_1250", "中欧", "CP1250"},
    {"ANSI_1251", "西里尔文", "CP1251"},
    {"ANSI_1252", "西欧", "CP1252"},
    {"ANSI_1253", "希腊文", "CP1253"},
    {"ANSI_1254", "土耳其文", "CP1254"},
    {"ANSI_1255", "希伯来文", "CP1255"},
    {"ANSI_1256", "阿拉伯文", "CP1256"},
    {"ANSI_1257", "波罗的海文", "CP1257"},
    {"ANSI_1258", "越南文", "CP1258"},
    {"DOS437", "DOS 美国", "CP437"},
    {"DOS850", "DOS 西欧", "CP850"},
    {"DOS852", "DOS 中欧", "CP852"},
    {"DOS855", "DOS 西里尔文", "CP855"},
    {"DOS857", "DOS 土耳其文", "CP857"},
    {"DOS860", "DOS 葡萄牙文", "CP860"},
    {"DOS861", "DOS 冰岛文", "CP861"},
    {"DOS863", "DOS 加拿大法文", "CP863"},
    {"DOS864", "DOS 阿拉伯文", "CP864"},
    {"DOS865", "DOS 北欧", "CP865"},
    {"DOS866", "DOS 俄文", "CP866"},
    {"DOS869", "DOS 希腊文", "CP869"},
    {"ISO8859-1", "ISO 西欧", "ISO-8859-1"},
    {"ISO8859-2", "ISO 中欧", "ISO-8859-2"},
    {"ISO8859-3", "ISO 南欧", "ISO-8859-3"},
    {"ISO8859-4", "ISO 北欧", "ISO-8859-4"},
    {"ISO8859-5", "ISO 西里尔文", "ISO-8859-5"},
    {"ISO8859-6", "ISO 阿拉伯文", "ISO-8859-6"},
    {"ISO8859-7", "ISO 希腊文", "ISO-8859-7"},
    {"ISO8859-8", "ISO 希伯来文", "ISO-8859-8"},
    {"ISO8859-9", "ISO 土耳其文", "ISO-8859-9"},
    {"ISO8859-10", "ISO 北欧日耳曼文", "ISO-8859-10"},
    {"MACINTOSH", "苹果西欧", "MACINTOSH"},
    {"ASCII", "仅英文（ASCII）", "ASCII"},
    {"UTF8", "Unicode（UTF-8）", "UTF-8"},
};

// Other names CAD programs write for the same code pages.
constexpr DrawingCodePageName kCodePageAliases[] = {
    {"GB2312", "", "GBK"},      {"BIG5", "", "CP950"},         {"DOS932", "", "CP932"},
    {"KSC5601", "", "CP949"},   {"JOHAB", "", "JOHAB"},        {"MAC-ROMAN", "", "MACINTOSH"},
    {"UTF-8", "", "UTF-8"},
};

}  // namespace

std::optional<std::string> EncodingOfCodePage(std::string_view codePage) {
    const std::string name = Upper(codePage);
    for (const DrawingCodePageName& page : kCodePageNames)
        if (name == page.name) return std::string(page.encoding);
    for (const DrawingCodePageName& alias : kCodePageAliases)
        if (name == alias.name) return std::string(alias.encoding);
    return std::nullopt;
}

std::span<const DrawingCodePageName> DrawingCodePageNames() { return kCodePageNames; }

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

std::string DecodeAsciiText(std::string_view ascii) {
    std::string text = ascii.find('\\') == std::string_view::npos ? std::string(ascii) : DecodeDxfEscapes(ascii);
    return InCaretForm(std::move(text));
}

std::optional<std::string> DxfTextDecoder::Decode(std::string_view raw) const {
    const bool ascii = std::all_of(raw.begin(), raw.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) return DecodeAsciiText(raw);
    std::string text;
    if (codePage_) {
        if (!codePage_->Read(raw, text)) return std::nullopt;  // `text` starts empty
    } else if (encoding_ == "UTF-8" && IsValidUtf8(raw)) {
        text.assign(raw);
    } else {
        return std::nullopt;
    }
    if (text.find('\\') != std::string::npos) text = DecodeDxfEscapes(text);
    return InCaretForm(std::move(text));
}

}  // namespace qorvel
