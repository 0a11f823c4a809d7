// MessageBox: the program's modal message boxes behind one seam, so tests never block in exec().
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace zentrix::ui {

class MessageBox
{
public:
    enum class Icon
    {
        None,
        Information,
        Exclamation,
        Critical,
    };

    struct Shown
    {
        QString title;
        QString text;
        Icon icon = Icon::None;
    };

    /// Shows a modal box with one OK button and returns when the user has closed it.
    static void show(QWidget* parent, const QString& title, const QString& text, Icon icon);

    /// Test seam: while set, show() does not open a box but calls the interceptor instead, at the
    /// moment the box would be open, and returns when it returns. Pass {} to restore real boxes.
    static void setInterceptor(std::function<void(const Shown&)> interceptor);

private:
    static std::function<void(const Shown&)>& interceptor();
};

} // namespace zentrix::ui
