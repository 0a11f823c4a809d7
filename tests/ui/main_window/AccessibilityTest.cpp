// What a screen reader finds in the main window and the results window, walked through Qt's
// accessibility interfaces: a name for every control, the status line's role, numbers read as
// numbers.
#include "MainWindowFixture.h"
#include "ui/results_window/ResultsWindow.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTableWidget>
#include <functional>
#include <map>

namespace zentrix::test {
namespace {

/// Every interface below `root`, depth first, with the root itself.
void Walk(QAccessibleInterface* root, const std::function<void(QAccessibleInterface*)>& visit, int depth = 0)
{
    ASSERT_NE(root, nullptr);
    ASSERT_LT(depth, 40) << "the accessibility tree does not end";
    visit(root);
    for (int i = 0; i < root->childCount(); ++i) {
        if (QAccessibleInterface* child = root->child(i))
            Walk(child, visit, depth + 1);
    }
}

struct Found
{
    QAccessible::Role role;
    QString name;
};

/// The interfaces of the tree that stand for a named widget (objectName), by that name.
std::map<QString, Found> NamedWidgets(QWidget* window)
{
    std::map<QString, Found> found;
    Walk(QAccessible::queryAccessibleInterface(window), [&](QAccessibleInterface* iface) {
        if (auto* widget = qobject_cast<QWidget*>(iface->object()); widget && !widget->objectName().isEmpty())
            found[widget->objectName()] = {iface->role(), iface->text(QAccessible::Name)};
    });
    return found;
}

class AccessibilityTest : public MainWindowFixture
{
};

TEST_F(AccessibilityTest, EveryControlOfTheMainWindowHasANameAScreenReaderCanSay)
{
    showWindow();
    const std::map<QString, Found> found = NamedWidgets(&window);
    int controls = 0;
    for (QWidget* widget : window.centralWidget()->findChildren<QWidget*>()) {
        if (widget->objectName().isEmpty() || widget->objectName().startsWith(QStringLiteral("qt_")))
            continue;
        ++controls;
        const auto entry = found.find(widget->objectName());
        ASSERT_NE(entry, found.end()) << "not in the tree: " << widget->objectName().toStdString();
        EXPECT_FALSE(entry->second.name.trimmed().isEmpty()) << widget->objectName().toStdString();
    }
    EXPECT_GE(controls, 50);

    const std::map<QString, QString> expected = {
        {"Text2_0", "当選番号1"}, {"Text2_5", "当選番号6"},     {"Text8", "ボーナス番号"},
        {"Text1", "抽選回数"},    {"sldCount", "同時予想回数"}, {"cmdGen", "ジェネレート"},
        {"Frame2", "当選番号"},
    };
    for (const auto& [name, text] : expected)
        EXPECT_EQ(found.at(name).name.toStdString(), text.toStdString()) << name.toStdString();
    EXPECT_EQ(found.at(QStringLiteral("Text2_0")).role, QAccessible::EditableText);
    EXPECT_EQ(found.at(QStringLiteral("sldCount")).role, QAccessible::Slider);
}

TEST_F(AccessibilityTest, TheStatusLineIsAStatusBarThatNamesItsText)
{
    showWindow();
    QAccessibleInterface* status = QAccessible::queryAccessibleInterface(ui.StatusBar2);
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->role(), QAccessible::StatusBar);
    EXPECT_EQ(NamedWidgets(&window).at(QStringLiteral("StatusBar2")).role, QAccessible::StatusBar);
    EXPECT_EQ(status->text(QAccessible::Name), QStringLiteral("ステータス"));
    window.setStatusText(QStringLiteral("予想番号を生成します。"));
    EXPECT_EQ(status->text(QAccessible::Name), QStringLiteral("予想番号を生成します。"));
    window.setStatusText(QStringLiteral(" "));
    EXPECT_EQ(status->text(QAccessible::Name), QStringLiteral("ステータス"));
}

TEST(ResultsWindowAccessibility, CellsReadAsTheirNumbersAndEveryControlHasAName)
{
    ui::ResultsWindow window([] { return 2; });
    const QStringList set{"03", "11", "17", "25", "38", "42"};
    for (int col = 1; col <= 6; ++col)
        window.setCellText(1, col, set[col - 1]);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(window.controls().MSFlexGrid1);
    ASSERT_NE(grid, nullptr);
    ASSERT_NE(grid->tableInterface(), nullptr);
    EXPECT_EQ(grid->text(QAccessible::Name), QStringLiteral("予想結果"));
    const QStringList spoken{"3", "11", "17", "25", "38", "42"};
    for (int col = 0; col < 6; ++col) {
        QAccessibleInterface* cell = grid->tableInterface()->cellAt(0, col);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->text(QAccessible::Name), spoken[col]) << col;
    }
    EXPECT_TRUE(grid->tableInterface()->cellAt(1, 0)->text(QAccessible::Name).isEmpty());

    // The row labels are the row headers; they say which set the row is, without the arrow.
    QStringList rowHeaders;
    std::map<QString, Found> named;
    Walk(QAccessible::queryAccessibleInterface(&window), [&](QAccessibleInterface* iface) {
        if (iface->role() == QAccessible::RowHeader)
            rowHeaders << iface->text(QAccessible::Name);
        if (auto* widget = qobject_cast<QWidget*>(iface->object()); widget && !widget->objectName().isEmpty())
            named[widget->objectName()] = {iface->role(), iface->text(QAccessible::Name)};
    });
    ASSERT_FALSE(rowHeaders.isEmpty());
    EXPECT_EQ(rowHeaders.front(), QStringLiteral("1組目"));
    EXPECT_FALSE(rowHeaders.join(QString()).contains(QStringLiteral("→")));
    EXPECT_EQ(named.at(QStringLiteral("PrintButton")).name, QStringLiteral("印刷"));
    EXPECT_EQ(named.at(QStringLiteral("OK_Button")).name, QStringLiteral("OK"));
    // The cells still show the design's texts.
    EXPECT_EQ(window.cellText(1, 1), QStringLiteral("03"));
    EXPECT_EQ(window.cellText(1, 0), QStringLiteral("001→"));
}

} // namespace
} // namespace zentrix::test
