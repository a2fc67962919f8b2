#pragma once

#include "common/Netns.h"

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <functional>
#include <memory>

/// One tolvex-cli process on a lab host, with that host's HOME: its standard input and
/// output lines.
class CliCopy final
{
public:
    CliCopy(testnet::NetLab &lab, const QByteArray &host, const QStringList &args);
    ~CliCopy();
    CliCopy(const CliCopy &) = delete;
    CliCopy &operator=(const CliCopy &) = delete;

    /// The program under test, from the build folder.
    static QString program();

    void send(const QByteArray &line);
    void closeInput();
    /// Sends a signal to the program itself.
    void signal(int number);
    /// Waits (events running) until the exit; the exit code, or -1 on a crash or time-out.
    int waitForExit(int timeoutMs);

    /// Lines printed so far on standard output / standard error.
    QList<QByteArray> lines();
    QByteArray errors();
    /// How many printed lines equal line.
    int count(const QByteArray &line);
    /// The names of the last user list printed, without selection marks, with the
    /// "joined:" and "left:" lines printed after it applied (sorted as the list is).
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
