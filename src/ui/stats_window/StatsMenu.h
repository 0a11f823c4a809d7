// StatsMenu: the 統計 menu of the main window and the statistics window it opens.
#pragma once

class QAction;
class QMenu;

namespace zentrix::ui {

class MainWindow;
class StatsWindow;

/// Adds the menu "統計(&S)" before the Help menu, with the item "統計と条件メーター(&T)..." that
/// opens the statistics window. Returns the item.
QAction* InstallStatsMenu(MainWindow& window);

/**
 * Opens the statistics window for `window` (or raises the one already open). It follows the main
 * window: its rule meter counts again whenever a carry, parity or consecutive setting changes, and
 * it reads the history again after every write or delete of the editor.
 */
StatsWindow* OpenStatsWindow(MainWindow& window);

} // namespace zentrix::ui
