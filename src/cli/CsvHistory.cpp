// CsvHistory: header recognition, field parsing and the checks on every row.
#include "CsvHistory.h"

#include "store/Loto6.h"

#include <algorithm>
#include <array>
#include <optional>

namespace zentrix::cli {
namespace {

constexpr int kNumbersInDraw = kSetSize;

/// Column roles: the draw number, numbers 1..6, the bonus.
enum Column : int
{
    kDrawColumn = 0,
    kFirstNumberColumn = 1,
    kBonusColumn = 7,
    kColumnRoles = 8,
};

constexpr std::string_view kWhitespace = " \t\r\v\f";
constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";

std::string_view Trim(std::string_view text)
{
    for (;;) {
        const std::size_t before = text.size();
        while (!text.empty() && kWhitespace.find(text.front()) != std::string_view::npos)
            text.remove_prefix(1);
        while (!text.empty() && kWhitespace.find(text.back()) != std::string_view::npos)
            text.remove_suffix(1);
        if (text.starts_with(kFullWidthSpace))
            text.remove_prefix(kFullWidthSpace.size());
        if (text.ends_with(kFullWidthSpace))
            text.remove_suffix(kFullWidthSpace.size());
        if (text.size() == before)
            return text;
    }
}

/// Full-width digits (U+FF10..U+FF19, EF BC 90..99 in UTF-8) become ASCII digits.
std::string NarrowDigits(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i + 2 < text.size() && text[i] == '\xEF' && text[i + 1] == '\xBC' &&
            static_cast<unsigned char>(text[i + 2]) >= 0x90 &&
            static_cast<unsigned char>(text[i + 2]) <= 0x99) {
            out += static_cast<char>('0' + (static_cast<unsigned char>(text[i + 2]) - 0x90));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

/// More columns than any results file has; a line beyond it is refused before it costs memory.
constexpr std::size_t kMaxColumns = 256;

/// Splits one line into fields; a field in double quotes may hold commas and "" for a quote.
/// Nothing when a quote is left open or the line has more than kMaxColumns fields.
std::optional<std::vector<std::string>> SplitFields(std::string_view line)
{
    if (std::count(line.begin(), line.end(), ',') >= static_cast<std::ptrdiff_t>(kMaxColumns))
        return std::nullopt;
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    bool wasQuoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"' && Trim(field).empty() && !wasQuoted) {
            quoted = true;
            wasQuoted = true;
            field.clear();
        } else if (c == ',') {
            fields.push_back(NarrowDigits(Trim(field)));
            field.clear();
            wasQuoted = false;
        } else {
            field += c;
        }
    }
    if (quoted)
        return std::nullopt;
    fields.push_back(NarrowDigits(Trim(field)));
    return fields;
}

/// The role of a header name, or -1 for a column that is not read.
int RoleOf(const std::string& name)
{
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    if (lower == "開催回" || lower == "回別" || lower == "draw")
        return kDrawColumn;
    if (lower == "ボーナス数字" || lower == "bonus")
        return kBonusColumn;
    for (int k = 1; k <= kNumbersInDraw; ++k) {
        const std::string digit = std::to_string(k);
        if (lower == "第" + digit + "数字" || lower == "本数字" + digit || lower == "n" + digit)
            return kFirstNumberColumn + k - 1;
    }
    return -1;
}

std::string RoleName(int role)
{
    if (role == kDrawColumn)
        return "開催回";
    if (role == kBonusColumn)
        return "ボーナス数字";
    return "第" + std::to_string(role - kFirstNumberColumn + 1) + "数字";
}

/// A whole number of at most nine digits, or nothing.
std::optional<std::int64_t> ParseWhole(std::string_view text)
{
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<std::int64_t> ParseDrawNumber(std::string_view text)
{
    if (text.starts_with("第") && text.ends_with("回"))
        text = Trim(text.substr(3, text.size() - 6));
    return ParseWhole(text);
}

struct Fault
{
    std::string reason;
};

std::optional<Fault> CheckRow(const std::vector<std::string>& fields, const std::array<int, kColumnRoles>& at,
                              std::optional<RecordNo> previous, CsvDraw& row)
{
    const auto field = [&](int role) -> const std::string& {
        return fields[static_cast<std::size_t>(at[role])];
    };
    const int needed = *std::max_element(at.begin(), at.end()) + 1;
    if (static_cast<int>(fields.size()) < needed)
        return Fault{"列が足りません（見出しの列数 " + std::to_string(needed) + " に対して " +
                     std::to_string(fields.size()) + " 列です）。"};

    const std::optional<std::int64_t> draw = ParseDrawNumber(field(kDrawColumn));
    if (!draw || *draw < 1)
        return Fault{"開催回「" + EchoText(field(kDrawColumn)) + "」は1以上の整数ではありません。"};
    row.draw = *draw;
    if (previous && row.draw != *previous + 1)
        return Fault{"第" + std::to_string(*previous) + "回の次が第" + std::to_string(row.draw) +
                     "回です。開催回は1ずつ増える順に並べて下さい。"};

    const std::string at2 = "第" + std::to_string(row.draw) + "回の";
    std::array<int, kNumbersInDraw> numbers{};
    for (int k = 0; k < kNumbersInDraw; ++k) {
        const std::string& text = field(kFirstNumberColumn + k);
        const std::optional<std::int64_t> value = ParseWhole(text);
        if (!value || *value < kLowestNumber || *value > kHighestNumber)
            return Fault{at2 + RoleName(kFirstNumberColumn + k) + "「" + EchoText(text) +
                         "」は1から43の整数ではありません。"};
        numbers[static_cast<std::size_t>(k)] = static_cast<int>(*value);
    }
    std::sort(numbers.begin(), numbers.end());
    for (int k = 1; k < kNumbersInDraw; ++k) {
        if (numbers[static_cast<std::size_t>(k)] == numbers[static_cast<std::size_t>(k - 1)])
            return Fault{at2 + "本数字に " + std::to_string(numbers[static_cast<std::size_t>(k)]) +
                         " が2回あります。6個の数字はすべて異なるはずです。"};
    }
    const std::string& bonusText = field(kBonusColumn);
    const std::optional<std::int64_t> bonus = ParseWhole(bonusText);
    if (!bonus || *bonus < kLowestNumber || *bonus > kHighestNumber)
        return Fault{at2 + "ボーナス数字「" + EchoText(bonusText) + "」は1から43の整数ではありません。"};
    if (std::find(numbers.begin(), numbers.end(), *bonus) != numbers.end())
        return Fault{at2 + "ボーナス数字 " + std::to_string(*bonus) + " が本数字の中にあります。"};

    for (int k = 0; k < kNumbersInDraw; ++k)
        row.numbers[static_cast<std::size_t>(k)] =
            static_cast<std::int16_t>(numbers[static_cast<std::size_t>(k)]);
    row.bonus = static_cast<std::int16_t>(*bonus);
    return std::nullopt;
}

} // namespace

CsvReadResult ReadHistoryCsv(std::string_view bytes)
{
    CsvReadResult result;
    const DecodedText decoded = DecodeText(bytes);
    result.encoding = decoded.encoding;
    if (!decoded.ok) {
        result.errorLine = decoded.badLine;
        result.error = "文字コードが UTF-8 でも Shift_JIS でもありません。";
        return result;
    }
    const auto fail = [&](std::size_t line, std::string reason) {
        result.errorLine = line;
        result.error = std::move(reason);
        result.draws.clear();
        return result;
    };

    std::array<int, kColumnRoles> at{};
    at.fill(-1);
    bool haveHeader = false;
    std::optional<RecordNo> previous;
    std::string_view text = decoded.text;
    std::size_t lineNo = 0;
    while (!text.empty()) {
        ++lineNo;
        // Lines end in LF, CR LF or a lone CR (old Mac files).
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end != std::string_view::npos && text[end] == '\r' && next < text.size() && text[next] == '\n')
            ++next;
        text.remove_prefix(next);
        if (Trim(line).empty())
            continue;
        const std::optional<std::vector<std::string>> fields = SplitFields(line);
        if (!fields && std::count(line.begin(), line.end(), ',') >= static_cast<std::ptrdiff_t>(kMaxColumns))
            return fail(lineNo, "列が多すぎます（" + std::to_string(kMaxColumns) + " 列まで）。");
        if (!fields)
            return fail(lineNo, "引用符（\"）が閉じていません。");
        if (!haveHeader) {
            for (std::size_t i = 0; i < fields->size(); ++i) {
                const int role = RoleOf((*fields)[i]);
                if (role < 0)
                    continue;
                if (at[role] >= 0)
                    return fail(lineNo, "見出しに「" + RoleName(role) + "」に当たる列が2つあります。");
                at[role] = static_cast<int>(i);
            }
            std::string missing;
            for (int role = 0; role < kColumnRoles; ++role) {
                if (at[role] < 0)
                    missing += (missing.empty() ? "" : "、") + RoleName(role);
            }
            if (!missing.empty())
                return fail(lineNo, "見出しの行に " + missing +
                                        " の列が見つかりません。1行目は「開催回,日付,第1数字,…,第6数字,"
                                        "ボーナス数字」または「" +
                                        std::string(kCsvHeader) + "」の形の見出しにして下さい。");
            haveHeader = true;
            continue;
        }
        CsvDraw row;
        row.line = lineNo;
        if (const std::optional<Fault> fault = CheckRow(*fields, at, previous, row))
            return fail(lineNo, fault->reason);
        previous = row.draw;
        result.draws.push_back(row);
    }
    if (!haveHeader)
        return fail(0, "ファイルが空です。");
    result.ok = true;
    return result;
}

std::string CsvLine(RecordNo draw, const DrawRecord& record)
{
    std::string line = std::to_string(draw) + ",";
    for (const std::int16_t n : record.Numbers)
        line += "," + std::to_string(n);
    line += "," + std::to_string(record.Bonus);
    return line;
}

} // namespace zentrix::cli
