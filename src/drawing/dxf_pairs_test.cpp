#include "drawing/dxf_pairs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "core/step_error.h"
#include "support/error_of.h"

namespace qorvel {
namespace {

using testing::ErrorOf;

// Reads every pair, failing on the first malformed one.
void ReadAll(std::string_view bytes) {
    DxfPairs pairs(bytes, "t.dxf");
    while (pairs.Next()) {
    }
}

TEST(DxfPairs, AsciiPairsWithEitherLineEndAndAnyLineLength) {
    const std::string longText(200000, 'x');
    const std::string bytes = "  0\r\nSECTION\r\n  2\nENTITIES\n 10\n  12.5 \n1\n" + longText + "\r\n 70\n     1\n0\nEOF";
    DxfPairs pairs(bytes, "t.dxf");
    ASSERT_TRUE(pairs.Next());
    EXPECT_EQ(pairs.code(), 0);
    EXPECT_EQ(pairs.text(), "SECTION");
    EXPECT_EQ(pairs.place().value, 1u);
    ASSERT_TRUE(pairs.Next());
    EXPECT_EQ(pairs.text(), "ENTITIES");
    ASSERT_TRUE(pairs.Next());
    EXPECT_EQ(pairs.code(), 10);
    EXPECT_EQ(pairs.Real(), 12.5);
    EXPECT_EQ(pairs.valuePlace().value, 6u);
    ASSERT_TRUE(pairs.Next());
    EXPECT_EQ(pairs.code(), 1);
    EXPECT_EQ(pairs.text(), longText);
    ASSERT_TRUE(pairs.Next());
    EXPECT_EQ(pairs.Integer(), 1);
    EXPECT_EQ(pairs.place().value, 9u);
    ASSERT_TRUE(pairs.Next());
    EXPECT_EQ(pairs.text(), "EOF");  // the last line needs no line end
    EXPECT_FALSE(pairs.Next());
}

TEST(DxfPairs, AsciiErrorsNameTheLine) {
    EXPECT_EQ(ErrorOf([] { ReadAll("0\nSECTION\nabc\nHEADER\n"); }),
              "文件“t.dxf”第 3 行：组码不是数字：“abc”（组码与值错位或不是 DXF 文件）");
    EXPECT_EQ(ErrorOf([] { ReadAll("0\nSECTION\n\nHEADER\n"); }),
              "文件“t.dxf”第 3 行：此处应为组码，却是空行（组码与值错位）");
    EXPECT_NE(ErrorOf([] { ReadAll("0\nSECTION\n2 x\nHEADER\n"); }).find("第 3 行：组码不是数字：“2 x”"), std::string::npos);
    EXPECT_EQ(ErrorOf([] { ReadAll("0\nSECTION\n5000\nX\n"); }), "文件“t.dxf”第 3 行：组码 5000 超出 DXF 组码的范围");
    EXPECT_EQ(ErrorOf([] { ReadAll("0\nSECTION\n0\n"); }),
              "文件“t.dxf”第 3 行：文件在组码 0 之后结束，缺少它的值（文件不完整）");
    // A garbage line of any length is quoted shortly.
    const std::string garbage = ErrorOf([] { ReadAll(std::string(100000, 'g') + "\n1\n"); });
    EXPECT_LT(garbage.size(), 300u);
    EXPECT_NE(garbage.find("第 1 行：组码不是数字：“ggg"), std::string::npos) << garbage;
}

TEST(DxfPairs, AsciiNumbersAreWholeNumbersOrNothing) {
    auto real = [](const std::string& value) {
        const std::string bytes = "10\n" + value + "\n";
        DxfPairs pairs(bytes, "t.dxf");
        pairs.Next();
        return pairs.Real();
    };
    EXPECT_EQ(real(" -3.25 "), -3.25);
    EXPECT_EQ(real("+1e3"), 1000);
    EXPECT_EQ(real(".5"), 0.5);
    EXPECT_EQ(ErrorOf([&] { real("12.5abc"); }), "文件“t.dxf”第 2 行：组码 10 的值不是数字：“12.5abc”");
    for (const char* bad : {"", " ", "abc", "1,5", "inf", "nan", "1e400", "--1", "0x10"})
        EXPECT_NE(ErrorOf([&] { real(bad); }), "(no error)") << bad;

    auto integer = [](const std::string& value) {
        const std::string bytes = "90\n" + value + "\n";
        DxfPairs pairs(bytes, "t.dxf");
        pairs.Next();
        return pairs.Integer();
    };
    EXPECT_EQ(integer("   42"), 42);
    EXPECT_EQ(integer("-7"), -7);
    EXPECT_NE(ErrorOf([&] { integer("4.0"); }), "(no error)");
    EXPECT_NE(ErrorOf([&] { integer("99999999999999999999"); }), "(no error)");
}

// Binary DXF as it is laid out: sentinel, then code and typed value, little-endian.
class BinaryDxf {
public:
    explicit BinaryDxf(bool oneByteCodes = false) : oneByte_(oneByteCodes) { bytes_ = DxfPairs::kBinarySentinel; }
    BinaryDxf& Code(int code) {
        if (oneByte_ && code < 255) {
            bytes_ += static_cast<char>(code);
        } else {
            if (oneByte_) bytes_ += '\xFF';
            bytes_ += static_cast<char>(code & 0xFF);
            bytes_ += static_cast<char>(code >> 8);
        }
        return *this;
    }
    BinaryDxf& String(int code, std::string_view text) {
        Code(code);
        bytes_ += text;
        bytes_ += '\0';
        return *this;
    }
    template <typename T>
    BinaryDxf& Value(int code, T value) {
        Code(code);
        char raw[sizeof(T)];
        std::memcpy(raw, &value, sizeof(T));
        bytes_.append(raw, sizeof(T));
        return *this;
    }
    BinaryDxf& Raw(std::string_view raw) {
        bytes_ += raw;
        return *this;
    }
    const std::string& bytes() const { return bytes_; }

private:
    bool oneByte_;
    std::string bytes_;
};

TEST(DxfPairs, BinaryValuesByTheirGroupCodes) {
    BinaryDxf dxf;
    dxf.String(0, "SECTION").Value<double>(10, -47.125).Value<std::int16_t>(70, -2).Value<std::int32_t>(90, 70000);
    dxf.Value<std::int64_t>(160, 1LL << 40).Value<std::uint8_t>(290, 1);
    dxf.Code(310).Raw(std::string_view("\x03\x00\x01\x02", 4));  // a binary chunk: length, then the bytes
    dxf.String(0, "EOF");

    DxfPairs pairs(dxf.bytes(), "b.dxf");
    EXPECT_TRUE(pairs.binary());
    ASSERT_TRUE(pairs.Next());
    EXPECT_EQ(pairs.text(), "SECTION");
    EXPECT_EQ(pairs.place().value, 22u);
    ASSERT_TRUE(pairs.Next());
    EXPECT_EQ(pairs.Real(), -47.125);
    ASSERT_TRUE(pairs.Next());
    EXPECT_EQ(pairs.Integer(), -2);
    ASSERT_TRUE(pairs.Next());
    EXPECT_EQ(pairs.Integer(), 70000);
    ASSERT_TRUE(pairs.Next());
    EXPECT_EQ(pairs.Integer(), 1LL << 40);
    ASSERT_TRUE(pairs.Next());
    EXPECT_EQ(pairs.Integer(), 1);
    ASSERT_TRUE(pairs.Next());
    EXPECT_EQ(pairs.code(), 310);
    EXPECT_EQ(pairs.text(), std::string_view("\x00\x01\x02", 3));
    ASSERT_TRUE(pairs.Next());
    EXPECT_EQ(pairs.text(), "EOF");
    EXPECT_FALSE(pairs.Next());
}

TEST(DxfPairs, OneByteGroupCodesOfOldBinaryDrawings) {
    BinaryDxf dxf(true);
    dxf.String(0, "SECTION").Value<double>(20, 2.5).String(1001, "APP").String(0, "EOF");
    DxfPairs pairs(dxf.bytes(), "b.dxf");
    std::vector<int> codes;
    while (pairs.Next()) codes.push_back(pairs.code());
    EXPECT_EQ(codes, (std::vector<int>{0, 20, 1001, 0}));
}

TEST(DxfPairs, BinaryErrorsNameTheByteOffset) {
    BinaryDxf dxf;
    dxf.String(0, "SECTION").Value<double>(10, 1.0);
    const std::string whole = dxf.bytes();
    EXPECT_EQ(ErrorOf([&] { ReadAll(whole.substr(0, whole.size() - 3)); }),
              "文件“t.dxf”：第 " + std::to_string(whole.size() - 3) + " 字节处：文件在实数中途结束（文件不完整）");
    EXPECT_NE(ErrorOf([&] { ReadAll(BinaryDxf().String(0, "SECTION").bytes() + "\xC8"); }).find("文件在组码中途结束"),
              std::string::npos);
    // Group code 200 has no value type: its length cannot be known. It stands after the
    // sentinel (22 bytes) and the pair (0, "SECTION") (2 + 8 bytes).
    const std::string unknown = BinaryDxf().String(0, "SECTION").Value<double>(200, 1.0).bytes();
    EXPECT_EQ(ErrorOf([&] { ReadAll(unknown); }),
              "文件“t.dxf”：第 32 字节处：未知的组码 200，无法确定它的值有多长（组码与值错位或文件已损坏）");
    const std::string unterminated = BinaryDxf().String(0, "SECTION").bytes() + std::string("\x01\x00" "abc", 5);
    EXPECT_NE(ErrorOf([&] { ReadAll(unterminated); }).find("文件在字符串中途结束"), std::string::npos);
    EXPECT_NE(ErrorOf([] { ReadAll("AutoCAD Binary DXF\r\n"); }).find("文件头不完整"), std::string::npos);
}

}  // namespace
}  // namespace qorvel
