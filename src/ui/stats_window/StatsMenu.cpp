// StatsMenu: the menu item and the wiring between frmMain and the statistics window.
#include "ui/stats_window/StatsMenu.h"

#include "ui/main_window/MainWindow.h"
#include "ui/stats_window/StatsWindow.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>

namespace zentrix::ui {

QAction* InstallStatsMenu(MainWindow& window)
{
    QMenu* menu = new QMenu(QStringLiteral("統計(&S)"), window.menuBar());
    menu->setObjectName(QStringLiteral("mnuStats"));
    window.menuBar()->insertMenu(window.controls().mnuHelp->menuAction(), menu);
    QAction* item = menu->addAction(QStringLiteral("統計と条件メーター(&T)..."));
    item->setObjectName(QStringLiteral("mnuStatsItem_0"));
    QObject::connect(item, &QAction::triggered, &window, [&window] { OpenStatsWindow(window); });
    return item;
}

StatsWindow* OpenStatsWindow(MainWindow& window)
{
    if (auto* open = window.findChild<StatsWindow*>(QStringLiteral("frmStats"), Qt::FindDirectChildrenOnly)) {
        open->show();
        open->raise();
        open->activateWindow();
        return open;
    }
    auto* stats = new StatsWindow(window.history(), &window);
    stats->setAttribute(Qt::WA_DeleteOnClose);
    stats->setSettings(window.readSettings());

    const MainWindowControls& ui = window.controls();
    const auto follow = [stats, &window] { stats->setSettings(window.readSettings()); };
    QObject::connect(ui.chkConsecut, &QCheckBox::toggled, stats, follow);
    QObject::connect(ui.CarryNumberGroup, &QButtonGroup::idToggled, stats, follow);
    QObject::connect(ui.chkNum, &QCheckBox::toggled, stats, follow);
    QObject::connect(ui.sldNum, &QSlider::valueChanged, stats, follow);
    QObject::connect(&window, &MainWindow::historyChanged, stats, &StatsWindow::reloadHistory);
    stats->show();
    return stats;
}

} // namespace zentrix::ui
