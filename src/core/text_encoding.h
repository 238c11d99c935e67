#pragma once
// Code pages. Data files are in the surveyor's ANSI code page, GBK on a Simplified-Chinese
// system; messages and the window speak UTF-8; a drawing's strings are in the code page its
// header names.
//
// Every conversion goes through the program's own tables (core/code_page_tables.h), taken from
// the GNU C library's iconv, whose conversions the program used before: a file gives the same
// bytes on Linux, on Windows (which has no iconv) and in the browser (whose C library has a GBK
// of its own). What iconv refuses is refused: bytes that are no character of their code page,
// characters a code page cannot hold.

#include <optional>
#include <string>
#include <string_view>

namespace qorvel {

namespace code_page_tables {
struct Table;
}

bool IsValidUtf8(std::string_view bytes);
// Appends the code point `c` (at most U+10FFFF, no surrogate) in UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// A code page that text is read from into UTF-8.
class CodePage {
public:
    // By iconv's name, letter case as iconv writes it: "GBK", "CP950", "CP1252", "CP437",
    // "ISO-8859-2", "MACINTOSH", "ASCII", ... Nothing for a code page without a table.
    static const CodePage* Named(std::string_view name);
    static const CodePage& Gbk();

    const char* name() const;
    // Appends `input` in UTF-8 to `out`. False at the first byte that is no character (a lead
    // byte without a valid second byte, or at the end), with `input` left there and what came
    // before it appended.
    bool Read(std::string_view& input, std::string& out) const;
    std::optional<std::string> ToUtf8(std::string_view bytes) const;

    explicit CodePage(const code_page_tables::Table& table) : table_(&table) {}

private:
    const code_page_tables::Table* table_;
};

std::optional<std::string> GbkToUtf8(std::string_view gbk);
// Nothing when the text is not UTF-8 or holds a character that GBK cannot.
std::optional<std::string> Utf8ToGbk(std::string_view utf8);
// For messages and the window: GBK turned into UTF-8, bytes that are no GBK character written
// as \xNN.
std::string GbkToUtf8Lossy(std::string_view gbk);

}  // namespace qorvel
