// The generation run through the real main window: cmdGen, the progress bar, the results window
// it fills and shows, the clean-up after it closes, and the outcomes that produce no sets.
#include "ui/main_window/GenerationRunner.h"

#include "generator/GenerationRun.h"
#include "support/FailingDevice.h"
#include "support/ProgramEndCheck.h"
#include "support/QtTestSupport.h"
#include "ui/common/ProgramEnd.h"
#include "ui/main_window/MainWindowFixture.h"
#include "ui/results_window/PrintDialog.h"
#include "ui/results_window/TmpForm.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QRadioButton>
#include <QTableWidget>
#include <numeric>
#include <vector>

namespace zentrix::test {
namespace {

using ui::MessageBox;
using ui::PrintDialog;
using ui::ResultsWindow;
using ui::TmpForm;

const QString kDoneText = QStringLiteral("予想番号が出ました。当たるといいですね。");

/// What the results window looked like while it was open.
struct OpenWindow
{
    bool shown = false;
    bool modal = false;
    bool owned = true;
    QRect geometry;
    int progressValue = -1;
    int progressMaximum = -1;
    QString status;
    std::vector<std::vector<QString>> cells; ///< rows 0..100, columns 0..6
};

class GenerationRunnerTest : public MainWindowFixture
{
protected:
    GenerationRunnerTest()
        : GenerationRunnerTest(std::make_shared<FailurePlan>())
    {
    }
    explicit GenerationRunnerTest(std::shared_ptr<FailurePlan> failures)
        : MainWindowFixture(std::make_unique<FailingDevice>(failures))
        , plan(std::move(failures))
    {
    }

    void SetUp() override
    {
        MainWindowFixture::SetUp();
        QObject::connect(ui.ProgressBar1, &QProgressBar::valueChanged,
                         [this](int value) { m_progress.push_back(value); });
        window.show();
    }

    /// The real history when it is on this machine, otherwise a synthetic one of the same length.
    void openWithHistory()
    {
        auto real = RealHistory();
        reload(real ? *real : SyntheticHistory(2037, 20261207));
    }

    void TearDown() override
    {
        PrintDialog::setInterceptor({});
        ui::SetProgramEndHook({});
        TmpForm::Unload();
    }

    /// Clicks cmdGen; while the results window is open, records it, runs `whileOpen` and closes it.
    OpenWindow run(int sets, std::function<void(ResultsWindow&)> whileOpen = {})
    {
        m_progress.clear();
        OpenWindow seen;
        seen.shown = generate(sets, [&](ResultsWindow& results) {
            seen.modal = results.windowModality() == Qt::ApplicationModal;
            seen.owned = results.parentWidget() != nullptr;
            seen.geometry = results.geometry();
            seen.progressValue = ui.ProgressBar1->value();
            seen.progressMaximum = ui.ProgressBar1->maximum();
            seen.status = window.statusText();
            for (int row = 0; row < ResultsWindow::kRows; ++row) {
                auto& line = seen.cells.emplace_back();
                for (int col = 0; col < ResultsWindow::kColumns; ++col)
                    line.push_back(results.cellText(row, col));
            }
            if (whileOpen)
                whileOpen(results);
        });
        return seen;
    }

    void expectBackToIdle()
    {
        EXPECT_EQ(ui.ProgressBar1->value(), 0);
        EXPECT_EQ(window.generationRunner().resultsWindow(), nullptr);
        for (QWidget* top : QApplication::topLevelWidgets())
            EXPECT_NE(top->objectName(), QStringLiteral("frmFlexAns")) << "a results window was left";
        EXPECT_FALSE(TmpForm::IsLoaded());
    }

    /// The data file's device forwards to the real file until a test plans a failure here.
    std::shared_ptr<FailurePlan> plan;
    MessageLog messages;
    std::vector<int> m_progress;
};

/// Checks that rows 1..sets hold valid sets as two-digit texts and the other rows only labels.
void ExpectSets(const OpenWindow& seen, int sets)
{
    ASSERT_EQ(seen.cells.size(), 101u);
    for (int col = 0; col < 7; ++col)
        EXPECT_EQ(seen.cells[0][col], QString()) << "header row, column " << col;
    for (int row = 1; row <= 100; ++row) {
        const auto& cells = seen.cells[static_cast<std::size_t>(row)];
        ASSERT_EQ(cells[0], QStringLiteral("%1→").arg(row, 3, 10, QLatin1Char('0')));
        int previous = 0;
        for (int col = 1; col <= 6; ++col) {
            if (row > sets) {
                ASSERT_EQ(cells[col], QString()) << "row " << row << " should be empty";
                continue;
            }
            ASSERT_EQ(cells[col].size(), 2) << "row " << row << ": " << cells[col].toStdString();
            const int number = cells[col].toInt();
            ASSERT_GT(number, previous) << "row " << row << " not ascending and distinct";
            ASSERT_LE(number, 43);
            previous = number;
        }
    }
}

TEST_F(GenerationRunnerTest, OneSet)
{
    openWithHistory();
    const OpenWindow seen = run(1);
    ASSERT_TRUE(seen.shown);
    EXPECT_TRUE(seen.modal);
    EXPECT_FALSE(seen.owned);
    EXPECT_EQ(seen.progressMaximum, 1);
    EXPECT_EQ(seen.progressValue, 1) << "full while the results are shown";
    EXPECT_EQ(seen.status, kDoneText);
    ExpectSets(seen, 1);
    EXPECT_EQ(m_progress, std::vector<int>({1, 0}));
    expectBackToIdle();
    EXPECT_EQ(window.statusText(), kDoneText) << "the text stays after the window closed";
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(GenerationRunnerTest, HundredSetsStepTheProgressOncePerSet)
{
    openWithHistory();
    const OpenWindow seen = run(100);
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.progressMaximum, 100);
    EXPECT_EQ(seen.progressValue, 100);
    ExpectSets(seen, 100);
    std::vector<int> expected(100);
    std::iota(expected.begin(), expected.end(), 1);
    expected.push_back(0);
    EXPECT_EQ(m_progress, expected) << "one step per kept set, then back to 0";
    expectBackToIdle();
}

TEST_F(GenerationRunnerTest, ALaterRunKeepsNothingOfAnEarlierOne)
{
    openWithHistory();
    const OpenWindow first = run(50, [](ResultsWindow& results) {
        results.move(results.pos() + QPoint(-300, 60));
        results.controls().MSFlexGrid1->scrollToBottom();
    });
    ExpectSets(first, 50);
    const OpenWindow second = run(3);
    ExpectSets(second, 3); // rows 4..50 are empty again
    EXPECT_EQ(second.geometry, first.geometry) << "the same opening place, whatever the user did";
    EXPECT_EQ(second.progressMaximum, 3);
    EXPECT_EQ(m_progress, std::vector<int>({1, 2, 3, 0}));
    expectBackToIdle();
}

TEST_F(GenerationRunnerTest, PrintingPrintsTheSetCountOfTheSlider)
{
    openWithHistory();
    int dialogs = 0;
    PrintDialog::setInterceptor([&](QPrinter&) {
        ++dialogs;
        return false;
    });
    QString lastStaged;
    const OpenWindow seen = run(7, [&](ResultsWindow& results) {
        QTest::mouseClick(results.controls().PrintButton, Qt::LeftButton); // cancelled
        EXPECT_FALSE(TmpForm::IsLoaded());
        PrintDialog::setInterceptor([&](QPrinter& printer) {
            ++dialogs;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString((dir / "job.pdf").string()));
            return true;
        });
        QTest::mouseClick(results.controls().PrintButton, Qt::LeftButton);
        ASSERT_TRUE(TmpForm::IsLoaded());
        lastStaged = TmpForm::Load().Text1->text();
        EXPECT_EQ(lastStaged, results.PrintLine(7));
    });
    EXPECT_EQ(dialogs, 2);
    EXPECT_TRUE(lastStaged.startsWith(QStringLiteral("007→")));
    EXPECT_TRUE(std::filesystem::exists(dir / "job.pdf"));
    EXPECT_TRUE(messages.shown.empty());
    expectBackToIdle(); // TmpForm went with the results window
}

TEST_F(GenerationRunnerTest, ContradictionEndsTheProgramWithTheFileClosed)
{
    // Fresh numbers of the latest draw: 13 and 15 only, both odd.
    reload({Draw({2, 4, 6, 8, 10, 12}, 14), Draw({2, 4, 6, 8, 10, 13}, 15)});
    ui.CarryNumber[2]->setChecked(true);
    ui.chkNum->setChecked(true);
    ui.sldNum->setValue(1);
    // The program ends, so the run happens in a child that checks, at the end, what was shown.
    auto shownBeforeTheEnd = [this]() -> std::string {
        if (messages.shown.size() != 1)
            return "expected one message, saw " + std::to_string(messages.shown.size());
        if (messages.shown[0].text != QString::fromUtf8(kContradictionMessage))
            return "wrong message: " + messages.shown[0].text.toStdString();
        if (messages.shown[0].title != QStringLiteral("Zentrix") ||
            messages.shown[0].icon != MessageBox::Icon::None)
            return "wrong title or icon";
        if (window.generationRunner().resultsWindow() != nullptr)
            return "a results window is open";
        if (window.statusText() == kDoneText)
            return "the status says the run completed";
        return {};
    };
    EXPECT_EXIT(
        {
            test::CheckFileClosedAtProgramEnd(history, dir.path(), shownBeforeTheEnd);
            window.generationRunner().cmdGen_Click();
        },
        ::testing::ExitedWithCode(test::kEndedWithFileClosed), "");
}

/// A history or setting that gives no sets, and a piece of the message it must give.
struct NoSetsCase
{
    const char* name;
    std::vector<DrawRecord> records;
    std::function<void(ui::MainWindowControls&, ui::GenerationRunner&, test::FailurePlan&)> prepare;
    const char* messagePart;
};

void PrintTo(const NoSetsCase& c, std::ostream* os)
{
    *os << c.name;
}

class GenerationRunnerOutcomeTest : public GenerationRunnerTest,
                                    public ::testing::WithParamInterface<NoSetsCase>
{
};

TEST_P(GenerationRunnerOutcomeTest, ShowsWhyAndGoesOn)
{
    reload(GetParam().records);
    GetParam().prepare(ui, window.generationRunner(), *plan);
    ui::SetProgramEndHook([] { ADD_FAILURE() << "the program must go on"; });
    const OpenWindow seen = run(ui.sldCount->value());
    EXPECT_FALSE(seen.shown);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Zentrix"));
    EXPECT_TRUE(messages.shown[0].text.contains(QString::fromUtf8(GetParam().messagePart)))
        << messages.shown[0].text.toStdString();
    EXPECT_TRUE(m_progress.empty()) << "no step was counted";
    EXPECT_NE(window.statusText(), kDoneText);
    expectBackToIdle();
    EXPECT_TRUE(history.IsOpen());
}

const std::vector<DrawRecord> kOddFresh{Draw({2, 4, 6, 8, 10, 12}, 14), Draw({2, 4, 6, 8, 10, 13}, 15)};

INSTANTIATE_TEST_SUITE_P(
    Outcomes, GenerationRunnerOutcomeTest,
    ::testing::Values(NoSetsCase{"TooFewDraws",
                                 {Draw({1, 2, 3, 4, 5, 6}, 7)},
                                 [](auto&, auto&, auto&) {},
                                 "2回分以上の当選番号が必要です"},
                      NoSetsCase{"NoPassingSet", kOddFresh,
                                 [](ui::MainWindowControls& ui, ui::GenerationRunner&, test::FailurePlan&) {
                                     ui.CarryNumber[1]->setChecked(true); // one fresh number, all six even
                                     ui.sldNum->setValue(1);
                                 },
                                 "設定を変更して下さい"},
                      NoSetsCase{
                          "TooSlow", test::SyntheticHistory(300, 5),
                          [](ui::MainWindowControls&, ui::GenerationRunner& runner, test::FailurePlan&) {
                              runner.setRunLimits(RunLimits{6, 8, 0}); // no sampler to hand over to
                          },
                          "時間内に出せませんでした"},
                      NoSetsCase{"ReadFailed", test::SyntheticHistory(300, 6),
                                 [](ui::MainWindowControls&, ui::GenerationRunner&, test::FailurePlan& plan) {
                                     plan.failReads = true;
                                 },
                                 "Loto6data.dt"}),
    [](const ::testing::TestParamInfo<NoSetsCase>& info) { return std::string(info.param.name); });

TEST_F(GenerationRunnerTest, ADamagedDataFileIsNamedInsteadOfTheSettings)
{
    // Twenty records of 0xFF bytes: numbers of -1, which no weight counts.
    const DrawRecord filledWithFF = Draw({-1, -1, -1, -1, -1, -1}, -1, -1);
    reload(std::vector<DrawRecord>(20, filledWithFF));
    ui::SetProgramEndHook([] { ADD_FAILURE() << "the program must go on"; });
    EXPECT_FALSE(run(5).shown);
    ASSERT_EQ(messages.shown.size(), 1u);
    const QString text = messages.shown[0].text;
    EXPECT_EQ(messages.shown[0].icon, MessageBox::Icon::Exclamation);
    EXPECT_TRUE(
        text.startsWith(QStringLiteral("データファイル「Loto6data.dt」の第1回は当選番号ではない値（")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("データファイルが壊れているか、別のファイルです。")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("重み"))) << text.toStdString();
    expectBackToIdle();
    EXPECT_TRUE(history.IsOpen());
}

TEST_F(GenerationRunnerTest, AfterSuchAMessageTheNextRunWorks)
{
    reload({Draw({2, 4, 6, 8, 10, 12}, 14), Draw({2, 4, 6, 8, 10, 13}, 15)});
    ui.sldNum->setValue(1); // six even numbers, but the one carried number must be 13 or 15
    EXPECT_FALSE(run(2).shown);
    ASSERT_EQ(messages.shown.size(), 1u);
    ui.sldNum->setValue(4);
    ui.chkData->setChecked(false); // two draws leave most numbers without weight
    const OpenWindow seen = run(2);
    EXPECT_TRUE(seen.shown);
    ExpectSets(seen, 2);
    EXPECT_EQ(messages.shown.size(), 1u) << messages.shown.back().text.toStdString();
    expectBackToIdle();
}

} // namespace
} // namespace zentrix::test
