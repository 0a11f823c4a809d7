// Printing the results: the real print path rendered into PDF files and read back as text lines.
#include "PdfText.h"
#include "support/QtTestSupport.h"
#include "support/TempDir.h"
#include "ui/common/MessageBox.h"
#include "ui/results_window/LinePrinter.h"
#include "ui/results_window/PrintDialog.h"
#include "ui/results_window/ResultsWindow.h"
#include "ui/results_window/TmpForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

namespace zentrix::ui {
namespace {

namespace fs = std::filesystem;

const QString kHeader = QStringLiteral("Zentrix Predictor Ver.2.11");

QString Two(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QString Label(int row)
{
    return QStringLiteral("%1→").arg(row, 3, 10, QLatin1Char('0'));
}

/// Set `row`: six distinct ascending numbers that differ from row to row.
std::vector<int> SetOf(int row)
{
    std::vector<int> set;
    for (int i = 0; i < 6; ++i)
        set.push_back(1 + (row % 7) + i * 7);
    return set;
}

QString ExpectedLine(int row, const std::vector<int>& set)
{
    QString line = Label(row);
    for (std::size_t i = 0; i < set.size(); ++i)
        line += (i ? QStringLiteral(" , ") : QString()) + Two(set[i]);
    return line;
}

void Fill(ResultsWindow& window, int sets)
{
    for (int row = 1; row <= sets; ++row) {
        const std::vector<int> set = SetOf(row);
        for (int col = 1; col <= 6; ++col)
            window.setCellText(row, col, Two(set[col - 1]));
    }
}

/// Stands in for the print dialog and the message box: every confirmed dialog prints into the
/// next PDF file of the list, on the given paper.
class PrintingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!test::HavePdfToText())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        PrintDialog::setInterceptor([this](QPrinter& printer) {
            ++dialogs;
            if (!confirm)
                return false;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(nextFile().string()));
            printer.setPageSize(QPageSize(paper));
            return true;
        });
    }

    void TearDown() override
    {
        PrintDialog::setInterceptor({});
        TmpForm::Unload();
    }

    fs::path nextFile() { return files.emplace_back(dir / ("job" + std::to_string(files.size()) + ".pdf")); }

    void print(ResultsWindow& window) { window.controls().PrintButton->click(); }

    /// The printed pages of job `job`; fails the test when they cannot be read.
    std::vector<QStringList> pages(std::size_t job)
    {
        EXPECT_LT(job, files.size());
        if (job >= files.size())
            return {};
        const auto read = test::PdfPages(files[job]);
        EXPECT_TRUE(read.has_value()) << "cannot read " << files[job];
        return read.value_or(std::vector<QStringList>{});
    }

    static QStringList AllLines(const std::vector<QStringList>& pages)
    {
        QStringList lines;
        for (const QStringList& page : pages)
            lines += page;
        return lines;
    }

    test::TempDir dir;
    std::vector<fs::path> files;
    test::MessageLog messages;
    QPageSize::PageSizeId paper = QPageSize::A4;
    bool confirm = true;
    int dialogs = 0;
};

TEST_F(PrintingTest, OneSetGivesHeaderEmptyLineAndTheSet)
{
    ResultsWindow window([] { return 1; });
    const int set[6] = {1, 2, 9, 10, 11, 43};
    for (int col = 1; col <= 6; ++col)
        window.setCellText(1, col, Two(set[col - 1]));
    print(window);

    const auto printed = pages(0);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0],
              QStringList({kHeader, QString(), QStringLiteral("001→01 , 02 , 09 , 10 , 11 , 43")}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PrintingTest, HundredSetsRunOnOverSeveralPagesInOrder)
{
    paper = QPageSize::A6;
    ResultsWindow window([] { return 100; });
    Fill(window, 100);
    print(window);

    const auto printed = pages(0);
    ASSERT_GE(printed.size(), 3u) << "100 lines do not fit on one A6 page";
    QStringList expected{kHeader, QString()};
    for (int row = 1; row <= 100; ++row)
        expected << ExpectedLine(row, SetOf(row));
    EXPECT_EQ(AllLines(printed), expected);
    // Every page but the last is full: the break comes only when the next line does not fit.
    for (std::size_t page = 1; page + 1 < printed.size(); ++page)
        EXPECT_EQ(printed[page].size(), printed[0].size()) << "page " << page + 1;
    EXPECT_LE(printed.back().size(), printed[0].size());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PrintingTest, SetCountIsReadOnceAfterTheHeader)
{
    int reads = 0;
    QString stagedWhenRead;
    ResultsWindow window([&] {
        ++reads;
        stagedWhenRead = TmpForm::IsLoaded() ? TmpForm::Load().Text1->text() : QString();
        return 3;
    });
    Fill(window, 5);
    print(window);
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(stagedWhenRead, kHeader + QLatin1Char('\r'));
    const QStringList lines = AllLines(pages(0));
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines.last(), ExpectedLine(3, SetOf(3)));
}

TEST_F(PrintingTest, LinesAreTheGridCellsAsDisplayed)
{
    // Whatever the cells hold is printed as it stands, label included.
    ResultsWindow window([] { return 2; });
    Fill(window, 2);
    window.setCellText(2, 0, QStringLiteral("XYZ"));
    window.setCellText(2, 4, QStringLiteral("7"));
    print(window);
    const QStringList lines = AllLines(pages(0));
    ASSERT_EQ(lines.size(), 4);
    QStringList cells{QStringLiteral("XYZ")};
    std::vector<int> set = SetOf(2);
    EXPECT_EQ(lines[3], QStringLiteral("XYZ%1 , %2 , %3 , 7 , %4 , %5")
                            .arg(Two(set[0]), Two(set[1]), Two(set[2]), Two(set[4]), Two(set[5])));
}

TEST_F(PrintingTest, PrintingTwiceGivesTwoIdenticalJobs)
{
    ResultsWindow window([] { return 40; });
    Fill(window, 40);
    print(window);
    print(window);
    ASSERT_EQ(files.size(), 2u);
    const auto first = pages(0);
    EXPECT_EQ(first.front().front(), kHeader);
    EXPECT_EQ(AllLines(first).size(), 42);
    EXPECT_EQ(pages(1), first);
    EXPECT_EQ(window.cellText(40, 6), Two(SetOf(40)[5])) << "the grid is unchanged by printing";
}

TEST_F(PrintingTest, CancelPrintsNothingAndSaysNothing)
{
    confirm = false;
    ResultsWindow window([] { return 5; });
    Fill(window, 5);
    print(window);
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(files.empty());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(TmpForm::IsLoaded()) << "nothing was staged";
    EXPECT_EQ(window.cellText(5, 1), Two(SetOf(5)[0]));
}

TEST_F(PrintingTest, APrinterThatCannotStartGetsAMessage)
{
    PrintDialog::setInterceptor([this](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString((dir / "no-such-folder" / "job.pdf").string()));
        return true;
    });
    ResultsWindow window([] { return 1; });
    Fill(window, 1);
    print(window);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Zentrix"));
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("印刷を開始できませんでした。プリンターの接続と設定を確認して下さい。"));
    EXPECT_FALSE(fs::exists(dir / "no-such-folder" / "job.pdf"));
}

TEST(PrintDialog, TheSystemDialogOffersNoPrintToFileNorAPageRange)
{
    QPrinter printer;
    const std::unique_ptr<QPrintDialog> dialog = PrintDialog::Create(printer, nullptr);
    dialog->show();
    EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintToFile));
    QStringList choices;
    for (const QComboBox* box : dialog->findChildren<QComboBox*>())
        for (int i = 0; i < box->count(); ++i)
            choices << box->itemText(i);
    EXPECT_FALSE(choices.join(u'|').contains(QStringLiteral("Print to File")))
        << choices.join(u'|').toStdString();
    // Open the dialog's options part, where the page choices live.
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->isVisible() && button->text().contains(u">>"))
            button->click();
    }
    QStringList rangeControls;
    for (const char* name : {"printRange", "from", "to", "pagesRadioButton", "pagesLineEdit"}) {
        for (const QWidget* widget : dialog->findChildren<QWidget*>(QLatin1String(name))) {
            if (widget->isVisibleTo(dialog.get()))
                rangeControls << QString::fromLatin1(name);
        }
    }
    EXPECT_TRUE(rangeControls.isEmpty()) << rangeControls.join(u' ').toStdString();
    const auto* all = dialog->findChild<QAbstractButton*>(QStringLiteral("printAll"));
    EXPECT_TRUE(all == nullptr || all->isChecked());
    dialog->reject();
}

TEST(PrintDialog, ConfirmingWithoutAnyPrinterCountsAsACancel)
{
    QPrinter nowhere;
    nowhere.setOutputFormat(QPrinter::PdfFormat);
    EXPECT_FALSE(PrintDialog::HasSomewhereToPrint(nowhere));
    QPrinter file;
    file.setOutputFormat(QPrinter::PdfFormat);
    file.setOutputFileName(QStringLiteral("results.pdf"));
    EXPECT_TRUE(PrintDialog::HasSomewhereToPrint(file));
}

TEST(PrintDialog, WithoutAnyPrinterSaysSoInsteadOfOpening)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "this machine has a printer; the real dialog would open";
    test::MessageLog messages;
    QPrinter printer;
    EXPECT_FALSE(PrintDialog::exec(printer, nullptr));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, PrintDialog::NoPrinterText());
}

TEST_F(PrintingTest, TmpFormIsCreatedByTheFirstPrintAndNeverShown)
{
    ASSERT_FALSE(TmpForm::IsLoaded());
    ResultsWindow window([] { return 2; });
    Fill(window, 2);
    print(window);
    ASSERT_TRUE(TmpForm::IsLoaded());
    TmpForm& form = TmpForm::Load();
    EXPECT_EQ(form.objectName(), QStringLiteral("TmpForm"));
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.Text1->objectName(), QStringLiteral("Text1"));
    EXPECT_EQ(form.Text1->text(), ExpectedLine(2, SetOf(2))) << "the last staged line";
    TmpForm::Unload();
    EXPECT_FALSE(TmpForm::IsLoaded());
    TmpForm::Unload(); // unloading what is not loaded does nothing
}

TEST(LinePrinter, EveryLineBreakInsideATextStartsANewLine)
{
    if (!test::HavePdfToText())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    test::TempDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString((dir / "lines.pdf").string()));
    LinePrinter out(printer);
    ASSERT_TRUE(out.begin());
    EXPECT_TRUE(out.printLine(QStringLiteral("a\rb\nc\r\nd")));
    EXPECT_TRUE(out.printLine(QString()));
    EXPECT_TRUE(out.printLine(QStringLiteral("e")));
    EXPECT_TRUE(out.end());
    EXPECT_EQ(out.failure(), LinePrinter::Failure::None);
    const auto pages = test::PdfPages(dir / "lines.pdf");
    ASSERT_TRUE(pages.has_value());
    ASSERT_EQ(pages->size(), 1u);
    EXPECT_EQ(pages->front(), QStringList({"a", "b", "c", "d", "", "e"}));
}

TEST(LinePrinter, NothingPrintsAfterTheDeviceRefusedToStart)
{
    test::TempDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString((dir / "missing" / "x.pdf").string()));
    LinePrinter out(printer);
    EXPECT_FALSE(out.begin());
    EXPECT_FALSE(out.printLine(QStringLiteral("a")));
    EXPECT_FALSE(out.end());
    EXPECT_EQ(out.failure(), LinePrinter::Failure::CannotStart);
}

/// A PDF device whose pages run out after the first one, like a printer that fails mid-job.
class OnePageWriter : public QPdfWriter
{
public:
    using QPdfWriter::QPdfWriter;
    bool newPage() override { return false; }
};

TEST(LinePrinter, APageThatCannotBeStartedStopsTheJob)
{
    test::TempDir dir;
    OnePageWriter writer(QString::fromStdString((dir / "short.pdf").string()));
    writer.setPageSize(QPageSize(QPageSize::A7));
    LinePrinter out(writer);
    ASSERT_TRUE(out.begin());
    int printed = 0;
    while (printed < 1000 && out.printLine(QStringLiteral("line")))
        ++printed;
    EXPECT_GT(printed, 1) << "the first page takes several lines";
    EXPECT_LT(printed, 1000);
    EXPECT_EQ(out.failure(), LinePrinter::Failure::NewPageFailed);
    EXPECT_FALSE(out.printLine(QStringLiteral("more")));
    EXPECT_FALSE(out.end());
}

} // namespace
} // namespace zentrix::ui
