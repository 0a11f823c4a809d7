// AppIcon: the program's icon, the same on every window.
#pragma once

#include <QIcon>

namespace zentrix::ui {

/// The icon at 16, 32, 48 and 64 pixels; windows show the 32 x 32 image.
QIcon AppIcon();

} // namespace zentrix::ui
