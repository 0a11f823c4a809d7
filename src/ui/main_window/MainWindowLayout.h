// MainWindowLayout: builds frmMain's controls at their design positions, in their opening state.
#pragma once

#include "ui/common/Twips.h"

#include <QSize>
#include <QString>
#include <span>

class QWidget;

namespace zentrix::ui {

struct MainWindowControls;

/// One control of frmMain as the window's table places it.
struct ControlPlacement
{
    enum class Kind
    {
        Frame,
        Label,
        TextBox,
        CheckBox,
        OptionButton,
        Button,
        Slider,
        ProgressBar,
        StatusStrip,
        StatusText,
    };

    enum class Face
    {
        Window,    ///< inherited: "ＭＳ ゴシック" 9 point
        Heading,   ///< "ＭＳ ゴシック" 18 point
        Ratio,     ///< "ＭＳ ゴシック" 12 point
        System,    ///< the window system's default face, 9 point (see ApplyFace)
        StatusBar, ///< "ＭＳ Ｐゴシック" 9 point
    };

    Kind kind;
    const char* name;
    int index;                    ///< position in a control array, -1 for a single control
    const char* container;        ///< nullptr: the window's client area
    int left, top, width, height; ///< twips, from the container's top-left corner
    const char* caption = "";
    Face face = Face::Window;
};

/// The client area below the menu bar: 10995 x 7725 twips.
inline constexpr QSize kMainClientSize(733, 515);

/// Creates every control of the window inside `client` (the area below the menu bar), in tab
/// order, with its caption, font, range and design value, and fills `ui` with them. Menus are
/// not built here. The window's own face ("ＭＳ ゴシック" 9 point) is expected to be set on an
/// ancestor of `client`.
void BuildMainWindowControls(QWidget* client, MainWindowControls& ui);

/// The table the window is built from: every control, in tab order, a container before what it
/// holds. Read-only.
std::span<const ControlPlacement> MainWindowPlacements();

/// The objectName a control of the table gets: its name, or "name_index" in a control array.
QString ControlObjectName(const ControlPlacement& control);

} // namespace zentrix::ui
