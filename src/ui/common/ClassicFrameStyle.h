// ClassicFrameStyle: frames drawn the classic way, their caption set into the top border line.
#pragma once

#include <QProxyStyle>

namespace zentrix::ui {

/// The platform's style, except that a titled QGroupBox has its border running through the middle
/// of its caption (the caption on a gap in the line), as the windows were designed, instead of
/// the caption standing above the box.
class ClassicFrameStyle : public QProxyStyle
{
public:
    ClassicFrameStyle();

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override;
};

} // namespace zentrix::ui
