// zentrix: start-up. Shows the main window, which opens the draw history in the working directory.
#include "store/HistoryFile.h"
#include "ui/common/AppIcon.h"
#include "ui/common/Fonts.h"
#include "ui/common/MessageBox.h"
#include "ui/main_window/MainWindow.h"

#include <QApplication>
#include <csignal>

int main(int argc, char* argv[])
{
#ifdef SIGXFSZ
    // A write beyond the file-size limit must fail with an error we report, not kill the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zentrix"));
    QApplication::setWindowIcon(zentrix::ui::AppIcon());
    zentrix::ui::InstallFontSubstitutions();

    zentrix::HistoryFile history;
    zentrix::ui::MainWindow window(history);
    if (const zentrix::StoreStatus opened = window.load(); !opened) {
        // Without its data file the program has nothing to work on: say why and leave.
        const std::string name(zentrix::HistoryFile::kDefaultFileName);
        zentrix::ui::MessageBox::show(nullptr, QStringLiteral("Zentrix"),
                                      QString::fromStdString(zentrix::DescribeStoreError(opened, name)),
                                      zentrix::ui::MessageBox::Icon::Critical);
        return 1;
    }
    window.show();
    return QApplication::exec();
}
