// CsvHistory: header recognition, field parsing and the checks on every row.
#include "history_io/CsvHistory.h"

#include "store/HistoryFile.h"
#include "store/Loto6.h"

#include <algorithm>
#include <array>
#include <optional>

namespace zentrix {
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

/// A header name as it is compared: full-width ASCII forms (U+FF01..U+FF5E) narrowed, letters in
/// lower case, spaces dropped, so "ＢＯＮＵＳ数字", "Bonus数字" and "bonus数字" are one name.
std::string HeaderKey(std::string_view name)
{
    std::string key;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(name[k]); };
        char c = name[i];
        if (i + 2 < name.size() && byte(i) == 0xEF && (byte(i + 1) == 0xBC || byte(i + 1) == 0xBD)) {
            const unsigned code = 0xFF00u + ((byte(i + 1) & 0x03u) << 6) + (byte(i + 2) & 0x3Fu);
            if (code >= 0xFF01 && code <= 0xFF5E) {
                c = static_cast<char>(code - 0xFF01 + 0x21);
                i += 2;
            }
        }
        if (c == ' ')
            continue;
        key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    }
    return std::string(Trim(key));
}

/// The role of a header name, or -1 for a column that is not read.
int RoleOf(const std::string& name)
{
    const std::string key = HeaderKey(name);
    if (key == "開催回" || key == "回別" || key == "回号" || key == "draw")
        return kDrawColumn;
    if (key == "ボーナス数字" || key == "bonus数字" || key == "bonus" || key == "ボーナス")
        return kBonusColumn;
    for (int k = 1; k <= kNumbersInDraw; ++k) {
        const std::string digit = std::to_string(k);
        if (key == "第" + digit + "数字" || key == "本数字" + digit || key == "n" + digit)
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

/// The direction the draw numbers run in, known from the second row on.
enum class RowOrder
{
    Unknown,
    OldestFirst,
    NewestFirst,
};

std::optional<Fault> CheckRow(const std::vector<std::string>& fields, const std::array<int, kColumnRoles>& at,
                              std::optional<RecordNo> previous, RowOrder& order, CsvDraw& row,
                              std::vector<CsvWarning>& warnings)
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
    if (previous) {
        if (order == RowOrder::Unknown && row.draw == *previous + 1)
            order = RowOrder::OldestFirst;
        else if (order == RowOrder::Unknown && row.draw == *previous - 1)
            order = RowOrder::NewestFirst;
        const RecordNo expected = order == RowOrder::NewestFirst ? *previous - 1 : *previous + 1;
        if (order == RowOrder::Unknown || row.draw != expected)
            return Fault{"第" + std::to_string(*previous) + "回の次が第" + std::to_string(row.draw) +
                         "回です。開催回は1ずつ増える順か、1ずつ減る順（新しい回が上）に並べて下さい。"};
    }

    // A draw number with nothing else: an empty record of the history (export writes one so).
    bool allEmpty = true;
    for (int role = kFirstNumberColumn; role <= kBonusColumn; ++role)
        allEmpty = allEmpty && field(role).empty();
    if (allEmpty) {
        row.empty = true;
        return std::nullopt;
    }

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
    const std::string_view asIs =
        "LOTO6 の当選番号としては正しくありませんが、編集で保存できる形なのでそのまま取り込みます。";
    for (int k = 1; k < kNumbersInDraw; ++k) {
        // Equal neighbours pass the editor's checks, so its own files hold them: take them back.
        if (numbers[static_cast<std::size_t>(k)] == numbers[static_cast<std::size_t>(k - 1)] &&
            (k == 1 || numbers[static_cast<std::size_t>(k)] != numbers[static_cast<std::size_t>(k - 2)]))
            warnings.push_back({row.line, at2 + "本数字に " +
                                              std::to_string(numbers[static_cast<std::size_t>(k)]) +
                                              " が2回以上あります。" + std::string(asIs)});
    }
    const std::string& bonusText = field(kBonusColumn);
    const std::optional<std::int64_t> bonus = ParseWhole(bonusText);
    if (!bonus || *bonus < kLowestNumber || *bonus > kHighestNumber)
        return Fault{at2 + "ボーナス数字「" + EchoText(bonusText) + "」は1から43の整数ではありません。"};
    if (std::find(numbers.begin(), numbers.end(), *bonus) != numbers.end())
        warnings.push_back({row.line, at2 + "ボーナス数字 " + std::to_string(*bonus) +
                                          " が本数字の中にあります。" + std::string(asIs)});

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
    RowOrder order = RowOrder::Unknown;
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
                                        "ボーナス数字」（開催回は回別・回号でも可）または「" +
                                        std::string(kCsvHeader) + "」の形の見出しにして下さい。");
            haveHeader = true;
            continue;
        }
        CsvDraw row;
        row.line = lineNo;
        if (const std::optional<Fault> fault = CheckRow(*fields, at, previous, order, row, result.warnings)) {
            result.warnings.clear();
            return fail(lineNo, fault->reason);
        }
        previous = row.draw;
        result.draws.push_back(row);
    }
    if (!haveHeader)
        return fail(0, "ファイルが空です。");
    if (order == RowOrder::NewestFirst) {
        std::reverse(result.draws.begin(), result.draws.end());
        std::reverse(result.warnings.begin(), result.warnings.end());
        result.newestFirst = true;
    }
    result.ok = true;
    return result;
}

std::string CsvLine(RecordNo draw, const DrawRecord& record)
{
    std::string line = std::to_string(draw) + ",";
    if (record.isEmpty())
        return line + std::string(kNumbersInDraw + 1, ',');
    for (const std::int16_t n : record.Numbers)
        line += "," + std::to_string(n);
    line += "," + std::to_string(record.Bonus);
    return line;
}

std::string HistoryCsvText(const std::vector<DrawRecord>& draws, CsvLayout layout)
{
    const bool spreadsheet = layout == CsvLayout::Spreadsheet;
    const std::string_view end = spreadsheet ? "\r\n" : "\n";
    std::string text = spreadsheet ? "\xEF\xBB\xBF" : "";
    text += spreadsheet ? kJapaneseCsvHeader : kCsvHeader;
    text += end;
    RecordNo draw = 0;
    for (const DrawRecord& record : draws) {
        text += CsvLine(++draw, record);
        text += end;
    }
    return text;
}

StoreStatus ReadStoredDraws(HistoryFile& history, std::vector<DrawRecord>& draws)
{
    draws.clear();
    draws.reserve(static_cast<std::size_t>(std::max<RecordNo>(history.Latest(), 0)));
    for (RecordNo d = 1; d <= history.Latest(); ++d) {
        if (const StoreStatus read = history.ReadDraw(d); !read) {
            draws.clear();
            return read;
        }
        draws.push_back(history.CurrentRecord());
    }
    return StoreStatus::Ok();
}

} // namespace zentrix
