// AppIcon: loads the icon images compiled into the program.
#include "ui/common/AppIcon.h"

namespace zentrix::ui {

QIcon AppIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addFile(QStringLiteral(":/icons/zentrix-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace zentrix::ui
