#pragma once

#include "app/Support.h"
#include "cli/TerminalFrontEnd.h"
#include "engine/EngineWindows.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class MessagingEngine;
class QTimer;
struct EngineSeams;

/// What one `tolvex-cli --send` run is to do.
struct SendRequest
{
    /// Name, channel, interface and port for this run; empty values keep the settings file's.
    TerminalOptions options;
    /// The users to write to, by name; every listed user when all is set.
    QList<QByteArray> recipients;
    bool all = false;
    /// How long the answers to the announcement are collected at most.
    int waitMs = 4000;
    /// The message as it goes on the wire (SendOnce::prepareText).
    QByteArray text;
};

/// One message from a script: comes on line, announces, collects the answers, sends the
/// message to the recipients found, leaves and ends. Works on the settings values it is
/// given (the caller decides whether they point at the real settings file).
class SendOnce final : public QObject, public EngineWindows
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SendOnce)

public:
    using Writer = std::function<void(const QByteArray &)>;

    /// The program's exit statuses.
    enum Status
    {
        Sent = 0,
        /// Some named recipient did not answer (the others got the message); with --all,
        /// nobody answered.
        NotFound = 1,
        /// The command line or the text cannot be used; nothing went out.
        Refused = 2,
        /// The network could not be used (no address, the port held by another program);
        /// nothing went out.
        NetworkUnusable = 3,
        /// A signal ended the run before the message went out.
        Interrupted = 4,
    };

    /// A message waits this long at most for its datagrams to leave.
    static constexpr int kSendLimitMs = 3000;

    /// out gets one line per recipient the message was handed to, err the reasons.
    SendOnce(SettingsValues &settings, const EngineSeams &seams, SendRequest request, Writer out,
             Writer err, QObject *parent = nullptr);
    ~SendOnce() override;

    /// The text of a message as it goes on the wire: line breaks (LF, CR LF or "|") become
    /// CR LF, trailing blanks and control characters go. nullopt, with the reason, for a
    /// text the network cannot carry whole: characters outside the code page, more than one
    /// message holds, or nothing to send.
    static std::optional<QByteArray> prepareText(const QString &text, QString *reason);

    void start();
    /// Ends the run at once (a signal): the leave notice, and nothing sent that has not
    /// gone yet.
    void stop();
    Status status() const { return m_status; }

    // EngineWindows
    void showChatWindow() override {}
    void AddMessage(const QByteArray &name, const QByteArray &text, quint32 nameColor,
                    quint32 textColor, bool outgoing) override;
    void attention() override {}
    bool messageBox(Box kind, const QByteArray &text) override;
    void giveFocus(Focus) override {}
    void clearSendEdit() override {}
    void bringToFront() override {}
    void showAboutFirstRun() override {}

signals:
    /// The run is over: the leave notice is out; status() holds the outcome.
    void finished();

private:
    void applyOptions();
    void goOnline();
    void answerArrived();
    void sendNow();
    void checkSent();
    void finish(Status status);
    /// Records the recipients whose message is still waiting (and tells them when asked).
    void noteUnsent(bool tell);
    QList<QByteArray> missingRecipients() const;
    void say(const QByteArray &text);

    SettingsValues &m_settings;
    SendRequest m_request;
    Writer m_out;
    Writer m_err;
    std::unique_ptr<MessagingEngine> m_engine;
    QTimer *m_waitTimer;
    QTimer *m_sendWatch;
    /// Error boxes of the engine while it comes on line; told only when that fails.
    QList<QByteArray> m_errors;
    QList<QByteArray> m_missing;
    /// Recipients the message was queued for, and those of them it never left for.
    QList<QByteArray> m_queued;
    QList<QByteArray> m_unsent;
    int m_sendChecks = 0;
    bool m_sending = false;
    bool m_done = false;
    Status m_status = Sent;
};
