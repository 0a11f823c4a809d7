// FixedDialog: what the two information dialogs share: a fixed border, no minimise or maximise
// button, the program's icon and face, and application-wide modality.
#pragma once

#include <QDialog>
#include <QSize>

namespace zentrix::ui {

/// Window flags of a fixed dialog border: title, system menu and close box only.
inline constexpr Qt::WindowFlags kFixedDialogFlags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                                                     Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                     Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

/// Names the dialog, sets its caption, icon, face ("ＭＳ ゴシック" 9 point) and modality, and fixes its
/// client area to the given size in twips.
void SetUpFixedDialog(QDialog& dialog, const QString& objectName, const QString& caption, int widthTwips,
                      int heightTwips);

} // namespace zentrix::ui
