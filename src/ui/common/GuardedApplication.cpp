// GuardedApplication: exception reporting around every event, and the start-up guard.
#include "GuardedApplication.h"

#include "MessageBox.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>

namespace zentrix::ui {
namespace {

bool g_startingUp = false;

void StartUpMessageHandler(QtMsgType type, const QMessageLogContext&, const QString&)
{
    // Qt's own English advice about plugins and displays is left out; its fatal error (no
    // platform could be started) becomes our message and a plain exit.
    if (type == QtFatalMsg && g_startingUp) {
        std::fputs("Zentrix: 画面（ディスプレイ）に接続できないため起動できません。"
                   "デスクトップの中から起動するか、DISPLAY または WAYLAND_DISPLAY を設定して下さい。\n",
                   stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
}

} // namespace

GuardedApplication::GuardedApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    QString text;
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
        text = DescribeException({}, true);
    } catch (const std::exception& error) {
        text = DescribeException(QString::fromLocal8Bit(error.what()), false);
    } catch (...) {
        text = DescribeException({}, false);
    }
    std::fprintf(stderr, "Zentrix: %s\n", text.toUtf8().constData());
    if (ShowsWindows())
        MessageBox::show(nullptr, QStringLiteral("Zentrix"), text, MessageBox::Icon::Critical);
    return false;
}

bool GuardedApplication::ShowsWindows()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

QString GuardedApplication::DescribeException(const QString& what, bool outOfMemory)
{
    const QString kept = QStringLiteral("データファイルは変更していません。");
    if (outOfMemory)
        return QStringLiteral("メモリが足りないため、この操作を中止しました。") + kept;
    if (what.isEmpty())
        return QStringLiteral("予期しないエラーのため、この操作を中止しました。") + kept;
    return QStringLiteral("予期しないエラーのため、この操作を中止しました（%1）。").arg(what) + kept;
}

void GuardStartUp()
{
    g_startingUp = true;
    qInstallMessageHandler(StartUpMessageHandler);
}

void StartUpFinished()
{
    g_startingUp = false;
    qInstallMessageHandler(nullptr);
}

} // namespace zentrix::ui
