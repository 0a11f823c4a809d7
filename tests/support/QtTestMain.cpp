// main() of the GUI tests: one QApplication for the whole executable, offscreen unless told otherwise.
#include "ui/common/ApplicationSetUp.h"

#include <QApplication>
#include <csignal>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    zentrix::ui::SetUpApplication();
    // Death tests start a fresh copy of this program rather than fork one whose Qt threads are running.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
