// Arbitrary text in the history editor's eight fields: the value and integer readings, the entry
// check and "書き込み" on a real data file. Nothing may crash; an entry is accepted exactly when
// every number field is a whole number within 1..43 in ascending order; an accepted entry stores
// the rounded values that were checked, in the draw the editor names, and nothing else changes;
// a rejected entry leaves the file as it was.
//
// Input: one byte for the stored draws and the action, then the texts of Text1, Text2(0..5) and
// Text8, each ended by a zero byte.
#include "FuzzSupport.h"
#include "store/FieldReading.h"
#include "store/HistoryEditor.h"
#include "store/HistoryFile.h"
#include "support/RecordingEditorView.h"

#include <array>
#include <optional>

namespace zentrix::fuzz {
namespace {

constexpr std::array<EditorField, 8> kFields{EditorField::Text1,   EditorField::Text2_0, EditorField::Text2_1,
                                             EditorField::Text2_2, EditorField::Text2_3, EditorField::Text2_4,
                                             EditorField::Text2_5, EditorField::Text8};

/// The readings of one text must agree with each other.
void CheckReadings(std::string_view text)
{
    const FieldReading reading = ReadField(text);
    Require(reading.value == FieldValue(text), "the value of a field is its leading number");
    Require(!(reading.value.isZero() && reading.value.negative), "zero is never negative");
    Require(reading.value.digits.empty() ||
                (reading.value.digits.front() != '0' && reading.value.digits.back() != '0'),
            "digits carry no leading or trailing zero");
    const std::optional<std::int16_t> integer = FieldInteger(text);
    if (integer) {
        Require(reading.wholeText, "only a whole-number text has an integer");
        const std::optional<std::int64_t> rounded = reading.value.RoundToInteger();
        Require(rounded && *rounded == *integer, "the integer is the value rounded");
    } else if (reading.wholeText) {
        const std::optional<std::int64_t> rounded = reading.value.RoundToInteger();
        Require(!rounded || *rounded < INT16_MIN || *rounded > INT16_MAX,
                "a whole-number text within 16 bits has an integer");
    }
    if (const std::optional<std::int64_t> rounded = reading.value.RoundToInteger();
        rounded && *rounded > INT64_MIN && *rounded < INT64_MAX) {
        // The rounded integer lies within half of one of the value.
        const FieldNumber r = FieldNumber::FromInteger(*rounded);
        const FieldNumber below = FieldNumber::FromInteger(*rounded - 1);
        const FieldNumber above = FieldNumber::FromInteger(*rounded + 1);
        Require(below < reading.value && reading.value < above, "rounding moves a value by less than one");
        Require(((r <=> reading.value) == 0) == (r == reading.value), "ordering agrees with equality");
    }
}

const FieldNumber& One()
{
    static const FieldNumber one = FieldNumber::FromInteger(1);
    return one;
}

const FieldNumber& FortyThree()
{
    static const FieldNumber value = FieldNumber::FromInteger(43);
    return value;
}

bool Valid(const std::string& text)
{
    const FieldReading r = ReadField(text);
    return r.wholeText && r.value >= One() && r.value <= FortyThree();
}

/// What the entry check should say, worked out from the readings alone.
bool EntryShouldPass(const std::array<std::string, 8>& texts)
{
    for (std::size_t i = 1; i <= 7; ++i) {
        if (!Valid(texts[i]))
            return false;
    }
    for (std::size_t i = 1; i < 6; ++i) {
        if (FieldValue(texts[i + 1]) < FieldValue(texts[i]))
            return false;
    }
    return true;
}

void WriteStoredDraws(const std::filesystem::path& file, int count)
{
    HistoryFile history(file);
    if (!history.OpenHistory())
        Fail("the scratch data file opens");
    for (int k = 1; k <= count; ++k) {
        const auto n = static_cast<std::int16_t>(k);
        if (!history.WriteDraw(k,
                               {n, static_cast<std::int16_t>(n + 1), static_cast<std::int16_t>(n + 2),
                                static_cast<std::int16_t>(n + 3), static_cast<std::int16_t>(n + 4),
                                static_cast<std::int16_t>(n + 5)},
                               static_cast<std::int16_t>(n + 10)))
            Fail("the scratch data file takes a draw");
    }
}

} // namespace
} // namespace zentrix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace zentrix;
    using namespace zentrix::fuzz;

    InputReader in(std::span(data, size));
    const std::uint8_t setup = in.byte();
    const int storedDraws = setup % 5;
    const int action = (setup >> 3) % 4;

    test::RecordingEditorView view;
    view.check1 = true;
    view.whileMessageOpen = [&view] {
        Require(!view.messages.back().text.empty(), "a message always says something");
    };
    std::array<std::string, 8> texts;
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        texts[i] = std::string(in.until('\0'));
        view.texts[kFields[i]] = texts[i];
        CheckReadings(texts[i]);
    }

    const std::filesystem::path file = ScratchDir() / "Loto6data.dt";
    std::filesystem::remove(file);
    WriteStoredDraws(file, storedDraws);
    const std::vector<std::uint8_t> before = ReadFileBytes(file);

    HistoryFile history(file);
    if (!history.OpenHistory())
        Fail("the scratch data file opens again");
    HistoryEditor editor(history, view);

    if (action == 1) {
        editor.Reading_Click();
        Require(view.messagesWith(MessageIcon::Critical) == 0, "reading a stored draw works");
        return 0;
    }
    if (action == 2) {
        Require(editor.EntryCheck() == EntryShouldPass(texts),
                "the entry check passes exactly the valid entries");
        return 0;
    }

    const bool shouldPass = EntryShouldPass(texts);
    const RecordNo latest = history.Latest();
    const FieldNumber n = FieldValue(texts[0]);
    const RecordNo target =
        (n >= One() && n <= FieldNumber::FromInteger(latest)) ? *n.RoundToInteger() : latest + 1;

    editor.Writing_Click();
    Require(view.messagesWith(MessageIcon::Critical) == 0, "the scratch file never refuses a write");
    history.CloseHistory();
    const std::vector<std::uint8_t> after = ReadFileBytes(file);

    if (!shouldPass) {
        Require(view.messagesWith(MessageIcon::Exclamation) == 1, "a rejected entry says why, once");
        Require(after == before, "a rejected entry leaves the file byte for byte");
        return 0;
    }
    Require(view.messagesWith(MessageIcon::Exclamation) == 0, "an accepted entry shows no input error");
    Require(after.size() == std::max(before.size(), static_cast<std::size_t>(target) * 16),
            "an accepted entry writes one record, appending at most one");
    const std::size_t at = static_cast<std::size_t>(target - 1) * 16;
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (i < at || i >= at + 16)
            Require(i < before.size() && after[i] == before[i], "no other record changes");
    }
    const DrawRecord stored = DecodeRecord(std::span<const std::uint8_t, 16>(after.data() + at, 16));
    for (std::size_t i = 0; i < 7; ++i) {
        const std::int64_t checked = *FieldValue(texts[i + 1]).RoundToInteger();
        const std::int16_t value = i < 6 ? stored.Numbers[i] : stored.Bonus;
        Require(value >= 1 && value <= 43, "an accepted entry stores values 1..43");
        Require(value == checked, "an accepted entry stores the rounded values it checked");
    }
    Require(view.latest && *view.latest == std::max(latest, target), "the window learns the new Latest");
    Require(view.fieldText(EditorField::Text1) == std::to_string(std::max(latest, target) + 1),
            "Text1 shows the next new draw");
    return 0;
}
