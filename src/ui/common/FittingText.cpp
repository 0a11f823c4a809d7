// FittingText: shrinking a text box's face until its text fits.
#include "ui/common/FittingText.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace zentrix::ui {
namespace {

// QLineEdit keeps this many pixels free on each side of the text inside its contents rectangle,
// and one more for the cursor.
constexpr int kInnerMargin = 2;
constexpr int kCursorWidth = 1;
constexpr qreal kSmallestSize = 5.0;

void Fit(QLineEdit* field, qreal designSize)
{
    QFont font = field->font();
    const int room = TextRoomOf(field);
    qreal size = designSize;
    for (; size > kSmallestSize; size -= 0.5) {
        font.setPointSizeF(size);
        if (QFontMetrics(font).horizontalAdvance(field->text()) <= room)
            break;
    }
    font.setPointSizeF(size);
    if (font != field->font())
        field->setFont(font);
}

} // namespace

int TextRoomOf(const QLineEdit* field)
{
    QStyleOptionFrame option;
    option.initFrom(field);
    option.rect = field->rect();
    option.lineWidth =
        field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    const QRect contents = field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field);
    const QMargins margins = field->textMargins();
    return contents.width() - margins.left() - margins.right() - 2 * kInnerMargin - kCursorWidth;
}

void KeepTextInView(QLineEdit* field)
{
    const qreal designSize = field->font().pointSizeF();
    QObject::connect(field, &QLineEdit::textChanged, field, [field, designSize] { Fit(field, designSize); });
    Fit(field, designSize);
}

} // namespace zentrix::ui
