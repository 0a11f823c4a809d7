// MessageBox: QMessageBox with the design's single OK button, or the test interceptor.
#include "ui/common/MessageBox.h"

#include <QMessageBox>

namespace zentrix::ui {

std::function<void(const MessageBox::Shown&)>& MessageBox::interceptor()
{
    static std::function<void(const Shown&)> hook;
    return hook;
}

void MessageBox::setInterceptor(std::function<void(const Shown&)> hook)
{
    interceptor() = std::move(hook);
}

void MessageBox::show(QWidget* parent, const QString& title, const QString& text, Icon icon)
{
    if (auto& hook = interceptor()) {
        hook(Shown{title, text, icon});
        return;
    }
    QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
    switch (icon) {
    case Icon::None: qtIcon = QMessageBox::NoIcon; break;
    case Icon::Information: qtIcon = QMessageBox::Information; break;
    case Icon::Exclamation: qtIcon = QMessageBox::Warning; break;
    case Icon::Critical: qtIcon = QMessageBox::Critical; break;
    }
    QMessageBox box(qtIcon, title, text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.exec();
}

} // namespace zentrix::ui
