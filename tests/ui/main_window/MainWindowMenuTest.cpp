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
#include <QTimer>
#include <algorithm>
#include <array>
#include <functional>

namespace zentrix::test {
namespace {

using MainWindowMenus = MainWindowFixture;

// The ways out end the process, so each runs in a child (a death test) that checks, once the
// program has ended, that the data file was closed and released on the way.
using test::CheckFileClosedAtProgramEnd;
using test::kEndedWithFileClosed;
using ::testing::ExitedWithCode;

TEST_F(MainWindowMenus, MenuTreeHasTheDesignCaptions)
{
    // The saved predictions' menu stands between the design's two, which keep their order.
    const QList<QAction*> bar = window.menuBar()->actions();
    // The program's own menus (予想, ツール) stand between the two menus of the original design.
    ASSERT_EQ(bar.size(), 4);
    EXPECT_EQ(bar[0]->menu(), ui.mnuFile);
    EXPECT_EQ(bar[1]->menu(), ui.mnuPredictions);
    EXPECT_EQ(bar[2]->menu()->objectName(), QStringLiteral("mnuTools"));
    EXPECT_EQ(bar[3]->menu(), ui.mnuHelp);
    EXPECT_EQ(ui.mnuPredictions->title(), QStringLiteral("予想(&Y)"));
    ASSERT_EQ(ui.mnuPredictions->actions().size(), 1);
    EXPECT_EQ(ui.mnuPredictions->actions()[0]->text(), QStringLiteral("予想履歴(&R)..."));
    EXPECT_EQ(QKeySequence::mnemonic(ui.mnuPredictions->title()), QKeySequence(Qt::ALT | Qt::Key_Y));
    EXPECT_EQ(ui.mnuFile->objectName(), QStringLiteral("mnuFile"));
    EXPECT_EQ(ui.mnuHelp->objectName(), QStringLiteral("mnuHelp"));
    EXPECT_EQ(ui.mnuFile->title(), QStringLiteral("ファイル(&F)"));
    EXPECT_EQ(ui.mnuHelp->title(), QStringLiteral("ヘルプ(&H)"));

    // The design's exit item stays last in the File menu, below the three history items and a
    // separator, and stays the only member of the indexed group (whose every index ends the program).
    const QList<QAction*> file = ui.mnuFile->actions();
    ASSERT_EQ(file.size(), 5);
    EXPECT_EQ(file[0], Child<QAction>(&window, QStringLiteral("mnuImportResults")));
    EXPECT_EQ(file[0]->text(), QStringLiteral("当選番号の取り込み(&I)…"));
    EXPECT_EQ(file[1], Child<QAction>(&window, QStringLiteral("mnuExportResults")));
    EXPECT_EQ(file[1]->text(), QStringLiteral("当選番号の書き出し(&E)…"));
    EXPECT_EQ(file[2], Child<QAction>(&window, QStringLiteral("mnuDataFile")));
    EXPECT_EQ(file[2]->text(), QStringLiteral("データファイルの情報(&D)…"));
    EXPECT_TRUE(file[3]->isSeparator());
    EXPECT_EQ(file[4], Child<QAction>(&window, QStringLiteral("mnuFileItem_0")));
    EXPECT_EQ(file[4]->text(), QStringLiteral("終了(&X)"));
    EXPECT_TRUE(file[4]->isEnabled());
    EXPECT_EQ(ui.mnuFileItem.size(), 1u);

    const QList<QAction*> help = ui.mnuHelp->actions();
    ASSERT_EQ(help.size(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(help[i], Child<QAction>(&window, QStringLiteral("mnuHelpItem_%1").arg(i)));
    EXPECT_EQ(help[0]->text(), QStringLiteral("ヘルプ(&H)"));
    EXPECT_FALSE(help[0]->isEnabled());
    EXPECT_TRUE(help[1]->isSeparator());
    EXPECT_EQ(help[2]->text(), QStringLiteral("免責次項(&M)"));
    EXPECT_EQ(help[3]->text(), QStringLiteral("バージョン情報(&V)"));
    EXPECT_TRUE(help[2]->isEnabled());
    EXPECT_TRUE(help[3]->isEnabled());
}

TEST_F(MainWindowMenus, AccessKeysAreTheLettersAfterTheAmpersand)
{
    EXPECT_EQ(QKeySequence::mnemonic(ui.mnuFile->title()), QKeySequence(Qt::ALT | Qt::Key_F));
    EXPECT_EQ(QKeySequence::mnemonic(ui.mnuHelp->title()), QKeySequence(Qt::ALT | Qt::Key_H));
    EXPECT_EQ(QKeySequence::mnemonic(ui.mnuFileItem[0]->text()), QKeySequence(Qt::ALT | Qt::Key_X));
    // The history items have keys of their own, none taken from the exit item.
    const std::array<std::pair<const char*, Qt::Key>, 3> added{
        {{"mnuImportResults", Qt::Key_I}, {"mnuExportResults", Qt::Key_E}, {"mnuDataFile", Qt::Key_D}}};
    for (const auto& [name, key] : added)
        EXPECT_EQ(QKeySequence::mnemonic(Child<QAction>(&window, QString::fromLatin1(name))->text()),
                  QKeySequence(Qt::ALT | key))
            << name;
    EXPECT_EQ(QKeySequence::mnemonic(ui.mnuHelpItem[2]->text()), QKeySequence(Qt::ALT | Qt::Key_M));
    EXPECT_EQ(QKeySequence::mnemonic(ui.mnuHelpItem[3]->text()), QKeySequence(Qt::ALT | Qt::Key_V));
}

TEST_F(MainWindowMenus, ExitClosesTheHistoryAndEnds)
{
    ASSERT_TRUE(history.IsOpen());
    EXPECT_EXIT(
        {
            CheckFileClosedAtProgramEnd(history, dir.path());
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

TEST_F(MainWindowMenus, AltFThenXEndsTheProgramFromTheKeyboard)
{
    showWindow();
    QTest::keyClick(&window, Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(ui.mnuFile->isVisible());
    EXPECT_EXIT(
        {
            CheckFileClosedAtProgramEnd(history, dir.path());
            QTest::keyClick(ui.mnuFile, Qt::Key_X);
        },
        ExitedWithCode(kEndedWithFileClosed), "");
}

TEST_F(MainWindowMenus, ExitWithNoDrawEverStoredLeavesTheEmptyFile)
{
    EXPECT_EXIT(
        {
            CheckFileClosedAtProgramEnd(history, dir.path(), [this] {
                return ReadBytes(dir / "Loto6data.dt").empty() ? std::string() : "the data file is not empty";
            });
            window.mnuFileItem_Click(0);
        },
        ExitedWithCode(kEndedWithFileClosed), "");
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
        QTimer::singleShot(0, &window, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            seen.dialog = modal->objectName();
            const bool before = ui.chkConsecut->isChecked();
            clickChkConsecutThroughTheWindowSystem();
            seen.chkConsecutChanged = ui.chkConsecut->isChecked() != before;
            if (auto* ok = modal->findChild<QPushButton*>(okButton))
                ok->click();
            else
                modal->close();
        });
        open();
        return seen;
    }
};

TEST_F(MainWindowDialogs, NoticeOpensModallyAndBlocksTheMainWindow)
{
    const Seen seen = openAndClose([&] { ui.mnuHelpItem[2]->trigger(); }, QStringLiteral("cmdCloseMennseki"));
    EXPECT_EQ(seen.dialog, QStringLiteral("frmNotice"));
    EXPECT_FALSE(seen.chkConsecutChanged);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // Once it is closed, the same click reaches the main window again.
    clickChkConsecutThroughTheWindowSystem();
    EXPECT_FALSE(ui.chkConsecut->isChecked());
}

TEST_F(MainWindowDialogs, VersionDialogOpensModallyAndBlocksTheMainWindow)
{
    const Seen seen = openAndClose([&] { ui.mnuHelpItem[3]->trigger(); }, QStringLiteral("cmdCloseAbout"));
    EXPECT_EQ(seen.dialog, QStringLiteral("frmAbout"));
    EXPECT_FALSE(seen.chkConsecutChanged);
    EXPECT_TRUE(ui.chkConsecut->isChecked());
}

TEST_F(MainWindowDialogs, EachOpeningBuildsAFreshDialog)
{
    for (int round = 0; round < 2; ++round) {
        const Seen seen =
            openAndClose([&] { window.mnuHelpItem_Click(2); }, QStringLiteral("cmdCloseMennseki"));
        EXPECT_EQ(seen.dialog, QStringLiteral("frmNotice"));
        // Closed means gone: nothing of the dialog is left behind for the next opening.
        const QWidgetList windows = QApplication::topLevelWidgets();
        EXPECT_TRUE(std::none_of(windows.begin(), windows.end(),
                                 [](QWidget* w) { return w->objectName() == QStringLiteral("frmNotice"); }));
    }
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

TEST_F(MainWindowDialogs, FileMenuOpensFromTheKeyboard)
{
    QTest::keyClick(&window, Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(ui.mnuFile->isVisible());
    EXPECT_EQ(ui.mnuFile->actions().value(ui.mnuFile->actions().size() - 1), ui.mnuFileItem[0]);
    QTest::keyClick(ui.mnuFile, Qt::Key_Escape);
    QTRY_VERIFY(!ui.mnuFile->isVisible());
    EXPECT_TRUE(history.IsOpen());
}

} // namespace
} // namespace zentrix::test
