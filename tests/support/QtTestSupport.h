// QtTestSupport: finding the real widgets by objectName, catching message boxes and driving modal
// windows in GUI tests.
#pragma once

#include "ui/common/MessageBox.h"

#include <QApplication>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace zentrix::test {

/// The child of `parent` called `name`, of type T; fails the current test when it is missing.
template <typename T> T* Child(const QObject* parent, const QString& name)
{
    T* found = parent->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << "no " << T::staticMetaObject.className() << " named " << name.toStdString();
    return found;
}

/// While it lives, every message box the program shows is kept here instead of being shown.
class MessageLog
{
public:
    MessageLog()
    {
        ui::MessageBox::setInterceptor([this](const ui::MessageBox::Shown& box) { shown.push_back(box); });
    }
    ~MessageLog() { ui::MessageBox::setInterceptor({}); }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    std::vector<ui::MessageBox::Shown> shown;
};

/// Runs `open`, which must open a modal window and return once it is closed; meanwhile calls
/// `whileOpen` with the modal window (nullptr when none opened), then closes whatever is still
/// open so the test can never hang. Returns whether a modal window was seen.
inline bool WhileModal(const std::function<void()>& open, const std::function<void(QWidget*)>& whileOpen)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        seen = modal != nullptr;
        whileOpen(modal);
        if (QWidget* left = QApplication::activeModalWidget(); left && left == modal) {
            ADD_FAILURE() << "the window was left open: " << left->objectName().toStdString();
            left->close();
        }
    });
    open();
    QApplication::processEvents(); // let a timer that found no window run out
    return seen;
}

} // namespace zentrix::test
