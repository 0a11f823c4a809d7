// Fonts: substitution table for the design's Japanese faces.
#include "ui/common/Fonts.h"

#include <QStringList>

namespace zentrix::ui {

void InstallFontSubstitutions()
{
    QFont::insertSubstitutions(
        kGothicFace, {QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"),
                      QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("Noto Sans CJK JP")});
    QFont::insertSubstitutions(kPGothicFace,
                               {QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
                                QStringLiteral("IPAexGothic"), QStringLiteral("Noto Sans CJK JP")});
}

QFont DesignFont(const QString& face, qreal pointSize)
{
    QFont font(face);
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace zentrix::ui
