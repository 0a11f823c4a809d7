// The File menu's history items on the real main window: importing a results CSV (what the
// question shows, refusals, the all-or-nothing write), exporting and importing back, the data
// file's information, and the hint after ジェネレート on a history too short to generate from.
#include "support/QtTestSupport.h"
#include "ui/common/FileDialog.h"
#include "ui/common/MessageBox.h"
#include "ui/main_window/MainWindowFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <fstream>
#include <optional>

namespace zentrix::test {
namespace {

using ui::FileDialog;
using ui::MessageBox;

/// Answers the window's file dialogs, boxes and questions, and keeps what they showed.
class Answers
{
public:
    Answers()
    {
        FileDialog::setInterceptor([this](const FileDialog::Request& request) {
            requests.push_back(request);
            return chosen;
        });
        MessageBox::setInterceptor([this](const MessageBox::Shown& shown) { boxes.push_back(shown); });
        MessageBox::setQuestionInterceptor([this](const MessageBox::Shown& shown) {
            questions.push_back(shown);
            return accept;
        });
    }
    ~Answers()
    {
        FileDialog::setInterceptor({});
        MessageBox::setInterceptor({});
        MessageBox::setQuestionInterceptor({});
    }
    Answers(const Answers&) = delete;
    Answers& operator=(const Answers&) = delete;

    QString chosen;     ///< what the file dialog returns; empty = cancelled
    bool accept = true; ///< the answer to the question
    std::vector<FileDialog::Request> requests;
    std::vector<MessageBox::Shown> boxes;
    std::vector<MessageBox::Shown> questions;
};

void WriteText(const std::filesystem::path& file, const std::string& text)
{
    std::ofstream(file, std::ios::binary) << text;
}

QString Q(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

class HistoryTransferGui : public MainWindowFixture
{
protected:
    void trigger(const char* action) { Child<QAction>(&window, QString::fromLatin1(action))->trigger(); }

    Answers answers;
};

TEST_F(HistoryTransferGui, ImportOfTheRealHistoryIntoAnEmptyOneShowsDraw2038)
{
    const std::optional<std::vector<DrawRecord>> real = RealHistory();
    if (!real)
        GTEST_SKIP() << "the real LOTO6 history is not there";
    ASSERT_EQ(ui.Text9->text(), QStringLiteral("1"));
    answers.chosen = Q(RealHistoryCsvPath());
    trigger("mnuImportResults");

    ASSERT_EQ(answers.questions.size(), 1u);
    const QString asked = answers.questions[0].text;
    EXPECT_TRUE(asked.contains(QStringLiteral("CSV の当選番号: 第1回〜第2037回（2037回分）")))
        << asked.toStdString();
    EXPECT_TRUE(asked.contains(QStringLiteral("新しく追加する回: 第1回〜第2037回（2037回分）")));
    EXPECT_TRUE(asked.contains(QStringLiteral("保存済みと同じ回: 0回分")));
    EXPECT_TRUE(asked.contains(QStringLiteral("文字コード: UTF-8")));
    const QString fullPath = Q(std::filesystem::absolute(dir / "Loto6data.dt"));
    EXPECT_TRUE(asked.contains(QStringLiteral("データファイル: %1（0回分）").arg(fullPath)))
        << asked.toStdString();
    // The file dialog names the data file too.
    ASSERT_EQ(answers.requests.size(), 1u);
    EXPECT_TRUE(answers.requests[0].title.contains(fullPath));

    EXPECT_EQ(ui.Text9->text(), QStringLiteral("2038"));
    EXPECT_EQ(window.Latest(), 2037);
    EXPECT_EQ(history.Latest(), 2037);
    EXPECT_EQ(ReadRecords(dir / "Loto6data.dt"), *real);
    EXPECT_TRUE(window.statusText().contains(QStringLiteral("第1回〜第2037回（2037回分）を取り込みました")));
    EXPECT_TRUE(answers.boxes.empty());

    // The editor works on the new history at once: the next draw appends as 2038.
    ui.Check1->setChecked(true);
    ui.Text1->setText(QStringLiteral("2037"));
    QTest::mouseClick(ui.Reading, Qt::LeftButton);
    EXPECT_EQ(ui.Text2[0]->text(), QString::number(real->back().Numbers[0]));

    // Importing the same file again finds nothing new and says so without asking.
    trigger("mnuImportResults");
    EXPECT_EQ(answers.questions.size(), 1u);
    ASSERT_EQ(answers.boxes.size(), 1u);
    EXPECT_TRUE(answers.boxes[0].text.contains(QStringLiteral("保存済みと同じ回: 2037回分")));
    EXPECT_TRUE(answers.boxes[0].text.contains(QStringLiteral("新しく取り込む当選番号はありません")));
}

TEST_F(HistoryTransferGui, ARefusedFileNamesTheLineAndLeavesTheDataFileByteIdentical)
{
    reload({Draw({1, 2, 3, 4, 5, 6}, 7), Draw({8, 9, 10, 11, 12, 13}, 14)});
    const std::vector<std::uint8_t> before = ReadBytes(dir / "Loto6data.dt");
    struct Case
    {
        const char* name;
        std::string csv;
        const char* expected;
    };
    const std::vector<Case> cases{
        {"out of range", "draw,date,n1,n2,n3,n4,n5,n6,bonus\n3,,1,2,3,4,5,6,7\n4,,1,2,3,4,5,44,7\n",
         "の3行目: 第4回の第6数字「44」は1から43の整数ではありません。"},
        {"differs from a stored draw",
         "draw,date,n1,n2,n3,n4,n5,n6,bonus\n1,,1,2,3,4,5,6,7\n2,,8,9,10,11,12,14,13\n",
         "の3行目: 第2回はデータファイルに別の当選番号"},
    };
    for (const Case& c : cases) {
        WriteText(dir / "bad.csv", c.csv);
        answers.chosen = Q(dir / "bad.csv");
        answers.boxes.clear();
        trigger("mnuImportResults");
        ASSERT_EQ(answers.boxes.size(), 1u) << c.name;
        EXPECT_TRUE(answers.boxes[0].text.contains(QString::fromUtf8(c.expected)))
            << answers.boxes[0].text.toStdString();
        EXPECT_TRUE(answers.boxes[0].text.contains(QStringLiteral("データファイルは変更していません")));
        EXPECT_EQ(answers.boxes[0].icon, MessageBox::Icon::Exclamation);
        EXPECT_TRUE(answers.questions.empty()) << c.name;
        EXPECT_EQ(ReadBytes(dir / "Loto6data.dt"), before) << c.name;
        EXPECT_EQ(ui.Text9->text(), QStringLiteral("3")) << c.name;
    }

    // A CSV that cannot be opened says why.
    answers.boxes.clear();
    answers.chosen = Q(dir / "no-such.csv");
    trigger("mnuImportResults");
    ASSERT_EQ(answers.boxes.size(), 1u);
    EXPECT_TRUE(answers.boxes[0].text.contains(QStringLiteral("が見つかりません")))
        << answers.boxes[0].text.toStdString();

    // Cancelling the file dialog or answering no to the question writes nothing either.
    answers.boxes.clear();
    answers.chosen.clear();
    trigger("mnuImportResults");
    WriteText(dir / "good.csv", "draw,date,n1,n2,n3,n4,n5,n6,bonus\n3,,1,2,3,4,5,6,7\n");
    answers.chosen = Q(dir / "good.csv");
    answers.accept = false;
    trigger("mnuImportResults");
    EXPECT_EQ(answers.questions.size(), 1u);
    EXPECT_TRUE(answers.boxes.empty());
    EXPECT_EQ(ReadBytes(dir / "Loto6data.dt"), before);
    EXPECT_EQ(ui.Text9->text(), QStringLiteral("3"));
}

TEST_F(HistoryTransferGui, DownloadedLayoutsImportThroughTheWindow)
{
    // Newest first, quoted full-width cells, 回号 and a full-width ＢＯＮＵＳ数字, CR LF and a
    // trailing empty column, with a byte order mark: as a result site or Excel writes it.
    WriteText(
        dir / "site.csv",
        "\xEF\xBB\xBF\"回号\",\"日付\",\"第１数字\",\"第２数字\",\"第３数字\",\"第４数字\",\"第５数字\","
        "\"第６数字\",\"ＢＯＮＵＳ数字\",\r\n"
        "\"第２回\",\"2000/10/12\",\"１\",\"９\",\"１６\",\"２０\",\"２１\",\"４３\",\"５\",\r\n"
        "\"第１回\",\"2000/10/05\",\"２\",\"８\",\"１０\",\"１３\",\"２７\",\"３０\",\"３９\",\r\n");
    answers.chosen = Q(dir / "site.csv");
    trigger("mnuImportResults");
    ASSERT_EQ(answers.questions.size(), 1u);
    EXPECT_TRUE(answers.questions[0].text.contains(QStringLiteral("UTF-8 (BOM付き)（新しい回が上の並び）")));
    EXPECT_EQ(ui.Text9->text(), QStringLiteral("3"));
    EXPECT_EQ(ReadRecords(dir / "Loto6data.dt"),
              (std::vector<DrawRecord>{Draw({2, 8, 10, 13, 27, 30}, 39), Draw({1, 9, 16, 20, 21, 43}, 5)}));
}

TEST_F(HistoryTransferGui, ExportThenImportRoundTripsByteForByteWithEqualNeighbours)
{
    // 5 5 10 20 30 40 and a bonus among the numbers pass the editor, so the file can hold them.
    const std::vector<DrawRecord> draws{Draw({2, 8, 10, 13, 27, 30}, 39), Draw({5, 5, 10, 20, 30, 40}, 7),
                                        Draw({1, 9, 16, 20, 21, 43}, 43)};
    reload(draws);
    answers.chosen = Q(dir / "export.csv");
    trigger("mnuExportResults");
    ASSERT_EQ(answers.requests.size(), 1u);
    EXPECT_EQ(answers.requests[0].mode, FileDialog::Mode::Save);
    const QString fullPath = Q(std::filesystem::absolute(dir / "Loto6data.dt"));
    EXPECT_TRUE(answers.requests[0].title.contains(fullPath + QStringLiteral("（3回分）")));
    ASSERT_EQ(answers.boxes.size(), 1u);
    EXPECT_TRUE(answers.boxes[0].text.contains(QStringLiteral("第1回〜第3回（3回分）を「")));
    EXPECT_TRUE(answers.boxes[0].text.contains(fullPath));

    // Into another, empty folder through another window: the same data file, byte for byte.
    TempDir other;
    HistoryFile otherHistory(other / "Loto6data.dt");
    ui::MainWindow otherWindow(otherHistory);
    ASSERT_TRUE(otherWindow.load());
    Child<QAction>(&otherWindow, QStringLiteral("mnuImportResults"))->trigger();
    ASSERT_EQ(answers.questions.size(), 1u);
    // The draws that are no valid LOTO6 result are named, and taken all the same.
    EXPECT_TRUE(answers.questions[0].text.contains(QStringLiteral("注意（2件）")));
    EXPECT_TRUE(answers.questions[0].text.contains(QStringLiteral("3行目: 第2回の本数字に 5 が2回以上")));
    EXPECT_EQ(otherWindow.controls().Text9->text(), QStringLiteral("4"));
    otherHistory.CloseHistory();
    history.CloseHistory();
    EXPECT_EQ(ReadBytes(other / "Loto6data.dt"), ReadBytes(dir / "Loto6data.dt"));
}

TEST_F(HistoryTransferGui, ExportNeverLandsOnTheDataFileAndAnEmptyHistoryHasNothingToExport)
{
    trigger("mnuExportResults");
    ASSERT_EQ(answers.boxes.size(), 1u);
    EXPECT_TRUE(answers.boxes[0].text.contains(QStringLiteral("書き出す当選番号がありません")));
    EXPECT_TRUE(answers.requests.empty());

    reload({Draw({1, 2, 3, 4, 5, 6}, 7)});
    const std::vector<std::uint8_t> before = ReadBytes(dir / "Loto6data.dt");
    answers.boxes.clear();
    answers.chosen = Q(dir / "Loto6data.dt");
    trigger("mnuExportResults");
    ASSERT_EQ(answers.boxes.size(), 1u);
    EXPECT_EQ(answers.boxes[0].icon, MessageBox::Icon::Critical);
    EXPECT_EQ(ReadBytes(dir / "Loto6data.dt"), before);
}

TEST_F(HistoryTransferGui, DataFileItemShowsTheFullPathAndTheDrawCount)
{
    reload({Draw({1, 2, 3, 4, 5, 6}, 7), Draw({8, 9, 10, 11, 12, 13}, 14)});
    trigger("mnuDataFile");
    ASSERT_EQ(answers.boxes.size(), 1u);
    EXPECT_EQ(answers.boxes[0].title, QStringLiteral("データファイルの情報"));
    EXPECT_TRUE(answers.boxes[0].text.contains(Q(std::filesystem::absolute(dir / "Loto6data.dt"))));
    EXPECT_TRUE(
        answers.boxes[0].text.contains(QStringLiteral("保存されている当選番号: 第1回〜第2回（2回分）")));
}

TEST_F(HistoryTransferGui, GenerateOnAShortHistoryAddsHowToImport)
{
    reload({Draw({1, 2, 3, 4, 5, 6}, 7)});
    QTest::mouseClick(ui.cmdGen, Qt::LeftButton);
    ASSERT_EQ(answers.boxes.size(), 1u);
    const QStringList lines = answers.boxes[0].text.split(QLatin1Char('\n'));
    EXPECT_EQ(
        lines.back(),
        QStringLiteral("当選番号の CSV は、メニューの「ファイル → 当選番号の取り込み…」で取り込めます。"));
    EXPECT_TRUE(lines.front().contains(QStringLiteral("2回分以上"))); // the run's own message first
}

} // namespace
} // namespace zentrix::test
