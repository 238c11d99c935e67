#pragma once
// Code pages. Data files are in the surveyor's ANSI code page, GBK on a Simplified-Chinese
// system; messages and the window speak UTF-8.

#include <optional>
#include <string>
#include <string_view>

namespace qorvel {

bool IsValidUtf8(std::string_view bytes);

// A converter between two code pages known to iconv ("GBK", "UTF-8", "CP1252", ...), kept
// open for as many texts as a caller has (opening one costs more than converting a label).
class EncodingConverter {
public:
    EncodingConverter(const char* from, const char* to);
    ~EncodingConverter();
    EncodingConverter(const EncodingConverter&) = delete;
    EncodingConverter& operator=(const EncodingConverter&) = delete;

    // False when iconv does not know one of the two code pages.
    bool valid() const;
    // Converts `input` from a fresh start, appending to `output`. Returns false at the first
    // byte that is no character of `from` or has none in `to`, with `input` left there and what
    // came before it appended.
    bool Convert(std::string_view& input, std::string& output);

private:
    void* handle_;  // iconv_t
};

// Converts between code pages known to iconv. Nothing when a character cannot be represented
// or the input is not valid in `from`.
std::optional<std::string> ConvertEncoding(std::string_view bytes, const char* from, const char* to);

std::optional<std::string> Utf8ToGbk(std::string_view utf8);
// For messages: GBK turned into UTF-8, bytes that are no GBK character written as \xNN.
std::string GbkToUtf8Lossy(std::string_view gbk);

}  // namespace qorvel
