#pragma once
// The strings of a drawing in UTF-8. Drawings saved before R2007 hold their strings in the code
// page that the header's $DWGCODEPAGE names (ANSI_936 is GBK on a Simplified-Chinese system);
// from R2007 on they are UTF-8 whatever $DWGCODEPAGE says. Characters the code page cannot hold
// stand as \U+XXXX (a Unicode code point) or \M+nXXXX (a double-byte character of an East Asian
// code page), in texts and in layer names alike.

#include <optional>
#include <string>
#include <string_view>

#include "core/text_encoding.h"

namespace qorvel {

// $ACADVER "AC1021" and later: the drawing's strings are UTF-8. Nothing when the text is no
// version name of the form AC followed by four digits.
std::optional<bool> IsUnicodeVersion(std::string_view acadVersion);

// The encoding of a $DWGCODEPAGE value (letter case ignored): ANSI_936 -> GBK,
// ANSI_1252 -> CP1252, DOS437 -> CP437, ... Nothing for a code page we do not know. Every
// encoding but UTF-8 is one of core's code pages (CodePage::Named).
std::optional<std::string> EncodingOfCodePage(std::string_view codePage);

// Replaces the \U+XXXX and \M+nXXXX escapes in UTF-8 text by the characters they stand for
// (hex digits in either letter case). An escape that names no character stays as written.
std::string DecodeDxfEscapes(std::string_view utf8);

// Decodes the strings of one drawing.
class DxfTextDecoder {
public:
    // `encoding` is one of EncodingOfCodePage's; "UTF-8" for drawings from R2007 on. An
    // encoding without a table decodes no string but plain ASCII.
    explicit DxfTextDecoder(std::string encoding);

    const std::string& encoding() const { return encoding_; }
    // The string in UTF-8 with its escapes decoded; nothing when the bytes are not valid in the
    // drawing's encoding.
    std::optional<std::string> Decode(std::string_view raw) const;

private:
    std::string encoding_;
    const CodePage* codePage_ = nullptr;  // null for UTF-8 and for an encoding without a table
};

}  // namespace qorvel
