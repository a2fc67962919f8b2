// Shared main of the test executables: the Qt application object a test folder needs
// (chosen by its build definition) lives for the whole run, like the program's own.
#include <gtest/gtest.h>

#if defined(TOLVEX_TEST_APP_WIDGETS)
#include <QApplication>
using TestApplication = QApplication;
#elif defined(TOLVEX_TEST_APP_GUI)
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // CTest lists the tests by running the executable without the test's environment, so
    // the offscreen platform must be the default here as well.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("TOLVEX_SOURCE_DIR"))
        qputenv("TOLVEX_SOURCE_DIR", TOLVEX_SOURCE_DIR_DEFAULT);
    if (!qEnvironmentVariableIsSet("TOLVEX_BINARY_DIR"))
        qputenv("TOLVEX_BINARY_DIR", TOLVEX_BINARY_DIR_DEFAULT);
    // The programs the tests start speak English whatever the machine's locale says; a test
    // of another language sets its own.
    qputenv("LANGUAGE", "en");
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
