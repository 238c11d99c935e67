#include "core/pre_read.h"

#include <string>

#include <gtest/gtest.h>

namespace qorvel {
namespace {

double readSecond(const FieldReader& fields) { return fields.Lenient(1); }

TEST(PreRead, ErrorsWaitForTheLoopThatReachesThem) {
    const DataFile file = DataFile::FromBytes("p.dat", "a,1\r\nb\r\n\r\nc,1e999\r\nd,4\r\n");
    const PreRead<double> values(file, readSecond);
    EXPECT_EQ(values.At(0), 1.0);
    EXPECT_EQ(values.At(3), 4.0);  // beyond the first unreadable record, read when reached
    EXPECT_EQ(values.FirstUnreadable(), 1u);
    try {
        values.At(2);
        FAIL() << "no error";
    } catch (const StepError& error) {
        EXPECT_EQ(error.line(), 4u);
        EXPECT_EQ(error.field(), 1);
    }
}

TEST(PreRead, TwoThreadsReadWhatOneReads) {
    // A file large enough for two threads, with unreadable records in both halves.
    std::string bytes;
    for (int k = 0; k < 120000; ++k) {
        if (k == 7 || k == 90001) bytes += "bad\r\n";
        else if (k == 60000) bytes += "x,1e400\r\n";
        else bytes += std::to_string(k) + "," + std::to_string(k) + ".5\r\n";
    }
    const DataFile file = DataFile::FromBytes("big.dat", bytes);
    const PreRead<double> one(file, readSecond, ReadThreads::One);
    const PreRead<double> two(file, readSecond, ReadThreads::Two);
    ASSERT_EQ(two.size(), one.size());
    EXPECT_EQ(two.FirstUnreadable(), 7u);
    EXPECT_EQ(one.FirstUnreadable(), 7u);
    // Every record gives the same value, or raises the same error, as a reading of its own.
    const auto outcome = [](const auto& read) {
        try {
            return std::to_string(read());
        } catch (const StepError& error) {
            return error.describe();
        }
    };
    for (std::size_t k = 0; k < one.size(); ++k) {
        const std::string alone = outcome([&] { return readSecond(FieldReader(file, file[k])); });
        ASSERT_EQ(outcome([&] { return one.At(k); }), alone) << k;
        ASSERT_EQ(outcome([&] { return two.At(k); }), alone) << k;
    }
    for (const std::size_t bad : {7u, 60000u, 90001u}) EXPECT_THROW(two.At(bad), StepError);
    EXPECT_EQ(two.At(119999), 119999.5);
}

}  // namespace
}  // namespace qorvel
