#include "CliCopy.h"

#include "common/EventWait.h"

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
    const QList<QByteArray> all = lines();
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        if (!it->startsWith("users:"))
            continue;
        QList<QByteArray> names;
        if (*it == "users: (none)")
            return names;
        for (QByteArray name : it->mid(6).split(',')) {
            name = name.trimmed();
            if (name.endsWith('*'))
                name.chop(1);
            names.append(name);
        }
        return names;
    }
    return {};
}

bool CliCopy::waitFor(const std::function<bool()> &pred, int timeoutMs)
{
    return testwait::waitFor(pred, timeoutMs);
}

bool CliCopy::waitForUsers(const QList<QByteArray> &names, int timeoutMs)
{
    return waitFor([&] { return users() == names; }, timeoutMs);
}
