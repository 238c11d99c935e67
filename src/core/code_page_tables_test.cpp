// The program's code page tables against the iconv of the GNU C library they were taken from
// (scripts/generate-code-pages), whose conversions the program keeps to the byte: every single
// byte and every pair of bytes of every code page reads as iconv reads it, compositions
// included, and every Unicode character is written in GBK as iconv writes it. Built on Linux
// only; elsewhere there is no such iconv to hold the tables against.

#include <iconv.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <optional>
#include <string>
#include <string_view>

#include "core/code_page_tables.h"
#include "core/text_encoding.h"

namespace qorvel {
namespace {

class Iconv {
public:
    Iconv(const char* from, const char* to) : handle_(iconv_open(to, from)) {}
    ~Iconv() {
        if (valid()) iconv_close(handle_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // The whole of `input` converted from a fresh start; nothing when iconv refuses it.
    std::optional<std::string> operator()(std::string_view input) {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        char buffer[256];
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        if (iconv(handle_, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
        if (iconv(handle_, nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
        return std::string(buffer, static_cast<std::size_t>(out - buffer));
    }

private:
    iconv_t handle_;
};

std::string Hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (const char c : bytes) {
        hex += kDigits[static_cast<unsigned char>(c) >> 4];
        hex += kDigits[static_cast<unsigned char>(c) & 0xF];
    }
    return hex;
}

// Compares the table's reading of `bytes` with iconv's, counting the codes that differ and
// naming the first few.
void Compare(const CodePage& page, Iconv& iconv, std::string_view bytes, int& differences) {
    const std::optional<std::string> ours = page.ToUtf8(bytes);
    const std::optional<std::string> theirs = iconv(bytes);
    if (ours == theirs) return;
    if (++differences <= 5)
        ADD_FAILURE() << page.name() << " " << Hex(bytes) << ": the table reads " << (ours ? Hex(*ours) : "nothing")
                      << ", iconv " << (theirs ? Hex(*theirs) : "nothing");
}

TEST(CodePageTables, EveryCodeOfEveryCodePageReadsAsIconvReadsIt) {
    for (std::size_t k = 0; k < code_page_tables::kTableCount; ++k) {
        const char* name = code_page_tables::kTables[k].name;
        const CodePage* page = CodePage::Named(name);
        ASSERT_NE(page, nullptr) << name;
        Iconv iconv(name, "UTF-8");
        ASSERT_TRUE(iconv.valid()) << name;
        int differences = 0;
        for (unsigned first = 0; first < 0x100; ++first) {
            const char one[] = {static_cast<char>(first)};
            Compare(*page, iconv, std::string_view(one, 1), differences);
            for (unsigned second = 0; second < 0x100; ++second) {
                const char two[] = {static_cast<char>(first), static_cast<char>(second)};
                Compare(*page, iconv, std::string_view(two, 2), differences);
            }
        }
        EXPECT_EQ(differences, 0) << name;
    }
}

// A letter composed with its mark, followed by every byte: the composed letter composes again
// (CP1255) or not (CP1258) as in iconv.
TEST(CodePageTables, ComposedLettersFollowedByAnyByteReadAsIconvReadsThem) {
    for (const char* name : {"CP1255", "CP1258"}) {
        const CodePage& page = *CodePage::Named(name);
        Iconv iconv(name, "UTF-8");
        int differences = 0;
        int composed = 0;
        for (unsigned first = 0; first < 0x100; ++first)
            for (unsigned second = 0; second < 0x100; ++second) {
                const char two[] = {static_cast<char>(first), static_cast<char>(second)};
                const auto pair = page.ToUtf8(std::string_view(two, 2));
                const auto base = page.ToUtf8(std::string_view(two, 1));
                const auto mark = page.ToUtf8(std::string_view(two + 1, 1));
                if (!pair || !base || !mark || *pair == *base + *mark) continue;
                ++composed;
                for (unsigned third = 0; third < 0x100; ++third) {
                    const char three[] = {static_cast<char>(first), static_cast<char>(second), static_cast<char>(third)};
                    Compare(page, iconv, std::string_view(three, 3), differences);
                }
            }
        EXPECT_GT(composed, 0) << name;
        EXPECT_EQ(differences, 0) << name;
    }
}

TEST(CodePageTables, EveryCharacterIsWrittenInGbkAsIconvWritesIt) {
    Iconv iconv("UTF-8", "GBK");
    int differences = 0;
    auto compare = [&](std::string_view utf8) {
        const std::optional<std::string> ours = Utf8ToGbk(utf8);
        const std::optional<std::string> theirs = iconv(utf8);
        if (ours != theirs && ++differences <= 5)
            ADD_FAILURE() << Hex(utf8) << ": written " << (ours ? Hex(*ours) : "nothing") << ", iconv "
                          << (theirs ? Hex(*theirs) : "nothing");
    };
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        std::string utf8;
        AppendUtf8(utf8, c);
        compare(utf8);
    }
    // What is not UTF-8: a surrogate, an overlong form, beyond U+10FFFF, a lone continuation
    // byte, a sequence cut short.
    for (const char* bytes : {"\xED\xA0\x80", "\xC0\xAF", "\xF4\x90\x80\x80", "\x80", "\xE4\xB8", "A\xFF"})
        compare(bytes);
    EXPECT_EQ(differences, 0);
}

}  // namespace
}  // namespace qorvel
