#pragma once

#include "app/Support.h"
#include "engine/EngineWindows.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>

class MessagingEngine;
class QSocketNotifier;
struct EngineSeams;

/// What the command line chose for this run; empty values keep the settings file's.
struct TerminalOptions
{
    QByteArray name;
    QByteArray channel;
    QByteArray interfaceAddr;
    QByteArray port;
};

/// The terminal front-end of the messaging engine: prints the user list when it changes
/// and every transcript entry as a line, and takes commands and chat lines one line at a
/// time. Command-line choices hold for the run only; the settings file keeps its values.
class TerminalFrontEnd final : public QObject, public EngineWindows
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TerminalFrontEnd)

public:
    using Writer = std::function<void(const QByteArray &)>;

    /// out gets the user list and the transcript, err the messages to the user.
    TerminalFrontEnd(SettingsValues &settings, const EngineSeams &seams, TerminalOptions options,
                     Writer out, Writer err, QObject *parent = nullptr);
    ~TerminalFrontEnd() override;

    /// The commands a line can hold, one per line.
    static QByteArray CommandHelp();

    MessagingEngine &engine() { return *m_engine; }

    /// Loads the settings and brings the engine on line at its first tick.
    void start();
    /// Reads standard input (a descriptor) line by line until its end, then shuts down.
    void readFrom(int fd);
    /// Takes one typed line: a command, or a chat line for the selected users. Lines are
    /// worked through in order, each after the previous one's events.
    void takeLine(const QByteArray &line);
    /// Leaves the network, saves the settings and ends the event loop (once).
    void shutdown();
    bool isShutDown() const { return m_shutDown; }

    // EngineWindows
    void ShowChatWindow() override {}
    void AddMessage(const QByteArray &name, const QByteArray &text, quint32 nameColor,
                    quint32 textColor, bool outgoing) override;
    void Attention() override;
    bool MessageBox(Box kind, const QByteArray &text) override;
    void GiveFocus(Focus) override {}
    void ClearSendEdit() override {}
    void BringToFront() override {}
    void ShowAboutFirstRun() override {}

signals:
    /// The front-end has shut down; the program may end.
    void finished();

private:
    void applyOptions();
    void restoreStoredValues();
    void scheduleNextLine();
    void processNextLine();
    void runCommand(const QByteArray &command, const QByteArray &argument);
    void selectUsers(const QByteArray &names);
    void printUsers();
    void printChannels();
    void scheduleUserList();
    void onInputReady();
    void say(const QByteArray &text);
    static QByteArray display(const QByteArray &bytes);

    SettingsValues &m_settings;
    TerminalOptions m_options;
    Writer m_out;
    Writer m_err;
    std::unique_ptr<MessagingEngine> m_engine;
    /// What the settings file held for the values the command line replaced.
    std::optional<SettingsValues> m_stored;
    QByteArray m_storedChannelText;
    QList<QByteArray> m_lines;
    bool m_lineScheduled = false;
    bool m_userListScheduled = false;
    QByteArray m_lastUserList;
    QSocketNotifier *m_input = nullptr;
    int m_inputFd = -1;
    QByteArray m_partial;
    bool m_shutDown = false;
};
