// The File and Help menus: their tree, the way out of the program and the modal dialogs.
#include "support/ProgramEndCheck.h"
#include "support/QtTestSupport.h"
#include "ui/common/ProgramEnd.h"
#include "ui/main_window/MainWindowFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <algorithm>
#include <functional>
#include <string_view>

namespace zentrix::test {
namespace {

using MainWindowMenus = MainWindowFixture;

// The ways out end the process, so each runs in a child (a death test) that checks, once the
// program has ended, that the data file was closed and released on the way.
using test::CheckFileClosedAtProgramEnd;
using test::kEndedWithFileClosed;
using ::testing::ExitedWithCode;

TEST_F(MainWindowMenus, MenuTreeHasTheDesignCaptionsInOrder)
{
    // The program's own menus (予想, ツール) stand between the two menus of the original design.
    const QList<QAction*> bar = window.menuBar()->actions();
    ASSERT_EQ(bar.size(), 4);
    EXPECT_EQ(bar[0]->menu(), ui.mnuFile);
    EXPECT_EQ(bar[1]->menu(), ui.mnuPredictions);
    EXPECT_EQ(bar[2]->menu()->objectName(), QStringLiteral("mnuTools"));
    EXPECT_EQ(bar[3]->menu(), ui.mnuHelp);
    EXPECT_EQ(ui.mnuFile->title(), QStringLiteral("ファイル(&F)"));
    EXPECT_EQ(ui.mnuPredictions->title(), QStringLiteral("予想(&Y)"));
    EXPECT_EQ(ui.mnuHelp->title(), QStringLiteral("ヘルプ(&H)"));
    ASSERT_EQ(ui.mnuPredictions->actions().size(), 1);
    EXPECT_EQ(ui.mnuPredictions->actions()[0]->text(), QStringLiteral("予想履歴(&R)..."));

    // Each menu's items in order, by name and caption ("-" a separator); the access keys are the
    // letters after "&". The design's exit item stays last in the File menu, below the history
    // items, and stays the only member of its indexed group.
    using Items = std::vector<std::pair<const char*, const char*>>;
    const auto expectItems = [this](QMenu* menu, const Items& items) {
        const QList<QAction*> actions = menu->actions();
        ASSERT_EQ(actions.size(), qsizetype(items.size())) << menu->objectName().toStdString();
        for (std::size_t i = 0; i < items.size(); ++i) {
            SCOPED_TRACE(items[i].first);
            QAction* action = actions[qsizetype(i)];
            if (std::string_view(items[i].second) == "-") {
                EXPECT_TRUE(action->isSeparator());
            } else {
                EXPECT_EQ(action, Child<QAction>(&window, QString::fromLatin1(items[i].first)));
                EXPECT_EQ(action->text(), QString::fromUtf8(items[i].second));
            }
        }
    };
    expectItems(ui.mnuFile, {{"mnuImportResults", "当選番号の取り込み(&I)…"},
                             {"mnuExportResults", "当選番号の書き出し(&E)…"},
                             {"mnuDataFile", "データファイルの情報(&D)…"},
                             {"", "-"},
                             {"mnuFileItem_0", "終了(&X)"}});
    expectItems(ui.mnuHelp, {{"mnuHelpItem_0", "ヘルプ(&H)"},
                             {"mnuHelpItem_1", "-"},
                             {"mnuHelpItem_2", "免責次項(&M)"},
                             {"mnuHelpItem_3", "バージョン情報(&V)"}});
    EXPECT_EQ(ui.mnuFileItem.size(), 1u);
    EXPECT_EQ(ui.mnuHelp->actions()[1], ui.mnuHelpItem[1]);
    EXPECT_TRUE(ui.mnuFileItem[0]->isEnabled());
    EXPECT_FALSE(ui.mnuHelpItem[0]->isEnabled());
    EXPECT_TRUE(ui.mnuHelpItem[2]->isEnabled());
    EXPECT_TRUE(ui.mnuHelpItem[3]->isEnabled());
}

TEST_F(MainWindowMenus, ExitClosesTheHistoryAndEnds)
{
    // No draw was ever stored: the empty data file is closed and left as it is.
    ASSERT_TRUE(history.IsOpen());
    EXPECT_EXIT(
        {
            CheckFileClosedAtProgramEnd(history, dir.path(), [this] {
                return ReadBytes(dir / "Loto6data.dt").empty() ? std::string() : "the data file is not empty";
            });
            ui.mnuFileItem[0]->trigger();
        },
        ExitedWithCode(kEndedWithFileClosed), "");
}

TEST_F(MainWindowMenus, ExitWithoutTheTestHookLeavesWithSuccess)
{
    // The real way out: no hook, the process ends with status 0 and nothing after it runs.
    EXPECT_EXIT(
        {
            // No destructor runs in the child to remove its folder; the open file may go first.
            std::error_code ec;
            std::filesystem::remove_all(dir.path(), ec);
            ui.mnuFileItem[0]->trigger();
        },
        ExitedWithCode(0), "");
}

TEST_F(MainWindowMenus, CloseBoxEndsTheProgramWithTheFileClosed)
{
    showWindow();
    EXPECT_EXIT(
        {
            CheckFileClosedAtProgramEnd(history, dir.path());
            window.close();
        },
        ExitedWithCode(kEndedWithFileClosed), "");
}

TEST_F(MainWindowMenus, DisabledHelpItemDoesNothing)
{
    ui.mnuHelpItem[0]->trigger();
    window.mnuHelpItem_Click(0);
    window.mnuHelpItem_Click(1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(history.IsOpen());
}

class MainWindowDialogs : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        showWindow();
    }

    /// A click on chkConsecut sent through the window system, which withholds it from a window
    /// that a modal dialog blocks.
    void clickChkConsecutThroughTheWindowSystem()
    {
        const QPoint at = ui.chkConsecut->mapTo(&window, QPoint(6, ui.chkConsecut->height() / 2));
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, at);
    }

    struct Seen
    {
        QString dialog;
        bool chkConsecutChanged = true;
    };

    /// Runs `open` (which must open a modal dialog) and, while the dialog is up, records it,
    /// tries to use the main window, and closes the dialog with its OK button.
    Seen openAndClose(const std::function<void()>& open, const QString& okButton)
    {
        Seen seen;
        WhileModal(open, [&](QWidget* modal) {
            if (!modal)
                return;
            seen.dialog = modal->objectName();
            const bool before = ui.chkConsecut->isChecked();
            clickChkConsecutThroughTheWindowSystem();
            seen.chkConsecutChanged = ui.chkConsecut->isChecked() != before;
            if (auto* ok = Child<QPushButton>(modal, okButton))
                ok->click();
        });
        return seen;
    }
};

TEST_F(MainWindowDialogs, EachHelpItemOpensItsDialogModallyAndAFreshOneEachTime)
{
    const struct
    {
        int item;
        const char* dialog;
        const char* ok;
    } dialogs[] = {{2, "frmNotice", "cmdCloseMennseki"}, {3, "frmAbout", "cmdCloseAbout"}};
    for (const auto& d : dialogs) {
        for (int round = 0; round < 2; ++round) {
            SCOPED_TRACE(std::string(d.dialog) + " round " + std::to_string(round));
            const Seen seen =
                openAndClose([&] { ui.mnuHelpItem[d.item]->trigger(); }, QString::fromLatin1(d.ok));
            EXPECT_EQ(seen.dialog, QString::fromLatin1(d.dialog));
            EXPECT_FALSE(seen.chkConsecutChanged) << "the main window took input";
            // Closed means gone: nothing of the dialog is left behind for the next opening.
            const QWidgetList windows = QApplication::topLevelWidgets();
            EXPECT_TRUE(std::none_of(windows.begin(), windows.end(), [&](QWidget* w) {
                return w->objectName() == QString::fromLatin1(d.dialog);
            }));
        }
    }
    // Once they are closed, the same click reaches the main window again.
    clickChkConsecutThroughTheWindowSystem();
    EXPECT_FALSE(ui.chkConsecut->isChecked());
}

TEST_F(MainWindowDialogs, HelpMenuOpensTheVersionDialogFromTheKeyboard)
{
    QTest::keyClick(&window, Qt::Key_H, Qt::AltModifier);
    QTRY_VERIFY(ui.mnuHelp->isVisible());
    const Seen seen =
        openAndClose([&] { QTest::keyClick(ui.mnuHelp, Qt::Key_V); }, QStringLiteral("cmdCloseAbout"));
    EXPECT_EQ(seen.dialog, QStringLiteral("frmAbout"));
    EXPECT_FALSE(ui.mnuHelp->isVisible());
}

} // namespace
} // namespace zentrix::test
