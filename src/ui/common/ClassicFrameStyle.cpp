// ClassicFrameStyle: group-box geometry and painting with the caption on the border.
#include "ui/common/ClassicFrameStyle.h"

#include <QPainter>
#include <QStyleOptionGroupBox>
#include <qdrawutil.h>

namespace zentrix::ui {
namespace {

constexpr int kCaptionIndent = 6;  // from the frame's left edge to the caption's gap
constexpr int kCaptionPadding = 2; // background left clear on each side of the caption

} // namespace

ClassicFrameStyle::ClassicFrameStyle()
    : QProxyStyle()
{
}

QRect ClassicFrameStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                        SubControl sub, const QWidget* widget) const
{
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || box == nullptr || box->text.isEmpty() ||
        (box->subControls & SC_GroupBoxCheckBox))
        return QProxyStyle::subControlRect(control, option, sub, widget);

    const int captionHeight = box->fontMetrics.height();
    const QRect& r = box->rect;
    switch (sub) {
    case SC_GroupBoxFrame:
        return r.adjusted(0, captionHeight / 2, 0, 0);
    case SC_GroupBoxLabel: {
        const int width = box->fontMetrics.horizontalAdvance(box->text) + 2 * kCaptionPadding;
        return QRect(r.left() + kCaptionIndent, r.top(), qMin(width, r.width() - kCaptionIndent),
                     captionHeight);
    }
    case SC_GroupBoxContents:
        return r.adjusted(1, captionHeight, -1, -1);
    default:
        return QProxyStyle::subControlRect(control, option, sub, widget);
    }
}

void ClassicFrameStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                           QPainter* painter, const QWidget* widget) const
{
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || box == nullptr || box->text.isEmpty() ||
        (box->subControls & SC_GroupBoxCheckBox)) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    // An etched frame, then the caption on a patch of window colour that interrupts its top line.
    const QRect frame = subControlRect(control, box, SC_GroupBoxFrame, widget);
    qDrawShadeRect(painter, frame, box->palette, true, 1, 0);
    if (!(box->subControls & SC_GroupBoxLabel))
        return;
    const QRect caption = subControlRect(control, box, SC_GroupBoxLabel, widget);
    painter->fillRect(caption, box->palette.window());
    drawItemText(painter, caption, Qt::AlignCenter | Qt::TextShowMnemonic, box->palette,
                 box->state & State_Enabled, box->text, QPalette::WindowText);
}

} // namespace zentrix::ui
