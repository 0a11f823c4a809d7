// MainWindowLayout: builds frmMain's controls at their design positions, in their opening state.
#pragma once

#include "ui/common/Twips.h"

#include <QSize>

class QWidget;

namespace zentrix::ui {

struct MainWindowControls;

/// The client area below the menu bar: 10995 x 7725 twips.
inline constexpr QSize kMainClientSize(733, 515);

/// Creates every control of the window inside `client` (the area below the menu bar), in tab
/// order, with its caption, font, range and design value, and fills `ui` with them. Menus are
/// not built here. The window's own face ("ＭＳ ゴシック" 9 point) is expected to be set on an
/// ancestor of `client`.
void BuildMainWindowControls(QWidget* client, MainWindowControls& ui);

} // namespace zentrix::ui
