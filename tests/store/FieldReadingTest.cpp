// The two readings of an editor field: the leading value, and the integer stored for a whole number.
#include "store/FieldReading.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <string>

namespace zentrix {
namespace {

struct ValueCase
{
    std::string text;
    bool negative;
    std::string digits; ///< significant digits of the value
    std::int64_t exponent;
    bool wholeText;
};

class FieldValueTable : public ::testing::TestWithParam<ValueCase>
{
};

TEST_P(FieldValueTable, ReadsTheLeadingNumber)
{
    const ValueCase& c = GetParam();
    const FieldReading reading = ReadField(c.text);
    EXPECT_EQ(reading.value.negative, c.negative);
    EXPECT_EQ(reading.value.digits, c.digits);
    EXPECT_EQ(reading.value.exponent, c.exponent);
    EXPECT_EQ(reading.wholeText, c.wholeText);
}

// value = ±0.digits × 10^exponent
INSTANTIATE_TEST_SUITE_P(Texts, FieldValueTable,
                         ::testing::Values(
                             // plain numbers, signs, fractions, exponents
                             ValueCase{"5", false, "5", 1, true}, ValueCase{"43", false, "43", 2, true},
                             ValueCase{"-7", true, "7", 1, true}, ValueCase{"+7", false, "7", 1, true},
                             ValueCase{"2.5", false, "25", 1, true}, ValueCase{".5", false, "5", 0, true},
                             ValueCase{"5.", false, "5", 1, true}, ValueCase{"0.05", false, "5", -1, true},
                             ValueCase{"007", false, "7", 1, true}, ValueCase{"100", false, "1", 3, true},
                             ValueCase{"1e2", false, "1", 3, true}, ValueCase{"1E+2", false, "1", 3, true},
                             ValueCase{"25e-1", false, "25", 1, true}, ValueCase{"-0", false, "", 0, true},
                             ValueCase{"0.000", false, "", 0, true},
                             // blanks anywhere
                             ValueCase{"1 2", false, "12", 2, true},
                             ValueCase{" \t12\n", false, "12", 2, true}, ValueCase{"- 4", true, "4", 1, true},
                             ValueCase{"1 . 5", false, "15", 1, true},
                             ValueCase{"1 e 2", false, "1", 3, true},
                             // a number followed by other text
                             ValueCase{"12abc", false, "12", 2, false}, ValueCase{"3e", false, "3", 1, false},
                             ValueCase{"3e+", false, "3", 1, false}, ValueCase{"1,000", false, "1", 1, false},
                             ValueCase{"1.2.3", false, "12", 1, false},
                             ValueCase{"7\r", false, "7", 1, false}, ValueCase{"5 5", false, "55", 2, true},
                             // no number at all
                             ValueCase{"", false, "", 0, false}, ValueCase{"   ", false, "", 0, false},
                             ValueCase{"abc", false, "", 0, false}, ValueCase{".", false, "", 0, false},
                             ValueCase{"-", false, "", 0, false}, ValueCase{"e5", false, "", 0, false},
                             ValueCase{"inf", false, "", 0, false}, ValueCase{"nan", false, "", 0, false},
                             ValueCase{"-infinity", false, "", 0, false},
                             ValueCase{"&H10", false, "", 0, false}, ValueCase{"0x10", false, "", 0, false},
                             // full-width digits and spaces are not half-width input
                             ValueCase{"１２", false, "", 0, false}, ValueCase{"　5", false, "", 0, false},
                             ValueCase{"5　", false, "5", 1, false}));

TEST(FieldValue, HugeExponentsAndLongDigitStringsStayExact)
{
    EXPECT_EQ(FieldValue("1e30").exponent, 31);
    EXPECT_GT(FieldValue("1e400"), FieldNumber::FromInteger(std::numeric_limits<std::int64_t>::max()));
    EXPECT_GT(FieldValue("1e99999999999999999999999"), FieldValue("1e400"));
    EXPECT_EQ(FieldValue("1e-400").RoundToInteger(), 0);
    EXPECT_LT(FieldValue("-1e400"), FieldNumber::FromInteger(std::numeric_limits<std::int64_t>::min()));

    // A double would read both as 2.5 and round them alike.
    const std::string justAboveHalf = "2.5" + std::string(40, '0') + "1";
    EXPECT_EQ(FieldValue(justAboveHalf).RoundToInteger(), 3);
    EXPECT_EQ(FieldValue("2.5" + std::string(40, '0')).RoundToInteger(), 2);
    EXPECT_GT(FieldValue("43.000000000000000000001"), FieldNumber::FromInteger(43));
    EXPECT_EQ(FieldValue(std::string(5000, '0') + "7"), FieldNumber::FromInteger(7));
}

TEST(FieldValue, OrdersLikeTheNumbersTheyStandFor)
{
    const char* ascending[] = {"-1e3", "-43",      "-2.5", "-0.5", "0",  "0.001", "0.5",
                               "1",    "1.000001", "9.99", "10",   "43", "43.5",  "1e30"};
    for (std::size_t i = 0; i + 1 < std::size(ascending); ++i) {
        EXPECT_LT(FieldValue(ascending[i]), FieldValue(ascending[i + 1]))
            << ascending[i] << " < " << ascending[i + 1];
        EXPECT_GT(FieldValue(ascending[i + 1]), FieldValue(ascending[i]));
    }
    EXPECT_EQ(FieldValue("5.0") <=> FieldValue("5"), std::strong_ordering::equal);
    EXPECT_EQ(FieldValue("0.5e1"), FieldValue("5"));
    EXPECT_EQ(FieldValue("-0"), FieldValue("0"));
}

struct IntegerCase
{
    std::string text;
    std::optional<std::int16_t> integer;
};

class FieldIntegerTable : public ::testing::TestWithParam<IntegerCase>
{
};

TEST_P(FieldIntegerTable, RoundsHalvesToEvenWithinSixteenBits)
{
    EXPECT_EQ(FieldInteger(GetParam().text), GetParam().integer) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FieldIntegerTable,
    ::testing::Values(IntegerCase{"7", 7}, IntegerCase{"7.5", 8}, IntegerCase{"8.5", 8},
                      IntegerCase{"0.5", 0}, IntegerCase{"1.5", 2}, IntegerCase{"2.4999", 2},
                      IntegerCase{"2.51", 3}, IntegerCase{"-2.5", -2}, IntegerCase{"-3.5", -4},
                      IntegerCase{"-0.4", 0}, IntegerCase{"4.3e1", 43}, IntegerCase{"0.049", 0},
                      IntegerCase{" 4 3 ", 43}, IntegerCase{"32767", 32767}, IntegerCase{"32767.4", 32767},
                      IntegerCase{"-32768", -32768},
                      // beyond 16 bits, or not wholly a number: no integer at all
                      IntegerCase{"32767.5", std::nullopt}, IntegerCase{"32768", std::nullopt},
                      IntegerCase{"-32769", std::nullopt}, IntegerCase{"65541", std::nullopt},
                      IntegerCase{"1e30", std::nullopt}, IntegerCase{"12abc", std::nullopt},
                      IntegerCase{"", std::nullopt}, IntegerCase{"abc", std::nullopt},
                      IntegerCase{"１", std::nullopt}));

TEST(FieldNumber, RoundsToSixtyFourBitsOrRefuses)
{
    EXPECT_EQ(FieldValue("9223372036854775807").RoundToInteger(), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(FieldValue("9223372036854775807.5").RoundToInteger(), std::nullopt);
    EXPECT_EQ(FieldValue("-9223372036854775808").RoundToInteger(), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(FieldValue("9999999999999999999.9").RoundToInteger(), std::nullopt);
    EXPECT_EQ(FieldValue("1e19").RoundToInteger(), std::nullopt);
    EXPECT_EQ(FieldValue("1e18").RoundToInteger(), 1'000'000'000'000'000'000);
    EXPECT_EQ(FieldNumber::FromInteger(std::numeric_limits<std::int64_t>::min()).RoundToInteger(),
              std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(FieldNumber::FromInteger(-120), FieldValue("-120"));
}

} // namespace
} // namespace zentrix
