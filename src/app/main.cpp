// zentrix: start-up. Opens the draw history in the working directory and shows the main window.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <csignal>

#include "store/HistoryFile.h"
#include "ui/common/AppIcon.h"
#include "ui/common/Fonts.h"
#include "ui/common/MessageBox.h"

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
    if (const zentrix::StoreStatus opened = history.OpenHistory(); !opened) {
        const std::string name(zentrix::HistoryFile::kDefaultFileName);
        zentrix::ui::MessageBox::show(nullptr, QStringLiteral("Zentrix"),
                                      QString::fromStdString(zentrix::DescribeStoreError(opened, name)),
                                      zentrix::ui::MessageBox::Icon::Critical);
        return 1;
    }

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Zentrix - Ver2.2.2"));
    auto* heading = new QLabel(QStringLiteral("第%1回予想").arg(history.Latest() + 1), &window);
    heading->setAlignment(Qt::AlignCenter);
    heading->setFont(zentrix::ui::DesignFont(zentrix::ui::kGothicFace, 18));
    window.setCentralWidget(heading);
    window.resize(733, 515);
    window.show();
    return QApplication::exec();
}
