#include "core/text_encoding.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "core/code_page_tables.h"

namespace qorvel {

namespace tables = code_page_tables;

namespace {

// The code point of the UTF-8 character at `i`, moving `i` past it; nothing for a byte
// sequence that is not UTF-8 (overlong forms, surrogates and values beyond U+10FFFF are not).
std::optional<char32_t> NextCodePoint(std::string_view bytes, std::size_t& i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    char32_t codePoint = 0;
    if (c < 0x80) {
        ++i;
        return c;
    }
    if ((c & 0xE0) == 0xC0) { length = 2; codePoint = c & 0x1F; }
    else if ((c & 0xF0) == 0xE0) { length = 3; codePoint = c & 0x0F; }
    else if ((c & 0xF8) == 0xF0) { length = 4; codePoint = c & 0x07; }
    else return std::nullopt;
    if (i + length > bytes.size()) return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(bytes[i + k]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < kSmallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return std::nullopt;
    i += length;
    return codePoint;
}

std::vector<CodePage> MakeCodePages() {
    std::vector<CodePage> pages;
    pages.reserve(tables::kTableCount);
    for (std::size_t k = 0; k < tables::kTableCount; ++k) pages.emplace_back(tables::kTables[k]);
    return pages;
}

const std::vector<CodePage>& CodePages() {
    static const std::vector<CodePage> pages = MakeCodePages();
    return pages;
}

const tables::Table& GbkTable() {
    static const tables::Table& gbk = *std::find_if(tables::kTables, tables::kTables + tables::kTableCount,
                                                    [](const tables::Table& table) { return std::string_view(table.name) == "GBK"; });
    return gbk;
}

// GBK's code of every character of the first 65536 (none lies beyond): a single byte below
// 0x100, two bytes above; 0 where GBK has none. Built once from the reading table: the first
// code that reads as a character is the one written for it.
const std::uint16_t* GbkCodes() {
    static const std::unique_ptr<std::uint16_t[]> codes = [] {
        auto made = std::make_unique<std::uint16_t[]>(0x10000);
        const tables::Table& gbk = GbkTable();
        for (unsigned b = 0x80; b < 0x100; ++b) {
            const std::uint16_t c = gbk.bytes[b];
            if (c != tables::kNoCharacter && c != tables::kLeadByte && made[c] == 0) made[c] = static_cast<std::uint16_t>(b);
        }
        const unsigned width = gbk.lastTrail - gbk.firstTrail + 1u;
        for (unsigned lead = 0; lead < 0x100; ++lead) {
            if (gbk.rows[lead] == tables::kNoRow) continue;
            const std::uint16_t* row = gbk.pairs + gbk.rows[lead] * width;
            for (unsigned k = 0; k < width; ++k)
                if (row[k] != 0 && made[row[k]] == 0) made[row[k]] = static_cast<std::uint16_t>(lead << 8 | (gbk.firstTrail + k));
        }
        return made;
    }();
    return codes.get();
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        if (!NextCodePoint(bytes, i)) return false;
    }
    return true;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

const CodePage* CodePage::Named(std::string_view name) {
    for (const CodePage& page : CodePages())
        if (name == page.name()) return &page;
    return nullptr;
}

const CodePage& CodePage::Gbk() {
    static const CodePage gbk(GbkTable());
    return gbk;
}

const char* CodePage::name() const { return table_->name; }

bool CodePage::Read(std::string_view& input, std::string& out) const {
    const tables::Table& table = *table_;
    const unsigned width = table.lastTrail - table.firstTrail + 1u;
    // Where the last character written starts in `out`, while a combining mark may still
    // compose with it.
    std::size_t composable = std::string::npos;
    std::uint16_t last = 0;
    std::size_t i = 0;
    for (; i < input.size(); ++i) {
        const auto b = static_cast<unsigned char>(input[i]);
        std::uint16_t c = table.bytes[b];
        if (c == b && b < 0x80 && table.compositionCount == 0) {  // as in ASCII: most bytes of most texts
            out += static_cast<char>(b);
            continue;
        }
        if (c == tables::kNoCharacter) break;
        if (c == tables::kLeadByte) {
            if (i + 1 == input.size()) break;
            const auto trail = static_cast<unsigned char>(input[i + 1]);
            if (trail < table.firstTrail || trail > table.lastTrail) break;
            c = table.pairs[table.rows[b] * width + (trail - table.firstTrail)];
            if (c == 0) break;
            ++i;
        }
        if (composable != std::string::npos) {
            const tables::Composition* end = table.compositions + table.compositionCount;
            const tables::Composition* found = std::lower_bound(
                table.compositions, end, tables::Composition{last, c, 0},
                [](const tables::Composition& x, const tables::Composition& y) {
                    return x.base != y.base ? x.base < y.base : x.mark < y.mark;
                });
            if (found != end && found->base == last && found->mark == c) {
                out.resize(composable);
                AppendUtf8(out, found->composed);
                last = found->composed;
                if (!table.recomposes) composable = std::string::npos;
                continue;
            }
        }
        if (table.compositionCount) composable = out.size();
        last = c;
        AppendUtf8(out, c);
    }
    input.remove_prefix(i);
    return input.empty();
}

std::optional<std::string> CodePage::ToUtf8(std::string_view bytes) const {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    if (!Read(bytes, out)) return std::nullopt;
    return out;
}

std::optional<std::string> GbkToUtf8(std::string_view gbk) { return CodePage::Gbk().ToUtf8(gbk); }

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
    const std::uint16_t* codes = GbkCodes();
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        const std::optional<char32_t> c = NextCodePoint(utf8, i);
        if (!c) return std::nullopt;
        // Unicode's tag characters (language tags, invisible) are passed over as iconv does;
        // GBK holds no other character beyond the first 65536.
        if (*c >= 0xE0000 && *c <= 0xE007F) continue;
        if (*c > 0xFFFF || codes[*c] == 0) return std::nullopt;
        const std::uint16_t code = codes[*c];
        if (code > 0xFF) out += static_cast<char>(code >> 8);
        out += static_cast<char>(code & 0xFF);
    }
    return out;
}

std::string GbkToUtf8Lossy(std::string_view gbk) {
    std::string out;
    out.reserve(gbk.size() + gbk.size() / 2);
    while (!CodePage::Gbk().Read(gbk, out)) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(gbk.front()));
        out += escaped;
        gbk.remove_prefix(1);
    }
    return out;
}

}  // namespace qorvel
