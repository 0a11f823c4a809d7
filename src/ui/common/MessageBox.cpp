// MessageBox: QMessageBox with the design's single OK button, or the test interceptor.
#include "ui/common/MessageBox.h"

#include <QMessageBox>
#include <QPushButton>

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

std::function<bool(const MessageBox::Shown&)>& MessageBox::questionInterceptor()
{
    static std::function<bool(const Shown&)> hook;
    return hook;
}

void MessageBox::setQuestionInterceptor(std::function<bool(const Shown&)> hook)
{
    questionInterceptor() = std::move(hook);
}

bool MessageBox::ask(QWidget* parent, const QString& title, const QString& text, const QString& accept,
                     const QString& reject)
{
    if (auto& hook = questionInterceptor())
        return hook(Shown{title, text, Icon::None});
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("QuestionBox"));
    QPushButton* yes = box.addButton(accept, QMessageBox::AcceptRole);
    QPushButton* no = box.addButton(reject, QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void MessageBox::show(QWidget* parent, const QString& title, const QString& text, Icon icon)
{
    if (auto& hook = interceptor()) {
        hook(Shown{title, text, icon});
        return;
    }
    QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
    switch (icon) {
    case Icon::None:
        qtIcon = QMessageBox::NoIcon;
        break;
    case Icon::Information:
        qtIcon = QMessageBox::Information;
        break;
    case Icon::Exclamation:
        qtIcon = QMessageBox::Warning;
        break;
    case Icon::Critical:
        qtIcon = QMessageBox::Critical;
        break;
    }
    QMessageBox box(qtIcon, title, text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.exec();
}

} // namespace zentrix::ui
