#include "CliCopy.h"

#include "common/EventWait.h"

#include <algorithm>
#include <csignal>

QString CliCopy::program()
{
    return qEnvironmentVariable("TOLVEX_BINARY_DIR", QStringLiteral(TOLVEX_BINARY_DIR_DEFAULT)) +
           QStringLiteral("/src/cli/tolvex-cli");
}

CliCopy::CliCopy(testnet::NetLab &lab, const QByteArray &host, const QStringList &args)
    : m_process(std::make_unique<QProcess>())
{
    m_process->start(QStringLiteral("ip"), lab.execArgs(host, QStringList{program()} + args));
    m_process->waitForStarted(10000);
}

CliCopy::~CliCopy()
{
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
}

void CliCopy::send(const QByteArray &line)
{
    m_process->write(line + "\n");
    m_process->waitForBytesWritten(1000);
}

void CliCopy::closeInput()
{
    m_process->closeWriteChannel();
}

void CliCopy::signal(int number)
{
    ::kill(static_cast<pid_t>(m_process->processId()), number);
}

int CliCopy::waitForExit(int timeoutMs)
{
    if (!testwait::waitFor([this] { return m_process->state() == QProcess::NotRunning; },
                           timeoutMs))
        return -1;
    readAll();
    return m_process->exitStatus() == QProcess::NormalExit ? m_process->exitCode() : -1;
}

void CliCopy::readAll()
{
    m_partial += m_process->readAllStandardOutput();
    m_errors += m_process->readAllStandardError();
    qsizetype newline;
    while ((newline = m_partial.indexOf('\n')) >= 0) {
        m_lines.append(m_partial.left(newline));
        m_partial.remove(0, newline + 1);
    }
}

QList<QByteArray> CliCopy::lines()
{
    readAll();
    return m_lines;
}

QByteArray CliCopy::errors()
{
    readAll();
    return m_errors;
}

int CliCopy::count(const QByteArray &line)
{
    return static_cast<int>(lines().count(line));
}

QList<QByteArray> CliCopy::users()
{
    // The last full list, then the arrivals and departures printed after it.
    QList<QByteArray> names;
    for (const QByteArray &line : lines()) {
        if (line.startsWith("users:")) {
            names.clear();
            if (line == "users: (none)")
                continue;
            for (QByteArray name : line.mid(6).split(',')) {
                name = name.trimmed();
                if (name.endsWith('*'))
                    name.chop(1);
                names.append(name);
            }
        } else if (line.startsWith("joined: ")) {
            names.append(line.mid(8));
            std::sort(names.begin(), names.end());
        } else if (line.startsWith("left: ")) {
            names.removeOne(line.mid(6));
        }
    }
    return names;
}

bool CliCopy::waitFor(const std::function<bool()> &pred, int timeoutMs)
{
    return testwait::waitFor(pred, timeoutMs);
}

bool CliCopy::waitForUsers(const QList<QByteArray> &names, int timeoutMs)
{
    return waitFor([&] { return users() == names; }, timeoutMs);
}
