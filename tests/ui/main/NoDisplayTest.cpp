// The desktop program on a machine without a display: one plain line and a failure status,
// never the toolkit's abort.
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct Outcome
{
    int exitCode = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QByteArray err;
};

Outcome runWithout(const QString &display)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    if (!display.isEmpty())
        env.insert(QStringLiteral("DISPLAY"), display);
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(qEnvironmentVariable("TOLVEX_BINARY_DIR") + QStringLiteral("/src/tolvex"), {});
    process.waitForFinished(20000);
    return {process.exitCode(), process.exitStatus(), process.readAllStandardError()};
}

} // namespace

TEST(NoDisplayTest, SaysSoInOneLineAndPointsToTheTerminalProgram)
{
    // No display named at all, and one named that does not exist.
    for (const QString &display : {QString(), QStringLiteral(":197")}) {
        const Outcome outcome = runWithout(display);
        EXPECT_EQ(outcome.status, QProcess::NormalExit) << display.toStdString();
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_TRUE(outcome.err.contains("tolvex-cli")) << outcome.err.constData();
        // The toolkit may note the failed connection first; our line ends the output.
        EXPECT_TRUE(outcome.err.trimmed().split('\n').constLast().startsWith("tolvex: "))
            << outcome.err.constData();
        EXPECT_FALSE(outcome.err.contains("Aborted"));
    }
}
