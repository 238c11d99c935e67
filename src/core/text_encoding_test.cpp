#include "core/text_encoding.h"

#include <gtest/gtest.h>

namespace qorvel {
namespace {

// On every platform; on Linux code_page_tables_test.cpp holds every code against iconv.
TEST(TextEncoding, GbkBothWaysAsStrictlyAsBefore) {
    EXPECT_EQ(Utf8ToGbk("K0+120 中桩,左€"), "K0+120 \xD6\xD0\xD7\xAE,\xD7\xF3\x80");
    EXPECT_EQ(GbkToUtf8("K0+120 \xD6\xD0\xD7\xAE,\xD7\xF3\x80"), "K0+120 中桩,左€");
    EXPECT_EQ(GbkToUtf8("\x81\x40"), "丂");  // the first code beyond GB2312
    EXPECT_EQ(Utf8ToGbk("·"), "\xA1\xA4");

    EXPECT_EQ(Utf8ToGbk("K1+\xF0\x9F\x98\x80"), std::nullopt);  // no such character in GBK
    EXPECT_EQ(Utf8ToGbk("K1+\xD6\xD0"), std::nullopt);          // not UTF-8
    EXPECT_EQ(Utf8ToGbk("K\xF3\xA0\x81\x81" "1"), "K1");        // a tag character is passed over
    EXPECT_EQ(GbkToUtf8("\xD6"), std::nullopt);                 // a lead byte without its second byte
    EXPECT_EQ(GbkToUtf8("\xA1\x40"), std::nullopt);             // a pair that is no character
    EXPECT_EQ(GbkToUtf8("\xFF"), std::nullopt);

    EXPECT_EQ(GbkToUtf8Lossy("\xD6\xD0\xFF\xD6,\xD6"), "中\\xFF\\xD6,\\xD6");
}

TEST(TextEncoding, CodePagesOfDrawings) {
    EXPECT_EQ(CodePage::Named("CP1252")->ToUtf8("caf\xE9 \x80"), "café €");
    EXPECT_EQ(CodePage::Named("CP1252")->ToUtf8("\x81"), std::nullopt);
    EXPECT_EQ(CodePage::Named("CP950")->ToUtf8("\xA4\xA4"), "中");
    EXPECT_EQ(CodePage::Named("CP932")->ToUtf8("\x93\xFA\xB1"), "日ｱ");
    EXPECT_EQ(CodePage::Named("CP1251")->ToUtf8("\xCA\xEC"), "Км");
    EXPECT_EQ(CodePage::Named("ISO-8859-99"), nullptr);
    // A base letter and its combining mark read as one letter, and a composed letter composes
    // again only where iconv's does: CP1258's Ó does, the Ó of O and an acute accent does not.
    const CodePage& vietnamese = *CodePage::Named("CP1258");
    EXPECT_EQ(vietnamese.ToUtf8("O\xEC"), "Ó");
    EXPECT_EQ(vietnamese.ToUtf8("\xD3\xDE"), "Ṍ");
    EXPECT_EQ(vietnamese.ToUtf8("O\xEC\xDE"), "Ó\xCC\x83");
    EXPECT_EQ(CodePage::Named("CP1255")->ToUtf8("\xF9\xCC\xD1"), "\xEF\xAC\xAC");  // shin, dagesh, shin dot
}

}  // namespace
}  // namespace qorvel
