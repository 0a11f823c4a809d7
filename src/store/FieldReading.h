// FieldReading: the two ways the history editor reads the text of a field as a number.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zentrix {

/**
 * An exact decimal number, as typed: value = ±0.d1d2d3… × 10^exponent.
 *
 * `digits` holds the significant digits without leading or trailing zeros, so every number has
 * exactly one form and zero is the empty digit string (never negative). Nothing is rounded, so
 * comparisons and the rounding to an integer are exact however many digits the text carries,
 * and an exponent too large for any binary floating type (1e400) is still ordered correctly.
 */
struct FieldNumber
{
    bool negative = false;
    std::string digits;
    std::int64_t exponent = 0;

    bool isZero() const { return digits.empty(); }

    static FieldNumber FromInteger(std::int64_t value);

    /// Rounded to the nearest integer, an exact half going to the even neighbour (2.5 gives 2,
    /// 3.5 gives 4). Nothing when the result does not fit 64 bits.
    std::optional<std::int64_t> RoundToInteger() const;

    friend bool operator==(const FieldNumber&, const FieldNumber&) = default;
    friend std::strong_ordering operator<=>(const FieldNumber& a, const FieldNumber& b);
};

struct FieldReading
{
    /// The number at the start of the text; 0 when the text does not start with one.
    FieldNumber value;
    /// True when the whole text is that number (blanks aside); false for "12abc", "" and "abc".
    bool wholeText = false;
};

/**
 * Reads a field's text. The number is a half-width decimal with an optional sign, digits with an
 * optional fraction (".5", "5." and "5.25" all count) and an optional exponent ("e" or "E", an
 * optional sign, digits). Spaces, tabs and line feeds are skipped wherever they stand, so "1 2" is
 * 12 and "- 4" is -4. Reading stops at the first character that cannot continue the number; an
 * exponent mark with no digits after it is not part of the number ("3e" is 3 followed by "e").
 *
 * Only those characters make a number: full-width digits, "inf", "nan", "&H10" and "1,000" are
 * read as text (no number, or a number ending before them). No locale is consulted.
 */
FieldReading ReadField(std::string_view text);

/// The value of a field: its leading number, 0 when there is none.
inline FieldNumber FieldValue(std::string_view text)
{
    return ReadField(text).value;
}

/// The integer of a field, used when an accepted entry is stored: the whole text rounded to the
/// nearest integer with halves to even. Nothing when the whole text is not a number or the
/// result does not fit 16 bits.
std::optional<std::int16_t> FieldInteger(std::string_view text);

} // namespace zentrix
