// TextEncoding: turning the bytes of a text file into UTF-8, whether it was saved as UTF-8 (with or
// without a byte order mark) or as Shift_JIS in Windows' form (CP932), as most Japanese files are.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zentrix {

enum class TextEncoding
{
    Utf8,
    Utf8WithBom,
    Cp932,
};

struct DecodedText
{
    bool ok = false;
    TextEncoding encoding = TextEncoding::Utf8;
    std::string text;        ///< UTF-8, without a byte order mark
    std::size_t badLine = 0; ///< when !ok: the 1-based line holding the first byte that fits neither
};

/// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

/// UTF-8 when the bytes are valid UTF-8 (a leading byte order mark is dropped), CP932 otherwise,
/// converted with iconv. Fails when the bytes are neither.
DecodedText DecodeText(std::string_view bytes);

/// Text from a file as a message may show it: control characters and bytes that are not UTF-8
/// written as \xNN, and anything longer than `maxCharacters` cut short with "…".
std::string EchoText(std::string_view text, std::size_t maxCharacters = 40);

/// "UTF-8", "UTF-8 (BOM付き)" or "Shift_JIS (CP932)".
std::string_view EncodingName(TextEncoding encoding);

/// Columns a UTF-8 text takes on a terminal: 2 for wide (CJK, full-width) characters, 1 otherwise.
std::size_t DisplayWidth(std::string_view utf8);

} // namespace zentrix
