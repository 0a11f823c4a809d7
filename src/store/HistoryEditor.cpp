// HistoryEditor: edit mode, reading, the entry check, writing and deleting draws.
#include "HistoryEditor.h"

#include "FieldReading.h"
#include "Loto6.h"

namespace zentrix {
namespace {

constexpr EditorField kBonusField = EditorField::Text8;

const FieldNumber& lowestNumber()
{
    static const FieldNumber one = FieldNumber::FromInteger(kLowestNumber);
    return one;
}

const FieldNumber& highestNumber()
{
    static const FieldNumber fortyThree = FieldNumber::FromInteger(kHighestNumber);
    return fortyThree;
}

bool IsBlank(std::string_view text)
{
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

/// The text as typed, without surrounding blanks and cut after 12 characters.
std::string Shortened(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    text = text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
    std::size_t at = 0;
    for (int characters = 0; at < text.size() && characters < 12; ++characters) {
        const auto byte = static_cast<unsigned char>(text[at]);
        at += byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
    }
    return at < text.size() ? std::string(text.substr(0, at)) + "…" : std::string(text);
}

} // namespace

std::string editor_text::WrittenAsNextDraw(std::string_view typed, RecordNo record)
{
    return "抽選回数「" + Shortened(typed) + "」は保存済みの回でも次の回でもないため、第" +
           std::to_string(record) + "回として書き込みました。";
}

HistoryEditor::HistoryEditor(HistoryFile& history, HistoryEditorView& view)
    : m_history(history)
    , m_view(view)
{
}

void HistoryEditor::Check1_Click()
{
    setEditMode(m_view.isEditModeChecked());
}

void HistoryEditor::setEditMode(bool on)
{
    const FieldColour colour = on ? FieldColour::WindowBackground : FieldColour::ButtonFace;
    for (int i = 0; i < 6; ++i) {
        m_view.setEnabled(ControlOf(Text2Field(i)), on);
        m_view.setFieldColour(Text2Field(i), colour);
    }
    for (EditorField field : {EditorField::Text1, EditorField::Text8}) {
        m_view.setEnabled(ControlOf(field), on);
        m_view.setFieldColour(field, colour);
    }
    for (EditorControl button : {EditorControl::Reading, EditorControl::Writing, EditorControl::Delete})
        m_view.setEnabled(button, on);
}

std::optional<RecordNo> HistoryEditor::storedDrawInText1() const
{
    const FieldNumber n = FieldValue(m_view.fieldText(EditorField::Text1));
    if (n < lowestNumber() || n > FieldNumber::FromInteger(m_history.Latest()))
        return std::nullopt;
    // Within 1..Latest, so the rounded number is too.
    return n.RoundToInteger();
}

void HistoryEditor::emptyNumberFields()
{
    for (int i = 0; i < 6; ++i)
        m_view.setFieldText(Text2Field(i), {});
    m_view.setFieldText(kBonusField, {});
}

void HistoryEditor::Reading_Click()
{
    const std::optional<RecordNo> n = storedDrawInText1();
    if (!n) {
        m_view.setFieldText(EditorField::Text1, std::to_string(m_history.Latest() + 1));
        emptyNumberFields();
        return;
    }
    if (const StoreStatus status = m_history.ReadDraw(*n); !status) {
        reportStoreError(status);
        return;
    }
    const DrawRecord& record = m_history.CurrentRecord();
    for (int i = 0; i < 6; ++i)
        m_view.setFieldText(Text2Field(i), std::to_string(record.Numbers[static_cast<std::size_t>(i)]));
    m_view.setFieldText(kBonusField, std::to_string(record.Bonus));
}

bool HistoryEditor::inRange(EditorField field) const
{
    // A text that only starts with a number ("12abc") has no integer to store, so it is
    // rejected like any other invalid number.
    const FieldReading reading = ReadField(m_view.fieldText(field));
    return reading.wholeText && reading.value >= lowestNumber() && reading.value <= highestNumber();
}

void HistoryEditor::failEntry(EditorField field, std::string_view message)
{
    m_view.setStatusText(std::string(editor_text::kInputErrorStatus));
    m_view.setFieldColour(field, FieldColour::SelectionHighlight);
    m_view.showMessage(std::string(message), MessageIcon::Exclamation,
                       std::string(editor_text::kInputErrorTitle));
    m_view.setFieldText(field, {});
    m_view.setFocus(field);
    m_view.setFieldColour(field, FieldColour::WindowBackground);
}

bool HistoryEditor::EntryCheck()
{
    for (int i = 0; i < 6; ++i) {
        if (!inRange(Text2Field(i))) {
            failEntry(Text2Field(i), editor_text::kRangeMessage);
            return false;
        }
    }
    for (int i = 0; i < 5; ++i) {
        const FieldNumber left = FieldValue(m_view.fieldText(Text2Field(i)));
        const FieldNumber right = FieldValue(m_view.fieldText(Text2Field(i + 1)));
        if (right < left) {
            failEntry(Text2Field(i), editor_text::kOrderMessage);
            return false;
        }
    }
    if (!inRange(kBonusField)) {
        failEntry(kBonusField, editor_text::kRangeMessage);
        return false;
    }
    return true;
}

std::optional<HistoryEditor::Entry> HistoryEditor::acceptedEntry() const
{
    Entry entry;
    for (int i = 0; i < 6; ++i) {
        const std::optional<std::int16_t> number = FieldInteger(m_view.fieldText(Text2Field(i)));
        if (!number)
            return std::nullopt;
        entry.numbers[static_cast<std::size_t>(i)] = *number;
    }
    const std::optional<std::int16_t> bonus = FieldInteger(m_view.fieldText(kBonusField));
    if (!bonus)
        return std::nullopt;
    entry.bonus = *bonus;
    return entry;
}

void HistoryEditor::Writing_Click()
{
    if (!EntryCheck())
        return;
    // Every field that passed the check is a whole number within 1..43, so this always succeeds;
    // should it ever not, nothing is written.
    const std::optional<Entry> entry = acceptedEntry();
    if (!entry)
        return;

    const std::optional<RecordNo> stored = storedDrawInText1();
    const RecordNo record = stored.value_or(m_history.Latest() + 1);
    const std::string typed = m_view.fieldText(EditorField::Text1);
    if (const StoreStatus written = m_history.WriteDraw(record, entry->numbers, entry->bonus); !written) {
        reportStoreError(written);
        return;
    }
    // The draw is in the file and the store counts it even when the scan that follows cannot read
    // the file, so the window mirrors Latest either way and the failed scan is only reported.
    const StoreStatus scanned = m_history.FindLatest();
    m_view.setFieldText(EditorField::Text1, std::to_string(m_history.Latest() + 1));
    emptyNumberFields();
    m_view.setLatest(m_history.Latest());
    // A draw number that is neither stored nor the next one was not where the draw went: say so.
    if (!stored && !IsBlank(typed) &&
        FieldValue(typed).RoundToInteger() != std::optional<std::int64_t>(record))
        m_view.setStatusText(editor_text::WrittenAsNextDraw(typed, record));
    if (!scanned)
        reportStoreError(scanned);
}

void HistoryEditor::Delete_Click()
{
    if (m_history.Latest() < 1)
        return; // nothing stored, nothing to clear
    if (const StoreStatus deleted = m_history.DeleteLatest(); !deleted) {
        reportStoreError(deleted);
        return;
    }
    m_view.setLatest(m_history.Latest());
}

void HistoryEditor::reportStoreError(const StoreStatus& status)
{
    m_view.showMessage(DescribeStoreError(status, m_history.Path().filename().string()),
                       MessageIcon::Critical, std::string(editor_text::kStoreErrorTitle));
}

} // namespace zentrix
