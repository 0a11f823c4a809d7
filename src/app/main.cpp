// zentrix: start-up. Shows the main window, which opens the draw history in the working directory.
#include "store/HistoryFile.h"
#include "ui/common/ApplicationSetUp.h"
#include "ui/common/MessageBox.h"
#include "ui/main_window/MainWindow.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <csignal>

int main(int argc, char* argv[])
{
#ifdef SIGXFSZ
    // A write beyond the file-size limit must fail with an error we report, not kill the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zentrix"));
    zentrix::ui::SetUpApplication();

    // Every visible text is Japanese, Qt's own dialogs (print dialog, message-box buttons) included,
    // whatever the desktop's language.
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    QTranslator qtTranslations;
    if (qtTranslations.load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);

    zentrix::HistoryFile history;
    zentrix::ui::MainWindow window(history);
    if (const zentrix::StoreStatus opened = window.load(); !opened) {
        // Without its data file the program has nothing to work on: say why and leave.
        const std::string name(zentrix::HistoryFile::kDefaultFileName);
        std::string reason = zentrix::DescribeStoreError(opened, name);
        if (opened.error == zentrix::StoreError::InUse)
            reason += "そちらを終了してから起動して下さい。";
        zentrix::ui::MessageBox::show(nullptr, QStringLiteral("Zentrix"), QString::fromStdString(reason),
                                      zentrix::ui::MessageBox::Icon::Critical);
        return 1;
    }
    window.show();
    return QApplication::exec();
}
