// FileDialog: Qt's file dialogs, or the test interceptor.
#include "ui/common/FileDialog.h"

#include <QFileDialog>

namespace zentrix::ui {

std::function<QString(const FileDialog::Request&)>& FileDialog::interceptor()
{
    static std::function<QString(const Request&)> hook;
    return hook;
}

void FileDialog::setInterceptor(std::function<QString(const Request&)> hook)
{
    interceptor() = std::move(hook);
}

QString FileDialog::choose(QWidget* parent, const Request& request)
{
    if (auto& hook = interceptor())
        return hook(request);
    if (request.mode == Mode::Open)
        return QFileDialog::getOpenFileName(parent, request.title, request.path, request.filter);
    return QFileDialog::getSaveFileName(parent, request.title, request.path, request.filter);
}

} // namespace zentrix::ui
