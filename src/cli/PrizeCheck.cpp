// PrizeCheck: reading the lines of printed sets.
#include "PrizeCheck.h"

#include "store/Loto6.h"

#include <algorithm>
#include <cstdint>
#include <regex>
#include <vector>

namespace zentrix::cli {
namespace {

constexpr std::string_view kArrow = "→";

std::string_view Trim(std::string_view text)
{
    constexpr std::string_view space = " \t\r\n\v\f";
    const std::size_t first = text.find_first_not_of(space);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

bool AllDigits(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

/// Full-width digits, spaces, brackets and separators as their half-width forms, and every
/// separator people put between numbers ("、", "・", "／", dashes, tabs) as a comma.
std::string NormalizeSetText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::size_t length = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
        const std::string_view character = text.substr(i, length);
        std::uint32_t code = length == 1 ? byte : byte & (0x3F >> (length - 1));
        for (std::size_t k = 1; k < character.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(character[k]) & 0x3F);
        i += length;
        if (code >= 0xFF10 && code <= 0xFF19) { // ０..９
            out += static_cast<char>('0' + (code - 0xFF10));
            continue;
        }
        switch (code) {
        case 0x3000: // ideographic space
        case 0x00A0:
        case '\t':
        case '\r':
            out += ' ';
            break;
        case 0xFF08: // （
            out += '(';
            break;
        case 0xFF09: // ）
            out += ')';
            break;
        case 0xFF0F: // ／
            out += '/';
            break;
        case 0xFF0E: // ．
            out += '.';
            break;
        case 0xFF1A: // ：
            out += ':';
            break;
        case 0xFF0D: // －
        case 0x2212: // −
        case 0x2010: // ‐
        case 0x2013: // –
        case 0x2014: // —
        case 0x2015: // ―
            out += '-';
            break;
        case 0xFF0C: // ，
        case 0x3001: // 、
        case 0xFF64: // ､
        case 0x30FB: // ・
        case 0xFF65: // ･
        case 0xFF1B: // ；
            out += ',';
            break;
        default:
            out += character;
            break;
        }
    }
    return out;
}

bool IsSeparator(char c)
{
    return c == ' ' || c == ',' || c == '/' || c == '-' || c == ';' || c == ':' || c == '|';
}

const std::regex& DrawLabel()
{
    static const std::regex pattern("第 *[0-9]+ *回");
    return pattern;
}

const std::regex& DatePattern()
{
    // 2025/10/09, 2025-10-09, 2025.10.09 or 2025年10月9日, with the weekday in brackets.
    static const std::regex pattern(
        "[0-9]{4} *(?:/|-|\\.|年) *[0-9]{1,2} *(?:/|-|\\.|月) *[0-9]{1,2} *(?:日)?"
        " *(?:\\((?:月|火|水|木|金|土|日)\\))?");
    return pattern;
}

const std::regex& EraDatePattern()
{
    static const std::regex pattern("(?:令和|平成) *(?:[0-9]+|元) *年 *[0-9]{1,2} *月 *[0-9]{1,2} *日"
                                    " *(?:\\((?:月|火|水|木|金|土|日)\\))?");
    return pattern;
}

const std::regex& BonusInBrackets()
{
    static const std::regex pattern("(?:\\(|\\[|【) *[0-9]{1,2} *(?:\\)|\\]|】)");
    return pattern;
}

const std::regex& BonusAfterWord()
{
    static const std::regex pattern("(?:ボーナス数字|ボーナス|[Bb][Oo][Nn][Uu][Ss]|BO) *:? *[0-9]{1,2}");
    return pattern;
}

const std::regex& ResultsWords()
{
    static const std::regex pattern("ボーナス数字|ボーナス|本数字|抽選日|開催回|回別|回号|当選番号");
    return pattern;
}

ParsedSetLine Bad(std::string error)
{
    ParsedSetLine line;
    line.kind = ParsedSetLine::Bad;
    line.error = std::move(error);
    return line;
}

} // namespace

ParsedSetLine ParseSetLine(std::string_view original)
{
    // A set, even copied from a results page with its date and bonus, fits in a short line; a
    // longer one is not read at all (the patterns below are not meant for megabyte lines).
    constexpr std::size_t kLongestLine = 400;
    const std::string_view trimmed = Trim(original);
    if (trimmed.size() > kLongestLine)
        return Bad("行が長すぎます（予想番号の行は" + std::to_string(kLongestLine) + "バイトまでです）。");
    const std::string normalized = NormalizeSetText(trimmed);
    std::string_view text = Trim(normalized);
    if (text.empty() || text == kPrintHeader)
        return {};
    ParsedSetLine line;
    if (const std::size_t arrow = text.find(kArrow); arrow != std::string_view::npos) {
        const std::string_view label = Trim(text.substr(0, arrow));
        if (!AllDigits(label) || label.size() > 4)
            return Bad("「→」の前は行の番号（001 など）のはずですが「" + std::string(label) + "」です。");
        line.label = std::stoi(std::string(label));
        text.remove_prefix(arrow + kArrow.size());
    }

    // A line copied from a results page carries the draw number, the date and the bonus besides
    // the six numbers; they are set aside before the numbers are counted.
    std::string rest(text);
    bool fromResults = false;
    bool bonusSeen = false;
    for (const std::regex* pattern : {&DrawLabel(), &DatePattern(), &EraDatePattern()}) {
        if (std::regex_search(rest, *pattern)) {
            rest = std::regex_replace(rest, *pattern, " ");
            fromResults = true;
        }
    }
    for (const std::regex* pattern : {&BonusInBrackets(), &BonusAfterWord()}) {
        if (std::regex_search(rest, *pattern)) {
            rest = std::regex_replace(rest, *pattern, " ", std::regex_constants::format_first_only);
            fromResults = bonusSeen = true;
        }
    }
    rest = std::regex_replace(rest, ResultsWords(), " ");

    std::vector<std::string> tokens;
    std::string token;
    for (const char c : rest + ' ') {
        if (IsSeparator(c)) {
            if (!token.empty())
                tokens.push_back(std::move(token));
            token.clear();
        } else {
            token += c;
        }
    }
    if (fromResults && tokens.size() == line.set.size() + 2 && AllDigits(tokens.front()) &&
        std::stoi(tokens.front().substr(0, 5)) > kHighestNumber)
        tokens.erase(tokens.begin()); // the draw number written without 第…回
    if (fromResults && !bonusSeen && tokens.size() == line.set.size() + 1)
        tokens.pop_back(); // the bonus, written last without its brackets
    if (tokens.size() != line.set.size())
        return Bad("数字が6個ではありません（" + std::to_string(tokens.size()) + "個あります）。");
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const std::string& token = tokens[i];
        if (!AllDigits(token) || token.size() > 2 || std::stoi(token) < kLowestNumber ||
            std::stoi(token) > kHighestNumber)
            return Bad("「" + token + "」は1から43の数字ではありません。");
        line.set[i] = static_cast<std::int16_t>(std::stoi(token));
    }
    std::sort(line.set.begin(), line.set.end());
    if (const auto twice = std::adjacent_find(line.set.begin(), line.set.end()); twice != line.set.end())
        return Bad("数字 " + NumberText(*twice) + " が2回あります。");
    line.kind = ParsedSetLine::Set;
    return line;
}

} // namespace zentrix::cli
