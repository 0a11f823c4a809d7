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

    /// Shows a modal question with two buttons, `accept` (the default) and `reject`, and returns
    /// true when the user chose `accept`; closing the box counts as `reject`.
    static bool ask(QWidget* parent, const QString& title, const QString& text, const QString& accept,
                    const QString& reject);

    /// Test seam for ask(): while set, ask() returns what the interceptor answers.
    static void setQuestionInterceptor(std::function<bool(const Shown&)> interceptor);

    /// Test seam: while set, show() does not open a box but calls the interceptor instead, at the
    /// moment the box would be open, and returns when it returns. Pass {} to restore real boxes.
    static void setInterceptor(std::function<void(const Shown&)> interceptor);

private:
    static std::function<void(const Shown&)>& interceptor();
    static std::function<bool(const Shown&)>& questionInterceptor();
};

} // namespace zentrix::ui
