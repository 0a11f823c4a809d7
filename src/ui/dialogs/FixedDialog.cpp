// FixedDialog: common set-up of the information dialogs.
#include "ui/dialogs/FixedDialog.h"

#include "ui/common/AppIcon.h"
#include "ui/common/Fonts.h"
#include "ui/common/Twips.h"

namespace zentrix::ui {

void SetUpFixedDialog(QDialog& dialog, const QString& objectName, const QString& caption, int widthTwips,
                      int heightTwips)
{
    dialog.setObjectName(objectName);
    dialog.setWindowTitle(caption);
    dialog.setWindowIcon(AppIcon());
    dialog.setFont(DesignFont(kGothicFace, 9));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setFixedSize(TwipsToPixels(widthTwips), TwipsToPixels(heightTwips));
}

} // namespace zentrix::ui
