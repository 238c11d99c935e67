#pragma once
// The strings of a drawing in UTF-8. Drawings saved before R2007 hold their strings in the code
// page that the header's $DWGCODEPAGE names (ANSI_936 is GBK on a Simplified-Chinese system);
// from R2007 on they are UTF-8 whatever $DWGCODEPAGE says. A drawing that names no code page
// (or one the program does not know) was written on the surveyor's own system, in the
// surveyor's code page. Characters the code page cannot hold stand as \U+XXXX (a Unicode code
// point) or \M+nXXXX (a double-byte character of an East Asian code page), in texts and in
// layer names alike. A control character (other than tab) inside a string is read as the CAD
// program shows it, in caret form: LF is "^J", CR "^M", NUL "^@".

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/text_encoding.h"

namespace qorvel {

// $ACADVER "AC1021" and later (AC and four digits): the drawing's strings are UTF-8. Any other
// value, "AC2.10" or "AC1015" or none, means the code page.
bool IsUnicodeVersion(std::string_view acadVersion);

// The encoding of a $DWGCODEPAGE value (letter case ignored): ANSI_936 -> GBK,
// ANSI_1252 -> CP1252, DOS437 -> CP437, UTF8 -> UTF-8, ... Nothing for a code page we do not
// know. Every encoding but UTF-8 is one of core's code pages (CodePage::Named).
std::optional<std::string> EncodingOfCodePage(std::string_view codePage);

// A code page the surveyor may name for the drawings that do not name theirs: the name as
// $DWGCODEPAGE writes it and what it is, for a choice in the window.
struct DrawingCodePageName {
    const char* name;         // "ANSI_936"
    const char* description;  // "简体中文（GBK）"
    const char* encoding;     // "GBK", as EncodingOfCodePage gives it
};
// Every name EncodingOfCodePage knows but the aliases (GB2312 for ANSI_936, ...), the
// surveyor's usual ANSI_936 first.
std::span<const DrawingCodePageName> DrawingCodePageNames();

// Replaces the \U+XXXX and \M+nXXXX escapes in UTF-8 text by the characters they stand for
// (hex digits in either letter case). An escape that names no character stays as written.
std::string DecodeDxfEscapes(std::string_view utf8);

// A string of plain ASCII, which reads the same in every code page: its escapes decoded and
// its control characters in caret form.
std::string DecodeAsciiText(std::string_view ascii);

// Decodes the strings of one drawing.
class DxfTextDecoder {
public:
    // `encoding` is one of EncodingOfCodePage's; "UTF-8" for drawings from R2007 on. An
    // encoding without a table decodes no string but plain ASCII.
    explicit DxfTextDecoder(std::string encoding);

    const std::string& encoding() const { return encoding_; }
    // The string in UTF-8 with its escapes decoded and its control characters in caret form;
    // nothing when the bytes are not valid in the drawing's encoding.
    std::optional<std::string> Decode(std::string_view raw) const;

private:
    std::string encoding_;
    const CodePage* codePage_ = nullptr;  // null for UTF-8 and for an encoding without a table
};

}  // namespace qorvel
