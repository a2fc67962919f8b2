#pragma once

#include "app/Support.h"
#include "engine/EngineWindows.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>

class MessagingEngine;
class QSocketNotifier;
class QTimer;
struct ChannelSettings;
struct EngineSeams;

/// What the command line chose for this run; empty values keep the settings file's.
struct TerminalOptions
{
    QByteArray name;
    QByteArray channel;
    QByteArray interfaceAddr;
    QByteArray port;
    /// Other networks for this run, besides those of the settings file.
    QList<QByteArray> targets;
};

/// Puts the command line's choices into settings and engine, as both terminal front-ends
/// take them: the name (one field, as the configuration dialog makes it), port, interface,
/// channel and other networks. Returns each target with the engine's objection to it, empty
/// when it was added.
QList<std::pair<QByteArray, QByteArray>> applyTerminalOptions(const TerminalOptions &options,
                                                              SettingsValues &settings,
                                                              MessagingEngine &engine);

/// Network bytes as the terminal shows them: never as control sequences.
QByteArray terminalText(const QByteArray &bytes);

/// A message box's text as one terminal line: line breaks as blanks, an error's "Error: "
/// left out (the terminal says so its own way), shown as terminalText.
QByteArray terminalBoxText(EngineWindows::Box kind, const QByteArray &text);

/// The terminal front-end of the messaging engine: prints who joined and who left, the
/// user list when the selection changes, and every transcript entry as a line, and takes
/// commands and chat lines one line at a time. Command-line choices hold for the whole run
/// and never reach the settings file.
class TerminalFrontEnd final : public QObject, public EngineWindows
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TerminalFrontEnd)

public:
    using Writer = std::function<void(const QByteArray &)>;

    /// A typed line holds at most this many bytes; the rest of a longer one is dropped.
    static constexpr qsizetype kMaxLineBytes = 65536;
    /// Reading pauses while this many typed lines wait.
    static constexpr qsizetype kMaxWaitingLines = 1000;

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
    void showChatWindow() override {}
    void AddMessage(const QByteArray &name, const QByteArray &text, quint32 nameColor,
                    quint32 textColor, bool outgoing) override;
    void attention() override;
    bool messageBox(Box kind, const QByteArray &text) override;
    void giveFocus(Focus) override {}
    void clearSendEdit() override {}
    void bringToFront() override {}
    void showAboutFirstRun() override {}

signals:
    /// The front-end has shut down; the program may end.
    void finished();

private:
    void applyOptions();
    void keepStoredValues(SettingsValues &values, ChannelSettings &channels) const;
    void scheduleNextLine();
    void processNextLine();
    void runCommand(const QByteArray &command, const QByteArray &argument);
    void selectUsers(const QByteArray &names);
    void reach(const QByteArray &argument);
    void printUsers();
    void printChannels();
    void scheduleUserList();
    void noteJoined(int first, int last);
    void noteLeaving(int first, int last);
    void noteReset();
    void flushUserChanges();
    void endOfLine();
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
    /// Targets that only --reach named: kept out of the saved list.
    QList<QByteArray> m_runOnlyTargets;
    QList<QByteArray> m_lines;
    bool m_lineScheduled = false;
    bool m_userListScheduled = false;
    bool m_selectionChanged = false;
    QByteArray m_lastUserList;
    /// Changes of the list not printed yet, in order ("joined: " or "left: " and the name),
    /// and the list as it was before a reset.
    QList<QByteArray> m_changes;
    QHash<quint64, QByteArray> m_beforeReset;
    QSocketNotifier *m_input = nullptr;
    QTimer *m_interfaceWatch = nullptr;
    int m_inputFd = -1;
    bool m_inputEnded = false;
    QByteArray m_partial;
    /// Bytes of an overlong line dropped so far; the line is skipped up to its end.
    qint64 m_droppedLineBytes = 0;
    bool m_dropping = false;
    bool m_shutDown = false;
};
