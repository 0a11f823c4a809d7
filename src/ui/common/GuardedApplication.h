// GuardedApplication: the QApplication of the desktop program, with the guards every event needs:
// an exception escaping a handler is reported in Japanese instead of ending the program, and a
// start without a display ends with a Japanese message instead of Qt's abort.
#pragma once

#include <QApplication>
#include <QString>

namespace zentrix::ui {

class GuardedApplication : public QApplication
{
public:
    GuardedApplication(int& argc, char** argv);

    /// Delivers the event; an exception from its handler is caught, reported and dropped. Every
    /// change to the data file is complete or not made at all, so the file stays as it was.
    bool notify(QObject* receiver, QEvent* event) override;

    /// False for the platforms that show no windows (offscreen, minimal): a message box there
    /// would wait forever for a click, so start-up errors go to standard error only.
    static bool ShowsWindows();

    /// The text shown when a handler threw `what` (empty for something not an std::exception).
    static QString DescribeException(const QString& what, bool outOfMemory);
};

/// Call before constructing the application: until StartUpFinished(), a platform that cannot be
/// started (no display) prints a Japanese message on standard error and ends the program with
/// status 1 rather than Qt's English advice and an abort. Nothing has touched the data file then.
void GuardStartUp();
void StartUpFinished();

} // namespace zentrix::ui
