// FieldReading: an exact, locale-free reader for the numbers typed into the editor's fields.
#include "FieldReading.h"

#include <algorithm>
#include <limits>

namespace zentrix {
namespace {

// Far beyond any text a field can hold, far below where adding positions could overflow.
constexpr std::int64_t kExponentLimit = std::int64_t{1} << 40;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

/// The position of the first character at or after `pos` that is not a blank.
std::size_t skipBlanks(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    return pos;
}

std::strong_ordering compareMagnitude(const FieldNumber& a, const FieldNumber& b)
{
    if (a.isZero() || b.isZero())
        return b.isZero() <=> a.isZero();
    // With a non-zero first digit, the larger exponent always means the larger number.
    if (a.exponent != b.exponent)
        return a.exponent <=> b.exponent;
    // No trailing zeros: a shorter digit string that is a prefix of the other is smaller.
    return a.digits.compare(b.digits) <=> 0;
}

} // namespace

FieldNumber FieldNumber::FromInteger(std::int64_t value)
{
    FieldNumber number;
    if (value == 0)
        return number;
    number.negative = value < 0;
    const std::uint64_t magnitude =
        number.negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    number.digits = std::to_string(magnitude);
    number.exponent = static_cast<std::int64_t>(number.digits.size());
    number.digits.erase(number.digits.find_last_not_of('0') + 1);
    return number;
}

std::optional<std::int64_t> FieldNumber::RoundToInteger() const
{
    if (isZero())
        return 0;
    // 19 integer digits still fit an unsigned 64-bit accumulator (and one more for rounding up).
    if (exponent > 19)
        return std::nullopt;

    std::uint64_t magnitude = 0;
    std::string_view fraction = digits;
    if (exponent > 0) {
        const auto whole = static_cast<std::size_t>(exponent);
        for (std::size_t k = 0; k < whole; ++k)
            magnitude =
                magnitude * 10 + (k < digits.size() ? static_cast<std::uint64_t>(digits[k] - '0') : 0);
        fraction = whole < digits.size() ? fraction.substr(whole) : std::string_view{};
    }

    bool roundUp = false;
    if (!fraction.empty() && exponent >= 0) {
        // Here the fraction's first digit is the tenths digit.
        if (fraction[0] > '5' || (fraction[0] == '5' && fraction.size() > 1))
            roundUp = true;
        else if (fraction == "5")
            roundUp = magnitude % 2 == 1;
    } // A negative exponent means below 0.1, which rounds to 0.
    if (roundUp)
        ++magnitude;

    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (!negative)
        return magnitude <= kMax ? std::optional<std::int64_t>(static_cast<std::int64_t>(magnitude))
                                 : std::nullopt;
    if (magnitude > kMax + 1)
        return std::nullopt;
    return static_cast<std::int64_t>(0 - magnitude); // two's complement, well-defined since C++20
}

std::strong_ordering operator<=>(const FieldNumber& a, const FieldNumber& b)
{
    if (a.negative != b.negative)
        return a.negative ? std::strong_ordering::less : std::strong_ordering::greater;
    const std::strong_ordering magnitude = compareMagnitude(a, b);
    return a.negative ? 0 <=> magnitude : magnitude;
}

FieldReading ReadField(std::string_view text)
{
    FieldReading reading;
    std::size_t pos = skipBlanks(text, 0);

    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        pos = skipBlanks(text, pos + 1);
    }

    std::string mantissa;
    std::int64_t integerDigits = 0;
    while (pos < text.size() && isDigit(text[pos])) {
        mantissa += text[pos];
        ++integerDigits;
        pos = skipBlanks(text, pos + 1);
    }
    if (pos < text.size() && text[pos] == '.') {
        std::size_t next = skipBlanks(text, pos + 1);
        const bool hadIntegerDigits = !mantissa.empty();
        while (next < text.size() && isDigit(text[next])) {
            mantissa += text[next];
            next = skipBlanks(text, next + 1);
        }
        // A lone point is no number; "5." is five.
        if (hadIntegerDigits || !mantissa.empty())
            pos = next;
    }
    if (mantissa.empty())
        return reading;

    std::int64_t exponent = 0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t next = skipBlanks(text, pos + 1);
        bool negativeExponent = false;
        if (next < text.size() && (text[next] == '+' || text[next] == '-')) {
            negativeExponent = text[next] == '-';
            next = skipBlanks(text, next + 1);
        }
        if (next < text.size() && isDigit(text[next])) {
            while (next < text.size() && isDigit(text[next])) {
                exponent = std::min(exponent * 10 + (text[next] - '0'), kExponentLimit);
                next = skipBlanks(text, next + 1);
            }
            if (negativeExponent)
                exponent = -exponent;
            pos = next;
        }
    }
    reading.wholeText = pos == text.size();

    const std::size_t leadingZeros = std::min(mantissa.find_first_not_of('0'), mantissa.size());
    mantissa.erase(0, leadingZeros);
    if (mantissa.empty())
        return reading; // zero, whatever its sign and exponent
    mantissa.erase(mantissa.find_last_not_of('0') + 1);
    reading.value.negative = negative;
    reading.value.digits = std::move(mantissa);
    reading.value.exponent = integerDigits - static_cast<std::int64_t>(leadingZeros) + exponent;
    return reading;
}

std::optional<std::int16_t> FieldInteger(std::string_view text)
{
    const FieldReading reading = ReadField(text);
    if (!reading.wholeText)
        return std::nullopt;
    const std::optional<std::int64_t> rounded = reading.value.RoundToInteger();
    if (!rounded || *rounded < std::numeric_limits<std::int16_t>::min() ||
        *rounded > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(*rounded);
}

} // namespace zentrix
