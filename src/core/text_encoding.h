#pragma once
// Code pages. Data files are in the surveyor's ANSI code page, GBK on a Simplified-Chinese
// system; messages and the window speak UTF-8.

#include <optional>
#include <string>
#include <string_view>

namespace qorvel {

bool IsValidUtf8(std::string_view bytes);

// Converts between code pages known to iconv ("GBK", "UTF-8", "CP1252", ...). Nothing when a
// character cannot be represented or the input is not valid in `from`.
std::optional<std::string> ConvertEncoding(std::string_view bytes, const char* from, const char* to);

std::optional<std::string> Utf8ToGbk(std::string_view utf8);
// For messages: GBK turned into UTF-8, bytes that are no GBK character written as \xNN.
std::string GbkToUtf8Lossy(std::string_view gbk);

}  // namespace qorvel
