#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <functional>
#include <memory>

/// A LAN of namespace hosts made by scripts/lan-sandbox for one test, removed with it.
class SandboxLan final
{
public:
    /// Hosts 1..count; check ok() (the script's error text is in error()).
    explicit SandboxLan(int count);
    ~SandboxLan();
    SandboxLan(const SandboxLan &) = delete;
    SandboxLan &operator=(const SandboxLan &) = delete;

    bool ok() const { return m_ok; }
    QByteArray error() const { return m_error; }
    /// The sandbox's name (LAN_SANDBOX).
    QByteArray name() const { return m_name; }
    QByteArray addr(int host) const;
    /// The system name of the host's namespace.
    QByteArray ns(int host) const;
    QString home(int host) const;
    /// The program and arguments that run a command on a host.
    QStringList execArgs(int host, const QStringList &command) const;

    static QString script();
    static QString cliProgram();

private:
    void sweepLeftovers();
    QByteArray run(const QStringList &args, bool *ok = nullptr) const;

    QByteArray m_name;
    bool m_ok = false;
    QByteArray m_error;
};

/// One tolvex-cli process on a sandbox host: its standard input and output lines.
class CliCopy final
{
public:
    CliCopy(const SandboxLan &lan, int host, const QStringList &args);
    ~CliCopy();
    CliCopy(const CliCopy &) = delete;
    CliCopy &operator=(const CliCopy &) = delete;

    void send(const QByteArray &line);
    void closeInput();
    /// Sends a signal to the program itself (the sandbox replaces itself by it).
    void signal(int number);
    /// Waits (events running) until the exit; the exit code, or -1 on a crash or time-out.
    int waitForExit(int timeoutMs);

    /// Lines printed so far on standard output / standard error.
    QList<QByteArray> lines();
    QByteArray errors();
    /// How many printed lines equal line.
    int count(const QByteArray &line);
    /// The names of the last user list printed, without selection marks.
    QList<QByteArray> users();
    /// Waits (events running) until pred holds for this copy.
    bool waitFor(const std::function<bool()> &pred, int timeoutMs);
    bool waitForUsers(const QList<QByteArray> &names, int timeoutMs);

private:
    void readAll();

    std::unique_ptr<QProcess> m_process;
    QByteArray m_partial;
    QList<QByteArray> m_lines;
    QByteArray m_errors;
};

/// Waits with events running until pred holds; false after timeoutMs.
bool waitUntil(const std::function<bool()> &pred, int timeoutMs);
