// zentrix: start-up. Shows the main window, which opens the draw history in the working directory.
#include "StartOptions.h"
#include "store/HistoryFile.h"
#include "ui/common/ApplicationSetUp.h"
#include "ui/common/GuardedApplication.h"
#include "ui/common/MessageBox.h"
#include "ui/main_window/MainWindow.h"
#include "ui/stats_window/StatsMenu.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

namespace {

/// Answers --help and --version; returns false when the program should go on.
bool AnswerStartOptions(const zentrix::app::StartRequest& request)
{
    using zentrix::app::StartAction;
    if (request.action == StartAction::ShowHelp)
        std::cout << zentrix::app::StartHelpText();
    else if (request.action == StartAction::ShowVersion)
        std::cout << zentrix::app::StartVersionText();
    else
        return false;
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    // --help and --version answer before Qt starts, so they work without a display.
    if (argc > 1 && AnswerStartOptions(zentrix::app::ReadStartOptions({argv + 1, argv + argc})))
        return 0;
#ifdef SIGXFSZ
    // A write beyond the file-size limit must fail with an error we report, not kill the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    zentrix::ui::GuardStartUp();
    zentrix::ui::GuardedApplication app(argc, argv);
    zentrix::ui::StartUpFinished();
    // QApplication has taken its own options (-style, -platform ...); the program takes no others.
    std::vector<std::string> rest;
    for (const QString& arg : QApplication::arguments().mid(1))
        rest.push_back(arg.toStdString());
    if (const zentrix::app::StartRequest request = zentrix::app::ReadStartOptions(rest);
        request.action == zentrix::app::StartAction::Refuse) {
        std::cerr << zentrix::app::StartRefusalText(request);
        return 2;
    }
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
    zentrix::ui::InstallStatsMenu(window);
    zentrix::StoreStatus opened;
    try {
        opened = window.load();
    } catch (const std::exception& error) {
        // Nothing has been written yet; the file is as it was.
        const QString text = zentrix::ui::GuardedApplication::DescribeException(
            QString::fromLocal8Bit(error.what()), dynamic_cast<const std::bad_alloc*>(&error) != nullptr);
        std::fprintf(stderr, "Zentrix: %s\n", text.toUtf8().constData());
        return 1;
    }
    if (!opened) {
        // Without its data file the program has nothing to work on: say why and leave.
        const std::string name(zentrix::HistoryFile::kDefaultFileName);
        // A second window on the same file is told to close the first one.
        const std::string reason =
            opened.error == zentrix::StoreError::InUse
                ? "データファイル「" + name +
                      "」は他のZentrixで使用中です。そちらを終了してから起動して下さい。"
                : zentrix::DescribeStoreError(opened, name);
        std::fprintf(stderr, "Zentrix: %s\n", reason.c_str());
        // Where no window can be seen, a box would wait for a click that never comes.
        if (zentrix::ui::GuardedApplication::ShowsWindows())
            zentrix::ui::MessageBox::show(nullptr, QStringLiteral("Zentrix"), QString::fromStdString(reason),
                                          zentrix::ui::MessageBox::Icon::Critical);
        return 1;
    }
    window.show();
    return QApplication::exec();
}
