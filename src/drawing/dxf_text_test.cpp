#include "drawing/dxf_text.h"

#include <gtest/gtest.h>

namespace qorvel {
namespace {

TEST(DxfText, CodePagesOfTheHeader) {
    EXPECT_EQ(EncodingOfCodePage("ANSI_936"), "GBK");
    EXPECT_EQ(EncodingOfCodePage("ansi_936"), "GBK");
    EXPECT_EQ(EncodingOfCodePage("ANSI_1252"), "CP1252");
    EXPECT_EQ(EncodingOfCodePage("ANSI_950"), "CP950");
    EXPECT_EQ(EncodingOfCodePage("DOS437"), "CP437");
    EXPECT_EQ(EncodingOfCodePage("ISO8859-2"), "ISO-8859-2");
    EXPECT_EQ(EncodingOfCodePage("ANSI_9999"), std::nullopt);
    EXPECT_EQ(EncodingOfCodePage("DOS999"), std::nullopt);
    EXPECT_EQ(EncodingOfCodePage(""), std::nullopt);

    // Every name the surveyor may choose is one the header may give, read by a table of ours.
    ASSERT_STREQ(DrawingCodePageNames().front().name, "ANSI_936");
    for (const DrawingCodePageName& page : DrawingCodePageNames()) {
        EXPECT_EQ(EncodingOfCodePage(page.name), page.encoding) << page.name;
        EXPECT_TRUE(std::string_view(page.encoding) == "UTF-8" || CodePage::Named(page.encoding)) << page.name;
    }

    EXPECT_FALSE(IsUnicodeVersion("AC1018"));  // R2004: code page
    EXPECT_TRUE(IsUnicodeVersion("AC1021"));   // R2007: UTF-8
    EXPECT_TRUE(IsUnicodeVersion("AC1032"));
    EXPECT_FALSE(IsUnicodeVersion("AC2.10"));  // any other version: code page
    EXPECT_FALSE(IsUnicodeVersion("AC10x5"));
    EXPECT_FALSE(IsUnicodeVersion(""));
}

TEST(DxfText, EscapesStandForTheirCharacters) {
    EXPECT_EQ(DecodeDxfEscapes("\\U+4E2D\\U+6869"), "中桩");
    EXPECT_EQ(DecodeDxfEscapes("K0+100\\U+4e2d左"), "K0+100中左");
    EXPECT_EQ(DecodeDxfEscapes("\\U+D83D\\U+DE00"), "\xF0\x9F\x98\x80");  // a surrogate pair
    EXPECT_EQ(DecodeDxfEscapes("\\M+5D6D0"), "中");                       // GBK D6D0
    // Escapes that name no character stay as written.
    EXPECT_EQ(DecodeDxfEscapes("\\U+D83D"), "\\U+D83D");
    EXPECT_EQ(DecodeDxfEscapes("\\U+0000"), "\\U+0000");
    EXPECT_EQ(DecodeDxfEscapes("\\U+4E"), "\\U+4E");
    EXPECT_EQ(DecodeDxfEscapes("\\U+4EXZ"), "\\U+4EXZ");
    EXPECT_EQ(DecodeDxfEscapes("\\u+4E2D"), "\\u+4E2D");
    EXPECT_EQ(DecodeDxfEscapes("\\M+9D6D0"), "\\M+9D6D0");
    EXPECT_EQ(DecodeDxfEscapes("a\\b\\"), "a\\b\\");
}

TEST(DxfText, StringsDecodedByTheDrawingsEncoding) {
    DxfTextDecoder gbk("GBK");
    EXPECT_EQ(gbk.Decode("\xD6\xD0\xD7\xAE" "K1+200"), "中桩K1+200");
    EXPECT_EQ(gbk.Decode("\xD6\xD0\\U+6869"), "中桩");
    EXPECT_EQ(gbk.Decode("\xD6"), std::nullopt);  // a lead byte without its trail byte
    EXPECT_EQ(gbk.Decode("\xD6\xD0"), "中");      // the converter starts afresh after a failure

    DxfTextDecoder latin("CP1252");
    EXPECT_EQ(latin.Decode("caf\xE9"), "café");

    DxfTextDecoder utf8("UTF-8");
    EXPECT_EQ(utf8.Decode("中桩"), "中桩");
    EXPECT_EQ(utf8.Decode("\xD6\xD0"), std::nullopt);

    // Control characters, written or escaped, in caret form; a tab stays.
    EXPECT_EQ(gbk.Decode(std::string("K0+1\0\n\r\x1F\t\xD6\xD0\\U+001B", 18)), "K0+1^@^J^M^_\t中^[");
    EXPECT_EQ(DecodeAsciiText("a\nb"), "a^Jb");
}

}  // namespace
}  // namespace qorvel
