// HistoryEditor: the rules of the main window's "データベース編集" group, which reads, writes and
// deletes draws of the history file through eight text fields, a switch and three buttons.
#pragma once

#include "HistoryEditorView.h"
#include "HistoryFile.h"

#include <optional>
#include <string>
#include <string_view>

namespace zentrix {

/// The editor's texts for the user, exactly as shown. The two entry messages have two lines
/// joined by a carriage return and no line feed.
namespace editor_text {
inline constexpr std::string_view kRangeMessage =
    "無効な入力値です。\r1～43の数値を半角で入力し直して下さい。";
inline constexpr std::string_view kOrderMessage = "無効な入力値です。\r当選番号は小さい順に入力して下さい。";
inline constexpr std::string_view kInputErrorStatus = "入力値のエラーです。入力し直して下さい。";
inline constexpr std::string_view kInputErrorTitle = "入力エラー";
/// The title of the box that reports a failed read, write or delete of the data file.
inline constexpr std::string_view kStoreErrorTitle = "Zentrix";
/// The status text after a write whose draw number in `Text1` (as typed) was neither a stored
/// draw nor the next one, so the draw went to `record`, the next one:
/// "抽選回数「50」は保存済みの回でも次の回でもないため、第11回として書き込みました。"
std::string WrittenAsNextDraw(std::string_view typed, RecordNo record);
} // namespace editor_text

/**
 * The controller behind `Check1`, `Reading`, `Writing` and `Delete`. It keeps nothing between
 * events: the texts of the fields are the editor's state and the history file holds the rest.
 * Every change goes to the file at once; a change the file refuses is reported and leaves the
 * fields, Latest and `Text9` as they were.
 */
class HistoryEditor
{
public:
    HistoryEditor(HistoryFile& history, HistoryEditorView& view);

    /// Edit mode follows `Check1`: fields and buttons enabled with the window background when
    /// checked, disabled with the button face otherwise. Texts are left alone.
    void Check1_Click();

    /// Shows draw n = value of `Text1` (rounded, halves to even) when 1 <= n <= Latest; otherwise
    /// puts Latest + 1 in `Text1` and empties the seven number fields.
    void Reading_Click();

    /// Runs EntryCheck and, when the entry passes, writes it over draw n = value of `Text1` when
    /// 1 <= n <= Latest, or as a new draw Latest + 1 otherwise; then `Text1` shows the next new
    /// draw's number, the number fields are emptied and Latest is rescanned. When `Text1` held a
    /// number other than the draw the entry went to, the status line says where it went.
    void Writing_Click();

    /// Clears the latest stored draw in the file and lowers Latest by one. With no stored draw it
    /// writes nothing.
    void Delete_Click();

    /**
     * The entry check, in this order; the first failure is shown and ends it:
     * 1. each of `Text2`(0..5): value within 1..43 and the whole text a number (RangeMessage);
     * 2. each neighbour pair: `Text2`(i+1) not smaller than `Text2`(i), failing on the left field
     *    (OrderMessage);
     * 3. `Text8` as in 1 (RangeMessage).
     * Returns whether the entry passed.
     */
    bool EntryCheck();

private:
    struct Entry
    {
        DrawNumbers numbers{};
        std::int16_t bonus = 0;
    };

    void setEditMode(bool on);
    void failEntry(EditorField field, std::string_view message);
    bool inRange(EditorField field) const;
    std::optional<Entry> acceptedEntry() const;
    /// Draw n of `Text1` when 1 <= n <= Latest, nothing otherwise.
    std::optional<RecordNo> storedDrawInText1() const;
    void emptyNumberFields();
    void reportStoreError(const StoreStatus& status);

    HistoryFile& m_history;
    HistoryEditorView& m_view;
};

} // namespace zentrix
