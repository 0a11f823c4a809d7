// Fonts: the Windows faces the windows were designed with, mapped onto installed Japanese faces.
#pragma once

#include <QFont>
#include <QString>

namespace zentrix::ui {

/// The fixed-pitch Gothic face of every window ("ＭＳ ゴシック").
inline const QString kGothicFace = QStringLiteral("ＭＳ ゴシック");
/// The proportional Gothic face of the status bar ("ＭＳ Ｐゴシック").
inline const QString kPGothicFace = QStringLiteral("ＭＳ Ｐゴシック");

/// Registers font substitutions so the design's faces resolve to IPAGothic / IPAPGothic (then
/// Noto CJK) where the Windows faces are absent. Call once after QApplication exists.
void InstallFontSubstitutions();

/// A font of the given face and size, regular weight.
QFont DesignFont(const QString& face, qreal pointSize);

} // namespace zentrix::ui
