// ApplicationSetUp: icon, fonts and style for the whole application.
#include "ui/common/ApplicationSetUp.h"

#include "ui/common/AppIcon.h"
#include "ui/common/ClassicFrameStyle.h"
#include "ui/common/Fonts.h"
#include "ui/common/StatusLine.h"

#include <QApplication>

namespace zentrix::ui {

void SetUpApplication()
{
    QApplication::setWindowIcon(AppIcon());
    QApplication::setStyle(new ClassicFrameStyle); // the application takes ownership
    InstallFontSubstitutions();
    InstallAccessibleInterfaces();
}

} // namespace zentrix::ui
