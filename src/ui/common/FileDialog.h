// FileDialog: choosing a file to open or to save behind one seam, so tests never block in exec().
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace zentrix::ui {

class FileDialog
{
public:
    enum class Mode
    {
        Open, ///< an existing file to read
        Save, ///< a file to write; an existing one is replaced only after the dialog has asked
    };

    struct Request
    {
        Mode mode = Mode::Open;
        QString title;
        QString path;   ///< the folder, or the folder and the suggested name, to start from
        QString filter; ///< "CSV ファイル (*.csv);;すべてのファイル (*)"
    };

    /// The chosen file's path, empty when the user cancelled.
    static QString choose(QWidget* parent, const Request& request);

    /// Test seam: while set, choose() opens no dialog and returns what the interceptor returns.
    static void setInterceptor(std::function<QString(const Request&)> interceptor);

private:
    static std::function<QString(const Request&)>& interceptor();
};

} // namespace zentrix::ui
