// The shared window pieces: the icon, the Japanese face mapping and the message-box seam.
#include "store/HistoryFile.h"
#include "support/TempDir.h"
#include "ui/common/AppIcon.h"
#include "ui/common/ClassicFrameStyle.h"
#include "ui/common/Fonts.h"
#include "ui/common/MessageBox.h"
#include "ui/common/ProgramEnd.h"

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

TEST(MessageBox, InterceptorSeesTheBoxInsteadOfTheUser)
{
    std::vector<MessageBox::Shown> seen;
    MessageBox::setInterceptor([&](const MessageBox::Shown& shown) { seen.push_back(shown); });
    MessageBox::show(nullptr, QStringLiteral("入力エラー"), QStringLiteral("a\rb"),
                     MessageBox::Icon::Exclamation);
    MessageBox::setInterceptor({});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, QStringLiteral("入力エラー"));
    EXPECT_EQ(seen[0].text, QStringLiteral("a\rb"));
    EXPECT_EQ(seen[0].icon, MessageBox::Icon::Exclamation);
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

TEST(ProgramEnd, ClosesTheHistoryBeforeLeaving)
{
    test::TempDir dir;
    HistoryFile history(dir / "Loto6data.dt");
    ASSERT_TRUE(history.OpenHistory());
    struct Ended
    {
    };
    SetProgramEndHook([] { throw Ended{}; });
    EXPECT_THROW(EndProgram(history), Ended);
    SetProgramEndHook({});
    EXPECT_FALSE(history.IsOpen());
    // The lock went with it: another program may open the file now.
    HistoryFile other(dir / "Loto6data.dt");
    EXPECT_TRUE(other.OpenHistory());
}

} // namespace
} // namespace zentrix::ui
