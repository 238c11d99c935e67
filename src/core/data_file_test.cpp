#include "core/data_file.h"

#include <gtest/gtest.h>

#include "core/fields.h"
#include "core/step_error.h"
#include "core/two_halves.h"
#include "support/test_files.h"

namespace qorvel {
namespace {

std::vector<std::pair<std::size_t, std::string>> recordsOf(const std::string& bytes) {
    std::vector<std::pair<std::size_t, std::string>> out;
    for (const Record& record : SplitRecords(bytes)) out.emplace_back(record.line, std::string(record.text));
    return out;
}

using Lines = std::vector<std::pair<std::size_t, std::string>>;

TEST(SplitRecords, LineEndsAndBlankLines) {
    EXPECT_EQ(recordsOf("a\r\nb\r\n"), (Lines{{1, "a"}, {2, "b"}}));
    EXPECT_EQ(recordsOf("a\nb"), (Lines{{1, "a"}, {2, "b"}}));          // last line without a line end
    EXPECT_EQ(recordsOf("a\r\n\r\n   \nb\n"), (Lines{{1, "a"}, {4, "b"}}));  // blank lines skipped, numbers kept
    EXPECT_EQ(recordsOf("a\rb\n"), (Lines{{1, "a\rb"}}));               // a lone CR is text
    EXPECT_EQ(recordsOf("a\r"), (Lines{{1, "a\r"}}));                   // ... also at the very end
    EXPECT_EQ(recordsOf("\t\n"), (Lines{{1, "\t"}}));                   // only spaces make a line blank
    EXPECT_TRUE(recordsOf("").empty());
    EXPECT_TRUE(recordsOf("\n\n").empty());
    // A byte order mark is not part of the first name; only at the very start is it one.
    EXPECT_EQ(recordsOf("\xEF\xBB\xBF" "A1,,1,2,3\r\n\xEF\xBB\xBF" "B\r\n"),
              (Lines{{1, "A1,,1,2,3"}, {2, "\xEF\xBB\xBF" "B"}}));
    EXPECT_EQ(recordsOf("\xEF\xBB\xBF\r\nb"), (Lines{{2, "b"}}));
}

TEST(DataFile, LoadFailuresNameTheFile) {
    testing::TempDir dir;
    try {
        DataFile::Load(dir.File("missing.dat"));
        FAIL() << "no error";
    } catch (const StepError& error) {
        EXPECT_EQ(error.file(), dir.File("missing.dat"));
        EXPECT_EQ(error.reason(), "文件不存在");
    }
    try {
        DataFile::Load(dir.path());
        FAIL() << "no error";
    } catch (const StepError& error) {
        EXPECT_EQ(error.reason(), "这是一个文件夹，不是文件");
    }
    const DataFile file = DataFile::Load(dir.Write("a.dat", "x,y\r\n\r\nz"));
    ASSERT_EQ(file.size(), 2u);
    EXPECT_EQ(file[1].line, 3u);
    EXPECT_EQ(file[1].text, "z");
}

TEST(FieldReader, ReportsTheFieldThatCannotBeRead) {
    const DataFile file = DataFile::FromBytes("p.dat", "\r\n1,,12.5x,abc\r\n");
    const FieldReader fields(file, file[0]);
    EXPECT_EQ(fields.count(), 4u);
    EXPECT_EQ(fields.Text(1), "");
    EXPECT_EQ(fields.Lenient(2), 12.5);
    EXPECT_EQ(fields.Lenient(3), 0.0);
    try {
        fields.Strict(2);
        FAIL() << "no error";
    } catch (const StepError& error) {
        EXPECT_EQ(error.describe(), "文件“p.dat”第 2 行，字段 2：不是数字：“12.5x”");
    }
    try {
        fields.Text(4);
        FAIL() << "no error";
    } catch (const StepError& error) {
        EXPECT_EQ(error.line(), 2u);
        EXPECT_EQ(error.field(), 4);
        EXPECT_EQ(error.reason(), "缺少该字段（这一行只有 4 个字段）");
    }
}

TEST(FieldReader, LenientReadsOfWhatIsNoPlainNumberAreNotedOnce) {
    // Thirty points after a blank line: every third easting has a typo, every fifth northing is
    // empty; the elevations are plain.
    std::string bytes = "\r\n";
    for (int k = 0; k < 30; ++k)
        bytes += "P" + std::to_string(k) + ",," + (k % 3 == 0 ? "4382" + std::to_string(k) + "x.9" : "438.5") + "," +
                 (k % 5 == 0 ? "" : " 33.1 ") + ",1\r\n";
    const DataFile file = DataFile::FromBytes("points.dat", bytes);
    // Two threads where there are two cores, in opposite orders, every field read twice.
    const auto readAll = [&](bool backwards) {
        for (std::size_t n = 0; n < 2 * file.size(); ++n) {
            const std::size_t k = (backwards ? 2 * file.size() - 1 - n : n) % file.size();
            const FieldReader fields(file, file[k]);
            fields.Lenient(2);
            fields.Lenient(3);
            fields.Lenient(4);
        }
    };
    BothAtOnce([&] { readAll(false); }, [&] { readAll(true); }, true);
    const LenientReadLog& log = file.lenientReads();
    EXPECT_EQ(log.count(), 16u);
    using Sample = LenientReadLog::Sample;
    EXPECT_EQ(log.samples(), (std::vector<Sample>{{2, 2, "43820x.9"}, {2, 3, ""}, {5, 2, "43823x.9"}, {7, 3, ""},
                                                  {8, 2, "43826x.9"}, {11, 2, "43829x.9"}, {12, 3, ""},
                                                  {14, 2, "438212x.9"}, {17, 2, "438215x.9"}, {17, 3, ""}}));
    EXPECT_EQ(DataFile::FromBytes("clean.dat", "P1,,438.5,33.1,1").lenientReads().count(), 0u);
}

TEST(Fields, EmptyFieldsAtEitherEnd) {
    const auto split = [](std::string_view text) {
        const Fields fields(text);
        std::vector<std::string> out;
        for (std::size_t k = 0; k < fields.size(); ++k) out.emplace_back(fields[k]);
        return out;
    };
    EXPECT_EQ(split(""), (std::vector<std::string>{""}));
    EXPECT_EQ(split(","), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(split("1200,,5,"), (std::vector<std::string>{"1200", "", "5", ""}));
    EXPECT_EQ(split(" a ,b"), (std::vector<std::string>{" a ", "b"}));
}

TEST(Fields, ManyFieldsAndNonUtf8Bytes) {
    std::string line = "1200";
    for (int k = 0; k < 30; ++k) line += "," + std::to_string(k);
    const Fields fields(line);
    ASSERT_EQ(fields.size(), 31u);
    EXPECT_EQ(fields[0], "1200");
    EXPECT_EQ(fields[30], "29");
    // GBK bytes in messages are shown as the characters they are.
    EXPECT_EQ(DisplayText("\xD6\xD0\xD7\xAE"), "中桩");
    EXPECT_EQ(DisplayText("a\xFF"), "a\\xFF");
}

TEST(DisplayText, SafeToPrintAndShortenedBeforeItIsConverted) {
    // An escape sequence that would clear the terminal, a NUL, DEL: shown, not acted on.
    EXPECT_EQ(DisplayText("\x1B[2JK0+100"), "\\x1B[2JK0+100");
    EXPECT_EQ(DisplayText(std::string("K0+1\0 00\x7F\t", 10)), "K0+1\\x00 00\\x7F\t");  // a tab stays
    // A megabyte of bytes that are no character: the start of it, at once.
    std::string escapedStart;
    for (int k = 0; k < 15; ++k) escapedStart += "\\xFF";
    EXPECT_EQ(DisplayText(std::string(1 << 20, '\xFF')), escapedStart + "…");
    // UTF-8 cut at the conversion's limit inside a character is still read as UTF-8.
    std::string chinese;
    for (int k = 0; k < 100; ++k) chinese += "中";
    std::string twenty;
    for (int k = 0; k < 20; ++k) twenty += "中";
    EXPECT_EQ(DisplayText("a" + chinese), "a" + twenty.substr(0, 57) + "…");
    // A NUL in a reason does not cut the message short.
    const std::string reason = std::string("不是数字：“1") + '\0' + "”";
    const StepError error("p.dat", 3, 2, reason);
    EXPECT_EQ(error.describe(), "文件“p.dat”第 3 行，字段 2：" + reason);
}

}  // namespace
}  // namespace qorvel
