#include "cli/SendOnce.h"

#include "engine/Cp1252.h"
#include "engine/Datagram.h"
#include "engine/MessagingEngine.h"
#include "engine/TextRules.h"
#include "net/SocketError.h"
#include "net/WSocket.h"

#include <QByteArrayList>
#include <QItemSelectionModel>
#include <QTimer>

namespace {

// How often the send is looked at while its datagrams leave.
constexpr int kSendCheckMs = 10;

// A translated status with its %1, %2 ... filled in as terminal bytes.
QByteArray filled(const QString &text, const QByteArrayList &args = {})
{
    return TextRules::fillArgs(text.toLocal8Bit(), args);
}

} // namespace

SendOnce::SendOnce(SettingsValues &settings, const EngineSeams &seams, SendRequest request,
                   Writer out, Writer err, QObject *parent)
    : QObject(parent), m_settings(settings), m_request(std::move(request)), m_out(std::move(out)),
      m_err(std::move(err)), m_engine(std::make_unique<MessagingEngine>(*this, settings, seams)),
      m_waitTimer(new QTimer(this)), m_sendWatch(new QTimer(this))
{
    m_waitTimer->setSingleShot(true);
    connect(m_waitTimer, &QTimer::timeout, this, &SendOnce::sendNow);
    m_sendWatch->setInterval(kSendCheckMs);
    connect(m_sendWatch, &QTimer::timeout, this, &SendOnce::checkSent);
    connect(m_engine.get(), &MessagingEngine::settingsLoaded, this, &SendOnce::applyOptions);
    connect(&m_engine->users(), &QAbstractItemModel::rowsInserted, this, &SendOnce::answerArrived);
}

// The engine ends its lists' signals itself when it goes.
SendOnce::~SendOnce() = default;

std::optional<QByteArray> SendOnce::prepareText(const QString &text, QString *reason)
{
    const QString unheld = Cp1252::unheld(text);
    if (!unheld.isEmpty()) {
        QStringList listed;
        for (const QChar c : unheld)
            listed.append(c.isPrint()
                              ? QString(c)
                              : QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')));
        *reason = tr("the text holds characters the network's code page "
                     "(Windows-1252) cannot carry: %1; nothing was sent")
                      .arg(listed.join(QLatin1Char(' ')));
        return std::nullopt;
    }
    QByteArray bytes = Cp1252::fromUnicode(text);
    bytes.replace("\r\n", "\n").replace('\r', '\n');
    bytes = TextRules::trimTrailingBlanks(bytes);
    // A line break counts as one character, as a typed "|" does.
    bytes.replace('\n', '|');
    bytes = TextRules::withoutControls(bytes);
    if (bytes.isEmpty()) {
        *reason = tr("the text is empty; nothing was sent");
        return std::nullopt;
    }
    if (bytes.size() > TextRules::kMaxTypedLine) {
        *reason = tr("the text has %1 characters and one message holds at most %2; "
                     "nothing was sent")
                      .arg(bytes.size())
                      .arg(TextRules::kMaxTypedLine);
        return std::nullopt;
    }
    const QByteArray wire = TextRules::prepareChatLine(bytes);
    // Every line break takes two bytes on the wire, and a receiver drops a longer datagram
    // whole: the sender would believe it delivered.
    if (wire.size() > Datagram::kMaxMessageText) {
        *reason = tr("with its line breaks the text takes %1 bytes and one message "
                     "carries at most %2; nothing was sent")
                      .arg(wire.size())
                      .arg(Datagram::kMaxMessageText);
        return std::nullopt;
    }
    return wire;
}

void SendOnce::start()
{
    m_engine->FormCreate(false);
}

void SendOnce::stop()
{
    if (m_done)
        return;
    if (!m_queued.isEmpty() && m_engine->pendingCount() == 0) {
        finish(m_missing.isEmpty() ? Sent : NotFound);
        return;
    }
    noteUnsent(false);
    finish(Interrupted);
}

void SendOnce::applyOptions()
{
    // Other networks among them: the recipients behind a router answer the announcement too.
    applyTerminalOptions(m_request.options, m_settings, *m_engine);
    // After event 1026: a script need not wait for the first tick's delay.
    QMetaObject::invokeMethod(this, &SendOnce::goOnline, Qt::QueuedConnection);
}

void SendOnce::goOnline()
{
    if (m_done)
        return;
    if (m_settings.UserName.isEmpty()) {
        say(filled(tr("the user name is empty, and nobody answers a copy without one: give a "
                      "name with --name; nothing was sent")));
        finish(Refused);
        return;
    }
    if (m_engine->aliveTimerTag() == 1)
        m_engine->AliveTimerTimer();
    TWSocket &receiver = m_engine->WSocketRecv();
    if (receiver.State() != wsConnected) {
        if (receiver.LastError() == SocketError::AddressInUse) {
            // The answers to the announcement come to this port: without it, this run could
            // only learn nobody, and anything it sent from this computer's address would
            // speak for the copy that holds the port.
            say(filled(tr("port %1 is held by another program on this computer (a Tolvex copy "
                          "running here?), and the answers come to that port; nothing was "
                          "sent, and the copy holding it was not disturbed. Send from that "
                          "copy, or end it first"),
                       {m_settings.Port.trimmed()}));
        } else {
            for (const QByteArray &error : std::as_const(m_errors))
                say(error);
            if (m_errors.isEmpty())
                say(filled(tr("the network cannot be used; nothing was sent")));
        }
        finish(NetworkUnusable);
        return;
    }
    m_errors.clear();
    m_waitTimer->start(m_request.waitMs);
    answerArrived();
}

QList<QByteArray> SendOnce::missingRecipients() const
{
    const UserList &users = m_engine->users();
    QList<QByteArray> missing;
    for (const QByteArray &name : m_request.recipients) {
        bool found = false;
        for (int row = 0; row < users.count() && !found; ++row)
            found = users.at(row)->Name == name;
        if (!found && !missing.contains(name))
            missing.append(name);
    }
    return missing;
}

void SendOnce::answerArrived()
{
    // Every named recipient has answered: no reason to wait on.
    if (!m_waitTimer->isActive() || m_request.all || !missingRecipients().isEmpty())
        return;
    m_waitTimer->stop();
    // After the handler that registered the last one.
    QMetaObject::invokeMethod(this, &SendOnce::sendNow, Qt::QueuedConnection);
}

void SendOnce::sendNow()
{
    if (m_sending || m_done)
        return;
    m_sending = true;
    m_waitTimer->stop();
    UserList &users = m_engine->users();
    QItemSelection selection;
    for (int row = 0; row < users.count(); ++row) {
        if (m_request.all || m_request.recipients.contains(users.at(row)->Name))
            selection.select(users.index(row), users.index(row));
    }
    m_missing = missingRecipients();
    if (selection.isEmpty()) {
        finish(NotFound);
        return;
    }
    users.selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_engine->postQueueMessage(m_request.text);
    m_sendWatch->start();
}

void SendOnce::checkSent()
{
    ++m_sendChecks;
    const bool queued = !m_queued.isEmpty();
    if (queued && m_engine->pendingCount() == 0) {
        finish(m_missing.isEmpty() ? Sent : NotFound);
        return;
    }
    if (m_sendChecks * kSendCheckMs < kSendLimitMs)
        return;
    if (!queued) {
        // The recipients left between their answer and the message.
        for (int row = 0; row < m_engine->users().count(); ++row)
            m_missing.append(m_engine->users().at(row)->Name);
        finish(NotFound);
        return;
    }
    const UserList &users = m_engine->users();
    for (int row = 0; row < users.count(); ++row) {
        if (!users.at(row)->Pending.isEmpty())
            say(filled(tr("the message could not be handed to the network for %1"),
                       {terminalText(users.at(row)->Name)}));
    }
    for (const QByteArray &error : std::as_const(m_errors))
        say(error);
    finish(NetworkUnusable);
}

void SendOnce::noteUnsent(bool tell)
{
    const UserList &users = m_engine->users();
    for (int row = 0; row < users.count(); ++row) {
        if (users.at(row)->Pending.isEmpty())
            continue;
        m_unsent.append(users.at(row)->Name);
        if (tell)
            say(filled(tr("the message could not be handed to the network for %1"),
                       {terminalText(users.at(row)->Name)}));
    }
}

void SendOnce::AddMessage(const QByteArray &name, const QByteArray &, quint32, quint32,
                          bool outgoing)
{
    // Only the queued message's recipients come here outgoing; messages others send to this
    // short-lived copy are not for a script.
    if (outgoing && m_sending)
        m_queued.append(name);
}

bool SendOnce::messageBox(Box kind, const QByteArray &text)
{
    m_errors.append(terminalBoxText(kind, text));
    return false;
}

void SendOnce::finish(Status status)
{
    if (m_done)
        return;
    m_done = true;
    m_waitTimer->stop();
    m_sendWatch->stop();
    m_status = status;
    // Told once the datagrams have left, not when they were queued.
    QList<QByteArray> unsent = m_unsent;
    for (const QByteArray &name : std::as_const(m_queued)) {
        if (!unsent.removeOne(name))
            m_out("sent: " + terminalText(name) + "\n");
    }
    if (status == Interrupted)
        say(filled(m_queued.size() > m_unsent.size()
                       ? tr("interrupted before the message left for everyone")
                       : tr("interrupted; nothing was sent")));
    if (status == NotFound) {
        if (m_request.all) {
            say(filled(tr("nobody on the channel %1 answered; nothing was sent"),
                       {terminalText(m_engine->ActiveChannel())}));
        } else {
            QByteArray names;
            for (const QByteArray &name : std::as_const(m_missing))
                names += (names.isEmpty() ? "" : ", ") + terminalText(name);
            say(filled(tr("not found on the channel %1: %2"),
                       {terminalText(m_engine->ActiveChannel()), names}));
        }
    }
    // The leave notice goes to everybody who listed this copy.
    m_engine->FormClose();
    emit finished();
}

void SendOnce::say(const QByteArray &text)
{
    m_err("tolvex-cli: " + text + "\n");
}
