// ApplicationSetUp: what every QApplication of this program gets, the desktop program's and the tests'.
#pragma once

namespace zentrix::ui {

/// The icon on every window, the design's Japanese faces mapped onto installed ones, and frames
/// drawn the classic way, and the status line's role for screen readers. Call once, right after
/// the QApplication is made.
void SetUpApplication();

} // namespace zentrix::ui
