// The browser build's to_chars and from_chars give what the desktop library gives: the
// shortest text that reads back (fixed on a tie, a whole number with all its digits), the
// fixed and scientific forms at a precision, and readings that overflow or underflow to zero
// refused. The texts below are the GNU C++ library's.

#include <charconv>
#include <string>
#include <system_error>

#include <gtest/gtest.h>

namespace {

std::string Shortest(double value) {
    char buffer[64];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

std::string Fixed(double value, int precision) {
    char buffer[64];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision).ptr);
}

std::errc Read(const std::string& text, double& value, std::size_t& used) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    used = static_cast<std::size_t>(result.ptr - text.data());
    return result.ec;
}

TEST(BrowserCharconv, WritesAsTheDesktopLibrary) {
    EXPECT_EQ(Shortest(1e21), "1e+21");
    EXPECT_EQ(Shortest(123456789012345680000.0), "123456789012345683968");
    EXPECT_EQ(Shortest(0.0001), "1e-04");
    EXPECT_EQ(Shortest(5e-324), "5e-324");
    EXPECT_EQ(Shortest(1.7976931348623157e308), "1.7976931348623157e+308");
    EXPECT_EQ(Shortest(100), "100");
    EXPECT_EQ(Shortest(1234.5), "1234.5");
    EXPECT_EQ(Shortest(0.1), "0.1");
    EXPECT_EQ(Shortest(-0.0), "-0");
    EXPECT_EQ(Shortest(1e15), "1e+15");
    EXPECT_EQ(Fixed(2.675, 2), "2.67");
    EXPECT_EQ(Fixed(-0.0049, 2), "-0.00");
    char buffer[64];
    EXPECT_EQ(std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, 52.1245, std::chars_format::scientific, 14).ptr),
              "5.21245000000000e+01");
}

TEST(BrowserCharconv, ReadsAsTheDesktopLibrary) {
    double value = 7;
    std::size_t used = 0;
    EXPECT_EQ(Read("1e-400", value, used), std::errc::result_out_of_range);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(Read("1e400", value, used), std::errc::result_out_of_range);
    EXPECT_EQ(Read("4e-320", value, used), std::errc{});
    EXPECT_EQ(value, 3.999955468730732e-320);
    EXPECT_EQ(Read("+1", value, used), std::errc::invalid_argument);
    EXPECT_EQ(Read("-.e1", value, used), std::errc::invalid_argument);
    EXPECT_EQ(Read("1e+", value, used), std::errc{});
    EXPECT_EQ(used, 1u);
    EXPECT_EQ(Read("0x10", value, used), std::errc{});
    EXPECT_EQ(used, 1u);
    EXPECT_EQ(Read("1.5e-5x", value, used), std::errc{});
    EXPECT_EQ(used, 6u);
    EXPECT_EQ(value, 1.5e-5);
    EXPECT_EQ(Read("2.4703282292062328e-324", value, used), std::errc{});
    EXPECT_EQ(value, 4.9406564584124654e-324);
}

}  // namespace
