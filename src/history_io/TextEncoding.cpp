// TextEncoding: UTF-8 validation, CP932 conversion through iconv, and display widths.
#include "history_io/TextEncoding.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace zentrix {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

/// Length of the well-formed UTF-8 sequence at the start of `bytes`, or 0 when it is not one.
std::size_t Utf8SequenceLength(std::string_view bytes)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // no overlong forms
        if (lead == 0xED)
            high = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (bytes.size() < length)
        return 0;
    if (byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    }
    return length;
}

std::size_t LineOf(std::string_view bytes, std::size_t offset)
{
    return 1 + static_cast<std::size_t>(std::count(bytes.begin(), bytes.begin() + offset, '\n'));
}

/// CP932 to UTF-8; on failure `badOffset` is the offset of the first byte iconv could not take.
bool Cp932ToUtf8(std::string_view bytes, std::string& out, std::size_t& badOffset)
{
    iconv_t converter = iconv_open("UTF-8", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        badOffset = 0;
        return false;
    }
    out.clear();
    std::string input(bytes);
    char* in = input.data();
    std::size_t inLeft = input.size();
    char buffer[4096];
    bool ok = true;
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            ok = false; // EILSEQ or EINVAL: a byte sequence CP932 does not have
            badOffset = static_cast<std::size_t>(in - input.data());
            break;
        }
    }
    iconv_close(converter);
    return ok;
}

bool IsWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1FAFF) ||
           (c >= 0x20000 && c <= 0x3FFFD);
}

} // namespace

bool IsValidUtf8(std::string_view bytes)
{
    while (!bytes.empty()) {
        const std::size_t length = Utf8SequenceLength(bytes);
        if (length == 0)
            return false;
        bytes.remove_prefix(length);
    }
    return true;
}

DecodedText DecodeText(std::string_view bytes)
{
    DecodedText decoded;
    if (bytes.starts_with(kBom)) {
        bytes.remove_prefix(kBom.size());
        decoded.encoding = TextEncoding::Utf8WithBom;
        decoded.ok = IsValidUtf8(bytes);
        if (decoded.ok) {
            decoded.text.assign(bytes);
        } else {
            // A byte order mark promises UTF-8; find the line that breaks the promise.
            std::string_view rest = bytes;
            while (!rest.empty() && Utf8SequenceLength(rest) != 0)
                rest.remove_prefix(Utf8SequenceLength(rest));
            decoded.badLine = LineOf(bytes, bytes.size() - rest.size());
        }
        return decoded;
    }
    std::string_view valid = bytes;
    while (!valid.empty() && Utf8SequenceLength(valid) != 0)
        valid.remove_prefix(Utf8SequenceLength(valid));
    if (valid.empty()) {
        decoded.ok = true;
        decoded.text.assign(bytes);
        return decoded;
    }
    decoded.encoding = TextEncoding::Cp932;
    std::size_t badOffset = 0;
    decoded.ok = Cp932ToUtf8(bytes, decoded.text, badOffset);
    if (!decoded.ok) {
        decoded.text.clear();
        // The reading that got further is the one the file was written in: a UTF-8 file with one
        // stray byte far down fails as Shift_JIS on its first Japanese word.
        decoded.badLine = LineOf(bytes, std::max(badOffset, bytes.size() - valid.size()));
    }
    return decoded;
}

std::string EchoText(std::string_view text, std::size_t maxCharacters)
{
    std::string out;
    std::size_t characters = 0;
    while (!text.empty()) {
        if (characters == maxCharacters) {
            out += "…";
            break;
        }
        const auto byte = static_cast<unsigned char>(text.front());
        std::size_t length = Utf8SequenceLength(text);
        const bool c1 = length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[1]) < 0xA0;
        if (length == 0 || byte < 0x20 || byte == 0x7F || c1) {
            // Control characters (an escape sequence could retitle or clear the terminal) and
            // bytes that are not UTF-8 are shown as their code.
            if (length == 0)
                length = 1;
            for (std::size_t i = 0; i < length; ++i) {
                static constexpr char kHex[] = "0123456789ABCDEF";
                const auto b = static_cast<unsigned char>(text[i]);
                out += "\\x";
                out += kHex[b >> 4];
                out += kHex[b & 15];
            }
        } else {
            out.append(text.substr(0, length));
        }
        text.remove_prefix(length);
        ++characters;
    }
    return out;
}

std::string_view EncodingName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return "UTF-8";
    case TextEncoding::Utf8WithBom:
        return "UTF-8 (BOM付き)";
    case TextEncoding::Cp932:
        return "Shift_JIS (CP932)";
    }
    return "UTF-8";
}

std::size_t DisplayWidth(std::string_view utf8)
{
    std::size_t width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        length = std::min(length, utf8.size() - i);
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        width += IsWide(c) ? 2 : 1;
        i += length;
    }
    return width;
}

} // namespace zentrix
