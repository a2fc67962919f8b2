#include "Sandbox.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSet>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace {

QString sourceDir()
{
    return qEnvironmentVariable("TOLVEX_SOURCE_DIR", QStringLiteral(TOLVEX_SOURCE_DIR_DEFAULT));
}

} // namespace

bool waitUntil(const std::function<bool()> &pred, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!pred()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

QString SandboxLan::script()
{
    return sourceDir() + QStringLiteral("/scripts/lan-sandbox");
}

QString SandboxLan::cliProgram()
{
    return qEnvironmentVariable("TOLVEX_BINARY_DIR", QStringLiteral(TOLVEX_BINARY_DIR_DEFAULT)) +
           QStringLiteral("/src/cli/tolvex-cli");
}

SandboxLan::SandboxLan(int count) : m_name("tvxe" + QByteArray::number(::getpid()))
{
    sweepLeftovers();
    bool ok = false;
    m_error = run({QStringLiteral("up"), QString::number(count)}, &ok);
    m_ok = ok;
}

SandboxLan::~SandboxLan()
{
    run({QStringLiteral("down")});
}

void SandboxLan::sweepLeftovers()
{
    // Sandboxes of test runs that died before removing theirs: "tvxe<pid>-..." of a pid
    // that no longer exists.
    QProcess list;
    list.start(QStringLiteral("ip"), {QStringLiteral("netns"), QStringLiteral("list")});
    list.waitForFinished(10000);
    QSet<QByteArray> dead;
    for (const QByteArray &line : list.readAllStandardOutput().split('\n')) {
        const QByteArray ns = line.split(' ').value(0);
        if (!ns.startsWith("tvxe") || !ns.contains('-'))
            continue;
        const QByteArray name = ns.left(ns.indexOf('-'));
        const pid_t pid = static_cast<pid_t>(name.mid(4).toInt());
        if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
            dead.insert(name);
    }
    for (const QByteArray &name : dead) {
        const QByteArray own = std::exchange(m_name, name);
        run({QStringLiteral("down")});
        m_name = own;
    }
}

QByteArray SandboxLan::run(const QStringList &args, bool *ok) const
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LAN_SANDBOX"), QString::fromLatin1(m_name));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(script(), args);
    const bool finished = process.waitForFinished(30000);
    if (ok)
        *ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return process.readAll().trimmed();
}

QByteArray SandboxLan::addr(int host) const
{
    return run({QStringLiteral("addr"), QString::number(host)});
}

QByteArray SandboxLan::ns(int host) const
{
    return run({QStringLiteral("ns"), QString::number(host)});
}

QString SandboxLan::home(int host) const
{
    return QString::fromLocal8Bit(run({QStringLiteral("home"), QString::number(host)}));
}

QStringList SandboxLan::execArgs(int host, const QStringList &command) const
{
    return QStringList{QStringLiteral("exec"), QString::number(host)} + command;
}

CliCopy::CliCopy(const SandboxLan &lan, int host, const QStringList &args)
    : m_process(std::make_unique<QProcess>())
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LAN_SANDBOX"), QString::fromLatin1(lan.name()));
    m_process->setProcessEnvironment(env);
    m_process->start(SandboxLan::script(),
                     lan.execArgs(host, QStringList{SandboxLan::cliProgram()} + args));
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
    if (!waitUntil([this] { return m_process->state() == QProcess::NotRunning; }, timeoutMs))
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
    return waitUntil(pred, timeoutMs);
}

bool CliCopy::waitForUsers(const QList<QByteArray> &names, int timeoutMs)
{
    return waitFor([&] { return users() == names; }, timeoutMs);
}
