// The shared window pieces: the icon, the Japanese face mapping and the classic frame style.
#include "ui/common/AppIcon.h"
#include "ui/common/ClassicFrameStyle.h"
#include "ui/common/Fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QImage>
#include <QStyleOptionGroupBox>
#include <QWidget>
#include <gtest/gtest.h>

namespace zentrix::ui {
namespace {

TEST(AppIcon, Has32PixelImage)
{
    const QIcon icon = AppIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.pixmap(QSize(32, 32)).size(), QSize(32, 32));
}

TEST(Fonts, DesignFacesResolveToAnInstalledJapaneseGothic)
{
    const QFontInfo gothic(DesignFont(kGothicFace, 9));
    const QFontInfo pgothic(DesignFont(kPGothicFace, 9));
    if (!QFontDatabase::families().contains(QStringLiteral("IPAGothic")))
        GTEST_SKIP() << "fonts-ipafont-gothic is not installed";
    EXPECT_EQ(gothic.family(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(pgothic.family(), QStringLiteral("IPAPGothic"));
}

TEST(ClassicFrameStyle, CaptionSitsOnAGapInTheTopBorder)
{
    ClassicFrameStyle style;
    QGroupBox box(QStringLiteral("分析設定"));
    box.setStyle(&style);
    box.setFont(DesignFont(kGothicFace, 9));
    box.resize(200, 80);

    QStyleOptionGroupBox option;
    option.initFrom(&box);
    option.text = box.title();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const int captionHeight = option.fontMetrics.height();
    const QRect frame = style.subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, &box);
    const QRect caption = style.subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &box);
    EXPECT_EQ(frame.top(), captionHeight / 2); // the line runs through the caption's middle
    EXPECT_EQ(caption.top(), 0);
    EXPECT_GT(caption.left(), 0);

    QImage image(box.size(), QImage::Format_RGB32);
    image.fill(box.palette().window().color());
    box.render(&image);
    const QColor background = box.palette().window().color();
    const int lineY = frame.top();
    // Under the caption the line is interrupted; to the right of it the line is drawn.
    int drawnUnderCaption = 0;
    for (int x = caption.left(); x <= caption.right(); ++x)
        drawnUnderCaption +=
            image.pixelColor(x, lineY) != background && image.pixelColor(x, lineY + 1) != background;
    EXPECT_LT(drawnUnderCaption, caption.width() / 2);
    EXPECT_NE(image.pixelColor(caption.right() + 10, lineY), background);
}

} // namespace
} // namespace zentrix::ui
