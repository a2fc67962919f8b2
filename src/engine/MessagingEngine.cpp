#include "engine/MessagingEngine.h"

#include "app/CodeCript.h"
#include "app/SettingsFile.h"
#include "app/Support.h"
#include "engine/Cp1252.h"
#include "engine/Datagram.h"
#include "engine/PeerColors.h"
#include "engine/TextRules.h"
#include "net/SocketError.h"
#include "net/WSocket.h"
#include "platform/InterfaceAddresses.h"
#include "platform/MemoryRelease.h"
#include "platform/NetworkState.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QSignalBlocker>
#include <QThread>
#include <algorithm>
#include <arpa/inet.h>
#include <cstring>
#include <ctime>
#include <utility>

namespace {

// A leave notice that cannot get out (no route, interface gone) must not hold the program
// at exit for ever.
constexpr int kLeaveWaitLimitMs = 2000;
// A target's datagram still queued when the next target is due gets this long; the send
// buffer of a datagram socket rarely fills, and 64 targets must not hold the loop long.
constexpr int kTargetWaitLimitMs = 50;

std::optional<quint32> ipv4Of(const QByteArray &dotted)
{
    in_addr addr{};
    if (inet_pton(AF_INET, dotted.trimmed().constData(), &addr) != 1)
        return std::nullopt;
    return addr.s_addr;
}

// Whether an announcement's kind field reads "BCT", in any case of its ASCII letters.
bool isBroadcastMark(QByteArrayView kind)
{
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
    return kind.size() == 3 && upper(kind[0]) == 'B' && upper(kind[1]) == 'C' &&
           upper(kind[2]) == 'T';
}

// Keeps the identifier in the record's own bytes: identifiers all have one length, so a
// keep-alive from a known peer costs no allocation.
void setLastId(TUser &user, QByteArrayView id)
{
    if (user.LastId.size() == id.size() && user.LastId.isDetached())
        std::memcpy(user.LastId.data(), id.data(), size_t(id.size()));
    else
        user.LastId = id.toByteArray();
}

QByteArray defaultChannel()
{
    return CodeCript::Decode(CodeCript::DefaultChannel);
}

void abortQuietly(TWSocket &socket)
{
    try {
        socket.Abort();
    } catch (const std::exception &) {
        // Aborting is the last resort; nothing is left to do when it fails.
    }
}

} // namespace

EngineSeams EngineSeams::system()
{
    EngineSeams seams;
    // Kept in UTC: the same moments as local time, a tenth of the cost, and a change to or
    // from summer time is not mistaken for a clock set back by an hour. Read from the coarse
    // clock, which costs a fraction of the precise one on every datagram: presence counts
    // whole seconds, and the coarse clock is behind by a scheduler tick at most.
    seams.clock = [] {
        timespec ts{};
        ::clock_gettime(CLOCK_REALTIME_COARSE, &ts);
        return QDateTime::fromMSecsSinceEpoch(qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000,
                                              Qt::UTC);
    };
    seams.LocalIPList = [] { return ::LocalIPList(); };
    seams.networkConnected = [] { return NetworkState::connected(); };
    seams.interfaceIndexOf = [](const QByteArray &addr) {
        return InterfaceAddresses::indexOf(addr);
    };
    seams.deviceAddr = [](const QByteArray &name) -> std::optional<QByteArray> {
        const InterfaceAddresses::Device device = InterfaceAddresses::device(name);
        if (!device.exists)
            return std::nullopt;
        return device.addr;
    };
    return seams;
}

MessagingEngine::MessagingEngine(EngineWindows &windows, SettingsValues &settings,
                                 EngineSeams seams, QObject *parent)
    : QObject(parent), m_windows(windows), m_settings(settings), m_seams(std::move(seams)),
      m_wsocketRecv(new TWSocket(this)), m_wsocketBcast(new TWSocket(this)),
      m_wsocketTargets(new TWSocket(this))
{
    m_aliveTimer.setInterval(kTickMs);
    connect(&m_aliveTimer, &QTimer::timeout, this, &MessagingEngine::AliveTimerTimer);

    m_wsocketRecv->OnDataAvailable = [this](TCustomWSocket *sender, quint16 errCode) {
        WSocketRecvDataAvailable(sender, errCode);
    };
    m_wsocketRecv->OnError = [this](TCustomWSocket *sender) { WSocketRecvError(sender); };
    m_wsocketBcast->OnError = [this](TCustomWSocket *sender) { WSocketBcastError(sender); };
    m_wsocketBcast->OnDataSent = [this](TCustomWSocket *sender, quint16 errCode) {
        WSocketDataSent(sender, errCode);
    };
    // A target that cannot be reached costs a count and nothing else.
    m_wsocketTargets->OnError = [this](TCustomWSocket *) { m_targetSendFailed = true; };
    m_wsocketTargets->OnDataSent = [this](TCustomWSocket *sender, quint16 errCode) {
        WSocketDataSent(sender, errCode);
    };
}

MessagingEngine::~MessagingEngine()
{
    // The records' sockets go before the engine's own; nothing is sent any more.
    m_aliveTimer.stop();
    // Whoever listens may be half gone (a front-end whose members went first), so the peers
    // leave without a word. The blockers end before the lists do: a view still attached
    // hears of their end and shows nothing from then on.
    const QSignalBlocker quietEngine(this);
    const QSignalBlocker quietUsers(m_users);
    const QSignalBlocker quietSelection(m_users.selectionModel());
    const QSignalBlocker quietChannels(m_channels);
    while (!m_users.isEmpty())
        m_users.take(m_users.count() - 1);
}

// ---------------------------------------------------------------------------------------
// Deferred events

void MessagingEngine::post(DeferredEvent::Number number, int first, quint64 second, QByteArray text)
{
    if (m_closed)
        return;
    QCoreApplication::postEvent(this, new DeferredEvent(number, first, second, std::move(text)));
}

bool MessagingEngine::event(QEvent *event)
{
    // Work queued before the shutdown must not act after the leave notice: an announcement
    // now would list a ghost on every peer until it expires. (The type is looked at first:
    // child events reach us while the constructor is still making the sockets.)
    const int type = static_cast<int>(event->type());
    if (type >= DeferredEvent::Restore && type <= DeferredEvent::Attention && m_closed)
        return true;
    switch (static_cast<int>(event->type())) {
    case DeferredEvent::Restore:
        m_windows.bringToFront();
        return true;
    case DeferredEvent::StartUp:
        startUp();
        return true;
    case DeferredEvent::Announce:
        Announce();
        return true;
    case DeferredEvent::SendDirect: {
        const auto *deferred = static_cast<DeferredEvent *>(event);
        SendDirect(deferred->first(), deferred->second());
        return true;
    }
    case DeferredEvent::QueueMessage:
        QueueMessage(static_cast<DeferredEvent *>(event)->text());
        return true;
    case DeferredEvent::Attention:
        m_attentionPending = false;
        m_windows.attention();
        return true;
    default:
        return QObject::event(event);
    }
}

bool MessagingEngine::terminating() const
{
    return QCoreApplication::closingDown() || QThread::currentThread()->isInterruptionRequested();
}

// ---------------------------------------------------------------------------------------
// Start-up and shutdown

void MessagingEngine::FormCreate(bool startedAtLogon)
{
    m_aliveTimer.setInterval(startedAtLogon ? kLogonFirstTickMs : kFirstTickMs);
    post(DeferredEvent::StartUp);
}

void MessagingEngine::startUp()
{
    LoadSettings();
    // Names start resolving now, so that the first announcement finds them.
    applyTargets();
    emit settingsLoaded();
    startAliveTimer();
}

void MessagingEngine::startAliveTimer()
{
    m_aliveTimerTag = 1;
    m_aliveTimer.start();
}

void MessagingEngine::FormClose()
{
    if (m_closed)
        return;
    // Closed before the leave notice: the wait for it runs handlers, and none of them may
    // send anything after it.
    m_closed = true;
    goOffline();
    // Peers that heard an announcement whose answers have not come in yet (a channel
    // change right before the end) list this copy too: they are told it left.
    if (m_announcedSinceLeave)
        sendPresence([] { return Datagram::leaveNotice(); }, true);
    emit aboutToSaveSettings();
    SaveSettings();
}

void MessagingEngine::goOffline()
{
    m_aliveTimer.stop();
    try {
        m_wsocketRecv->Close();
    } catch (const std::exception &) {
        abortQuietly(*m_wsocketRecv);
    }
    LeaveNetwork();
}

void MessagingEngine::resumeOnline()
{
    // The program may have been told to end while the dialog was open.
    if (m_closed)
        return;
    OpenReceiver(true);
    m_aliveTimer.setInterval(kTickMs);
    m_aliveTimerTag = 0;
    m_aliveTimer.start();
    post(DeferredEvent::Announce);
}

QByteArray MessagingEngine::errorPrefix()
{
    return Cp1252::fromUnicode(tr("Error: "));
}

void MessagingEngine::LoadSettings()
{
    SettingsHooks hooks;
    hooks.firstRun = [this] { m_windows.showAboutFirstRun(); };
    hooks.reportError = [this](const QString &message) {
        m_windows.messageBox(EngineWindows::Box::Error, Cp1252::fromUnicode(message));
    };
    const LoadedSettings loaded = ::LoadSettings(m_settings, hooks);
    m_channels.reset(loaded.channels.channels, loaded.channels.text);
    m_heard.reset(loaded.channels.heard);
    m_channels.setEnabled(!loaded.restrictions.channelsLocked);
    m_configurationLocked = loaded.restrictions.configurationLocked;
    setActiveChannel(m_channels.text());
}

void MessagingEngine::SaveSettings()
{
    ChannelSettings channels;
    channels.channels = m_channels.items();
    channels.text = m_channels.text();
    for (const QByteArray &name : channels.channels) {
        if (isHeardChannel(name) && !channels.heard.contains(name))
            channels.heard.append(name);
    }
    const auto report = [this](const QString &message) {
        m_windows.messageBox(EngineWindows::Box::Error, Cp1252::fromUnicode(message));
    };
    SettingsValues values = m_settings;
    if (m_saveFilter)
        m_saveFilter(values, channels);
    ::SaveSettings(values, channels, report);
}

void MessagingEngine::setActiveChannel(const QByteArray &channel)
{
    if (channel == m_activeChannel)
        return;
    m_activeChannel = channel;
    emit activeChannelChanged(m_activeChannel);
}

// ---------------------------------------------------------------------------------------
// Inbound datagrams

void MessagingEngine::WSocketRecvDataAvailable(TCustomWSocket *, quint16)
{
    char buffer[Datagram::kMaxSize];
    SockAddrIn from;
    int fromLen = sizeof(from);
    const int received = m_wsocketRecv->ReceiveFrom(buffer, sizeof(buffer), from, fromLen);
    if (received < 0)
        return;
    handleDatagram(QByteArray(buffer, received), from.AddrText());
}

void MessagingEngine::handleDatagram(const QByteArray &datagram, const QByteArray &senderAddr)
{
    if (m_closed)
        return;
    const std::optional<quint32> senderKey = UserList::addrKey(senderAddr);
    if (senderKey ? m_localKeys.contains(*senderKey) : m_localAddresses.contains(senderAddr))
        return; // our own broadcast
    const std::optional<Datagram::PartsView> parts = Datagram::cutView(datagram);
    if (!parts)
        return;
    const auto &fields = parts->fields;
    const QByteArrayView command = parts->command();

    if (TUser *user = m_users.findByAddr(senderAddr, senderKey)) {
        user->LastSeen = now();
        if (parts->id == QByteArrayView(user->LastId))
            return; // a repeated datagram
        setLastId(*user, parts->id);
        if (command == "MSG") {
            if (fields.isEmpty())
                return;
            const QByteArray text = fields.at(0).toByteArray();
            user->LastText = text;
            // The windows may run the event loop, and with it this peer's leave notice: they
            // get copies, and the record is looked up again afterwards.
            const quint64 id = user->Id;
            const QByteArray name = user->Name;
            const quint32 color = user->Color;
            m_windows.showChatWindow();
            m_windows.AddMessage(name, text, color, PeerColors::kBlack, false);
            user = m_users.findById(id);
            if (!user || (m_appActive && m_users.selectionModel()->hasSelection()))
                return;
            m_users.selectOnly(m_users.rowOf(user));
            // One signal answers every message that came before it was given.
            if (!std::exchange(m_attentionPending, true))
                post(DeferredEvent::Attention);
        } else if (command == "ACK") {
            if (fields.size() >= 2)
                autoAddChannel(fields.at(1).toByteArray(), senderAddr);
            if (!fields.isEmpty() && isBroadcastMark(fields.at(0)))
                postAnswer(user->Id);
        } else if (command == "EXT") {
            RemoveUser(m_users.rowOf(user));
        }
        return;
    }

    if (command != "ACK" || fields.size() < 2)
        return;
    const QByteArrayView channel = fields.at(1);
    if (channel == QByteArrayView(m_activeChannel)) {
        if (fields.size() < 3 || m_users.count() >= m_userLimit)
            return;
        TUser *user = AddUser(senderAddr, fields.at(2).toByteArray(), parts->id.toByteArray());
        if (isBroadcastMark(fields.at(0)))
            postAnswer(user->Id);
    } else {
        autoAddChannel(channel.toByteArray(), senderAddr);
    }
}

void MessagingEngine::postAnswer(quint64 peer)
{
    // The answer that is on its way also answers every announcement heard before it
    // leaves: a flood of them from one address posts one answer, not one each.
    if (m_answerPending.contains(peer))
        return;
    m_answerPending.insert(peer);
    post(DeferredEvent::SendDirect, 1, peer);
}

void MessagingEngine::autoAddChannel(const QByteArray &channel, const QByteArray &source)
{
    if (m_settings.AutoAdd && channel != m_activeChannel)
        m_heard.add(channel, source, m_activeChannel);
}

bool MessagingEngine::isHeardChannel(const QByteArray &name) const
{
    return m_heard.contains(name);
}

// ---------------------------------------------------------------------------------------
// Registry

TUser *MessagingEngine::FindUser(const QByteArray &addr, int *row) const
{
    TUser *user = m_users.findByAddr(addr);
    if (row)
        *row = m_users.rowOf(user);
    return user;
}

TUser *MessagingEngine::AddUser(const QByteArray &addr, const QByteArray &name,
                                const QByteArray &packetId)
{
    auto user = std::make_unique<TUser>();
    user->LastSeen = now();
    user->Addr = addr;
    user->Name = name;
    // The socket is made at the first send: most records never send, and a socket costs
    // several times what the rest of the record does.
    user->LastId = packetId;
    user->Id = ++m_lastUserId;
    TUser *record = user.get();
    const int row = m_users.insert(std::move(user));
    m_users.setColor(row, PeerColors::colorForRow(row));
    return record;
}

void MessagingEngine::closeUserSocket(TUser &user)
{
    if (!user.Socket)
        return;
    try {
        user.Socket->Close();
    } catch (const std::exception &) {
        abortQuietly(*user.Socket);
    }
}

void MessagingEngine::RemoveUser(int row)
{
    if (row < 0 || row >= m_users.count())
        return;
    TUser *user = m_users.at(row);
    closeUserSocket(*user);
    if (!user->Pending.isEmpty())
        --m_pendingCount;
    m_users.take(row);
}

void MessagingEngine::RemoveAllUsers()
{
    while (!m_users.isEmpty())
        RemoveUser(m_users.count() - 1);
}

// ---------------------------------------------------------------------------------------
// Presence

void MessagingEngine::AliveTimerTimer()
{
    if (m_closed)
        return;
    if (m_aliveTimerTag == 1) {
        m_aliveTimer.stop();
        OpenReceiver(true);
        m_aliveTimer.setInterval(kTickMs);
        m_aliveTimerTag = 0;
        m_aliveTimer.start();
        post(DeferredEvent::Announce);
        return;
    }
    checkInterface();
    checkReceiver();
    m_targets.resolveNames();
    if (m_users.isEmpty()) {
        post(DeferredEvent::Announce);
        return;
    }
    expireSilentUsers();
    // A copy that cannot hear must not keep itself listed with keep-alives: it would never
    // answer anybody.
    if (m_wsocketRecv->State() != wsConnected)
        return;
    const QByteArray channel = m_activeChannel;
    sendPresence([&channel] { return Datagram::keepAlive(channel); }, false);
    probeRemotePeers();
}

void MessagingEngine::expireSilentUsers()
{
    // The difference counts in either direction, so a clock set back drops everybody too.
    const QDateTime current = now();
    const auto silent = [&current](const TUser &user) {
        return qAbs(user.LastSeen.msecsTo(current)) / 1000 > kSilenceLimitSeconds;
    };
    std::vector<std::unique_ptr<TUser>> gone = m_users.takeWhere(silent);
    for (const std::unique_ptr<TUser> &user : gone) {
        closeUserSocket(*user);
        if (!user->Pending.isEmpty())
            --m_pendingCount;
    }
    const bool many = gone.size() > size_t(kReleaseMemoryAfter);
    gone.clear();
    if (many)
        MemoryRelease::releaseFreed();
}

void MessagingEngine::checkInterface()
{
    if (m_closed || m_settings.Interface.isEmpty())
        return;
    const QByteArray addr = resolveInterface(nullptr);
    const bool present =
        !addr.isEmpty() && (!m_seams.interfaceIndexOf || m_seams.interfaceIndexOf(addr) > 0);
    const std::optional<bool> before = std::exchange(m_interfacePresent, present);
    if (!before || *before == present)
        return;
    emit interfacePresenceChanged(present, m_settings.Interface);
    if (present && !m_closed)
        checkReceiver();
}

void MessagingEngine::checkReceiver()
{
    // The device that held the address may have been deleted and made again (a VPN, a
    // USB adapter, a container's veth): the receiver stays tied to the old device and hears
    // nothing, so it is opened anew on the device that holds the address now.
    if (m_wsocketRecv->State() == wsConnected && m_receiverIfIndex > 0 &&
        m_seams.interfaceIndexOf) {
        QByteArray error;
        const QByteArray addr = resolveInterface(&error);
        // A device name's address may change too (a new lease).
        if (addr != m_receiverAddr || m_seams.interfaceIndexOf(addr) != m_receiverIfIndex) {
            try {
                m_wsocketRecv->Close();
            } catch (const std::exception &) {
                abortQuietly(*m_wsocketRecv);
            }
        }
    }
    if (m_wsocketRecv->State() != wsConnected)
        OpenReceiver(false);
}

QByteArray MessagingEngine::resolveInterface(QByteArray *error) const
{
    const QByteArray &configured = m_settings.Interface;
    if (configured.isEmpty() || IsDottedIP(configured))
        return configured.trimmed();
    // Anything else would go to the name service on this one thread, which can hold the
    // program for many seconds; a device name is taken from the interface table instead.
    const std::optional<QByteArray> device =
        m_seams.deviceAddr ? m_seams.deviceAddr(configured) : std::nullopt;
    if (device && !device->isEmpty())
        return *device;
    if (error) {
        *error = TextRules::fillArgs(
            device ? Cp1252::fromUnicode(tr("the network device \"%1\" has no IPv4 address"))
                   : Cp1252::fromUnicode(tr("the interface \"%1\" is neither an IPv4 address "
                                            "nor a network device of this computer")),
            {configured});
    }
    return {};
}

bool MessagingEngine::canSend() const
{
    return !m_closed && PortNumber(m_settings.Port).has_value() &&
           !resolveInterface(nullptr).isEmpty();
}

void MessagingEngine::OpenReceiver(bool report)
{
    if (m_closed)
        return;
    if (m_localAddresses.isEmpty()) {
        const QByteArrayList addresses = m_seams.LocalIPList();
        if (!addresses.isEmpty()) {
            m_localAddresses = addresses;
            m_localAddresses.removeOne("127.0.0.1");
            m_localKeys.clear();
            for (const QByteArray &addr : std::as_const(m_localAddresses)) {
                if (const std::optional<quint32> key = UserList::addrKey(addr))
                    m_localKeys.append(*key);
            }
        }
    }
    if (m_settings.Interface.isEmpty() && !m_localAddresses.isEmpty())
        m_settings.Interface = m_localAddresses.first();
    QByteArray interfaceError;
    m_interfaceAddr = resolveInterface(&interfaceError);
    // The first look at the interface is what a later loss is told against: take it as soon
    // as the interface is known, or an address lost before the next look goes unsaid.
    if (!m_interfacePresent)
        checkInterface();
    if (m_wsocketRecv->State() == wsConnected)
        return;

    const auto showError = [this](const QByteArray &text) {
        m_windows.messageBox(EngineWindows::Box::Error, errorPrefix() + text);
    };
    // Values that can never work are told at the first tick, like a port in use; later
    // ticks try again quietly.
    if (!PortNumber(m_settings.Port)) {
        if (report)
            showError(TextRules::fillArgs(
                Cp1252::fromUnicode(tr("the port \"%1\" is not a number from 1 to 65535; "
                                       "nothing is sent or received")),
                {m_settings.Port}));
        return;
    }
    if (!interfaceError.isEmpty()) {
        if (report)
            showError(TextRules::fillArgs(
                Cp1252::fromUnicode(tr("%1; nothing is sent or received")), {interfaceError}));
        return;
    }
    if (m_interfaceAddr.isEmpty() || m_localAddresses.isEmpty() || !networkConnected()) {
        if (report)
            m_windows.messageBox(
                EngineWindows::Box::Error,
                Cp1252::fromUnicode(tr("Network error\r\nYou do not have a local network IP."
                                       "\r\nThe server cannot be started.")));
        return;
    }
    int code = 0;
    try {
        m_wsocketRecv->SetProto("udp");
        m_wsocketRecv->SetPort(m_settings.Port);
        m_wsocketRecv->SetAddr(m_interfaceAddr);
        m_wsocketRecv->Listen();
        // Failures that went to the error event leave the socket closed without a word;
        // the first tick still tells the user, or a copy would sit deaf without a hint.
        if (report && m_wsocketRecv->State() != wsConnected)
            code = m_wsocketRecv->LastError();
    } catch (const ESocketException &) {
        code = m_wsocketRecv->LastError();
    }
    m_receiverIfIndex = m_wsocketRecv->State() == wsConnected && m_seams.interfaceIndexOf
                            ? m_seams.interfaceIndexOf(m_interfaceAddr)
                            : 0;
    m_receiverAddr = m_interfaceAddr;
    if (code == SocketError::AddressInUse) {
        showError(TextRules::fillArgs(
            Cp1252::fromUnicode(tr("port %1 is already in use (another copy running?); this "
                                   "copy stays off line until the port is free")),
            {m_settings.Port.trimmed()}));
    } else if (code > 0) {
        m_windows.messageBox(
            EngineWindows::Box::Error,
            errorPrefix() + TextRules::fillArgs(Cp1252::fromUnicode(tr("%1 (Code %2)")),
                                                {SocketErrorDesc(code), QByteArray::number(code)}));
    }
}

void MessagingEngine::Announce()
{
    if (m_closed)
        return;
    if (m_wsocketRecv->State() != wsConnected)
        OpenReceiver(false);
    // A copy that cannot hear (its port taken by another copy) would be listed by every
    // peer without ever answering, and its leave notice would drop the copy that holds the
    // port: it stays silent until its receiver opens.
    if (m_wsocketRecv->State() != wsConnected)
        return;
    if (m_settings.UserName.isEmpty() || !canSend() || !networkConnected())
        return;
    const QByteArray channel = m_activeChannel;
    const QByteArray user = m_settings.UserName;
    if (sendPresence([&] { return Datagram::announcement(channel, user); }, false) ==
        SendOutcome::Sent)
        m_announcedSinceLeave = true;
}

void MessagingEngine::LeaveNetwork()
{
    if (m_users.isEmpty())
        return;
    RemoveAllUsers();
    m_announcedSinceLeave = false;
    sendPresence([] { return Datagram::leaveNotice(); }, true);
}

void MessagingEngine::waitAllDataSent()
{
    waitAllDataSent(*m_wsocketBcast, kLeaveWaitLimitMs);
}

void MessagingEngine::waitAllDataSent(TWSocket &socket, int limitMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!socket.AllDataSent() && socket.State() == wsConnected) {
        if (terminating() || waited.elapsed() > limitMs)
            return;
        QThread::msleep(5);
        QCoreApplication::processEvents();
    }
}

void MessagingEngine::ReloadListClick()
{
    if (m_closed)
        return;
    LeaveNetwork();
    QCoreApplication::processEvents();
    post(DeferredEvent::Announce);
}

// ---------------------------------------------------------------------------------------
// Sending

MessagingEngine::SendOutcome MessagingEngine::sendThrough(
    const std::function<TWSocket *()> &socket, const QByteArray &destination,
    const std::function<void(TWSocket &)> &configure, const std::function<QByteArray()> &compose)
{
    // A port or interface that cannot work is never handed to the socket, which would take
    // a name to the name service.
    m_interfaceAddr = resolveInterface(nullptr);
    if (!PortNumber(m_settings.Port) || m_interfaceAddr.isEmpty())
        return SendOutcome::GaveUp;
    TWSocket *s = socket();
    try {
        // A datagram still queued behind a would-block is on its way: a socket set up for
        // the same destination goes on as it is, the new datagram behind it, instead of
        // being aborted with it.
        const bool keep = s->State() == wsConnected && !s->AllDataSent() &&
                          s->Addr() == destination && s->Port() == m_settings.Port.trimmed() &&
                          s->LocalAddr() == m_interfaceAddr;
        if (!keep) {
            if (s->State() == wsConnected)
                s->Abort();
            configure(*s);
            s->Connect();
        }
    } catch (const std::exception &) {
        abortQuietly(*s);
        return SendOutcome::GaveUp;
    }
    // A datagram socket is usually connected at once; should it not be, handlers run while
    // we wait and may drop the very peer, so the socket is looked up again each time.
    while ((s = socket()) && s->State() == wsConnecting) {
        if (terminating())
            return SendOutcome::GaveUp;
        QThread::msleep(1);
        QCoreApplication::processEvents();
    }
    if (!s)
        return SendOutcome::Gone;
    if (s->State() != wsConnected)
        return SendOutcome::GaveUp;
    try {
        s->SendText(compose());
    } catch (const std::exception &) {
        abortQuietly(*s);
        return SendOutcome::SendFailed;
    }
    return SendOutcome::Sent;
}

MessagingEngine::SendOutcome MessagingEngine::broadcast(const std::function<QByteArray()> &compose)
{
    return sendThrough([this] { return m_wsocketBcast; }, m_seams.broadcastAddr,
                       [this](TWSocket &s) {
                           s.SetProto("udp");
                           s.SetPort(m_settings.Port);
                           s.SetAddr(m_seams.broadcastAddr);
                           s.SetLocalPort("0");
                           s.SetLocalAddr(m_interfaceAddr);
                       },
                       compose);
}

MessagingEngine::SendOutcome
MessagingEngine::sendPresence(const std::function<QByteArray()> &compose, bool waitForEach)
{
    // One datagram, one packet identifier: a peer that hears it both ways drops the second
    // copy as a repeat. Composed at the first send, so that without targets the identifiers
    // are drawn exactly as before.
    QByteArray text;
    const auto once = [&text, &compose] {
        if (text.isEmpty())
            text = compose();
        return text;
    };
    SendOutcome outcome = broadcast(once);
    if (outcome == SendOutcome::Sent) {
        ++m_presenceSends;
        if (waitForEach)
            waitAllDataSent();
    }
    if (m_targets.isEmpty())
        return outcome;
    // A copy: the waits below run handlers, which may change the list.
    const QByteArrayList destinations = m_targets.addresses();
    const std::optional<quint32> ownBroadcast = ownSubnetBroadcast();
    for (const QByteArray &addr : destinations) {
        if (isOwnDestination(addr, ownBroadcast))
            continue;
        m_targetSendFailed = false;
        const SendOutcome sent = sendThrough([this] { return m_wsocketTargets; }, addr,
                                             [this, &addr](TWSocket &s) {
                                                 s.SetProto("udp");
                                                 s.SetPort(m_settings.Port);
                                                 s.SetAddr(addr);
                                                 s.SetLocalPort("0");
                                                 s.SetLocalAddr(m_interfaceAddr);
                                             },
                                             once);
        if (sent != SendOutcome::Sent || m_targetSendFailed) {
            m_targets.countUnreachable();
            abortQuietly(*m_wsocketTargets);
            continue;
        }
        ++m_presenceSends;
        // Heard somewhere: the leave notice at exit must follow it.
        outcome = SendOutcome::Sent;
        // The socket is set up afresh for the next target, which would drop what is queued.
        waitAllDataSent(*m_wsocketTargets, waitForEach ? kLeaveWaitLimitMs : kTargetWaitLimitMs);
    }
    return outcome;
}

std::optional<quint32> MessagingEngine::ownSubnetBroadcast() const
{
    const std::optional<quint32> own = ipv4Of(m_interfaceAddr);
    if (!own)
        return std::nullopt;
    const std::optional<InterfaceAddress> iface = InterfaceAddresses::holding(*own);
    if (!iface || iface->Netmask == 0)
        return std::nullopt;
    return *own | ~iface->Netmask;
}

bool MessagingEngine::isOwnDestination(const QByteArray &addr,
                                       std::optional<quint32> ownBroadcast) const
{
    if (addr == "255.255.255.255" || addr == m_seams.broadcastAddr || addr == m_interfaceAddr ||
        m_localAddresses.contains(addr) || addr.startsWith("127."))
        return true;
    const std::optional<quint32> target = ipv4Of(addr);
    return target && ownBroadcast && *target == *ownBroadcast;
}

void MessagingEngine::probeRemotePeers()
{
    // A peer behind a router that lacks us in its own list hears our keep-alives but its own
    // never reach us; without this it would be dropped after 75 s and never heard again
    // while anybody else keeps our list non-empty. Its answer to our announcement refreshes
    // it, with the same datagrams any announcement brings.
    if (m_targets.isEmpty() || m_users.isEmpty() || m_wsocketRecv->State() != wsConnected)
        return;
    const std::optional<quint32> own = ipv4Of(m_interfaceAddr);
    const std::optional<InterfaceAddress> iface =
        own ? InterfaceAddresses::holding(*own) : std::nullopt;
    if (!iface || iface->Netmask == 0)
        return;
    const QDateTime current = now();
    QList<quint64> stale;
    for (int row = 0; row < m_users.count(); ++row) {
        const TUser *user = m_users.at(row);
        const std::optional<quint32> peer = ipv4Of(user->Addr);
        if (!peer || (*peer & iface->Netmask) == (*own & iface->Netmask))
            continue;
        if (qAbs(user->LastSeen.msecsTo(current)) / 1000 > kRemoteProbeSeconds)
            stale.append(user->Id);
    }
    const QByteArray channel = m_activeChannel;
    const QByteArray name = m_settings.UserName;
    for (quint64 id : stale) {
        if (sendToPeer(id, [&](const TUser &) { return Datagram::announcement(channel, name); }) ==
            SendOutcome::Sent)
            ++m_presenceSends;
    }
}

QByteArray MessagingEngine::addTarget(const QByteArray &text)
{
    const QByteArray value = text.trimmed();
    const QByteArray problem = PresenceTargets::problem(value);
    if (!problem.isEmpty())
        return problem;
    for (const QByteArray &listed : m_settings.Targets) {
        if (listed.trimmed().compare(value, Qt::CaseInsensitive) == 0)
            return value + " is listed already";
    }
    if (PresenceTargets::cleaned(m_settings.Targets).size() >= PresenceTargets::kMaxTargets)
        return "the list holds at most " + QByteArray::number(PresenceTargets::kMaxTargets) +
               " targets";
    m_settings.Targets.append(value);
    applyTargets();
    return {};
}

bool MessagingEngine::removeTarget(const QByteArray &text)
{
    const qsizetype before = m_settings.Targets.size();
    m_settings.Targets.removeIf([&text](const QByteArray &listed) {
        return listed.trimmed().compare(text.trimmed(), Qt::CaseInsensitive) == 0;
    });
    if (m_settings.Targets.size() == before)
        return false;
    applyTargets();
    return true;
}

void MessagingEngine::applyTargets()
{
    m_targets.setList(m_settings.Targets);
}

MessagingEngine::SendOutcome
MessagingEngine::sendToPeer(quint64 peer, const std::function<QByteArray(const TUser &)> &compose)
{
    const auto record = [this, peer] { return m_users.findById(peer); };
    if (!record())
        return SendOutcome::Gone;
    const QByteArray destination = record()->Addr;
    return sendThrough(
        [this, &record]() -> TWSocket * {
            TUser *user = record();
            if (!user)
                return nullptr;
            if (!user->Socket) {
                user->Socket =
                    m_seams.newPeerSocket ? m_seams.newPeerSocket() : std::make_unique<TWSocket>();
                user->Socket->OnDataSent = [this](TCustomWSocket *sender, quint16 errCode) {
                    WSocketDataSent(sender, errCode);
                };
            }
            return user->Socket.get();
        },
        destination,
        [this, &record](TWSocket &s) {
            s.SetProto("udp");
            s.SetLineEcho(false);
            s.SetLineEdit(false);
            s.SetLineLimit(1024);
            s.SetLineMode(false);
            s.SetPort(m_settings.Port);
            s.SetAddr(record()->Addr);
            s.SetLocalPort("0");
            s.SetLocalAddr(m_interfaceAddr);
            s.SetSocksServer("");
            s.SetSocksPort("");
        },
        [&record, &compose] { return compose(*record()); });
}

void MessagingEngine::postQueueMessage(const QByteArray &text)
{
    post(DeferredEvent::QueueMessage, 2, 0, text);
}

void MessagingEngine::setPending(TUser &user, const QByteArray &body)
{
    m_pendingCount += int(!body.isEmpty()) - int(!user.Pending.isEmpty());
    user.Pending = body;
}

void MessagingEngine::QueueMessage(const QByteArray &text)
{
    if (m_closed)
        return;
    // The one rule for every front-end: no control character but tab and line breaks
    // reaches the wire, whatever was typed or piped.
    const QByteArray clean = TextRules::withoutControls(text);
    if (clean.isEmpty()) {
        m_windows.clearSendEdit();
        return;
    }
    const QByteArray body = Datagram::messageBody(clean);
    // The transcript shows what the peers get.
    const QByteArray sent = body.mid(4, body.size() - 5);
    // Recipients are named by identity: a window that runs the event loop while it shows a
    // line may let peers come and go.
    QList<quint64> recipients;
    for (int row : m_users.selectedRows())
        recipients.append(m_users.at(row)->Id);
    for (quint64 id : recipients) {
        TUser *user = m_users.findById(id);
        if (!user)
            continue;
        setPending(*user, body);
        const QByteArray name = user->Name;
        m_windows.AddMessage(name, sent, PeerColors::kGray, PeerColors::kBlack, true);
    }
    m_windows.clearSendEdit();
    post(DeferredEvent::SendDirect, 2, 0);
}

void MessagingEngine::SendDirect(int what, quint64 peer)
{
    if (m_closed)
        return;
    if (what == 1) {
        // From here on a new announcement needs an answer of its own.
        m_answerPending.remove(peer);
        if (!m_users.findById(peer))
            return;
        const QByteArray channel = m_activeChannel;
        const QByteArray name = m_settings.UserName;
        sendToPeer(peer, [&](const TUser &) { return Datagram::answer(channel, name); });
        return;
    }
    if (what != 2 || m_pendingCount == 0)
        return;
    TUser *next = nullptr;
    for (int row = 0; row < m_users.count() && !next; ++row) {
        if (!m_users.at(row)->Pending.isEmpty())
            next = m_users.at(row);
    }
    if (!next)
        return;
    const quint64 id = next->Id;
    const SendOutcome outcome =
        sendToPeer(id, [](const TUser &user) { return Datagram::NewPacketId() + user.Pending; });
    // A line whose socket never connected stays waiting for the next completed send.
    if (outcome == SendOutcome::GaveUp)
        return;
    // The peer went away while its socket connected: its line went with it, and no
    // completion will come to serve the lines of the others.
    if (outcome == SendOutcome::Gone) {
        post(DeferredEvent::SendDirect, 2, 0);
        return;
    }
    if (TUser *user = m_users.findById(id))
        setPending(*user, {});
}

void MessagingEngine::WSocketDataSent(TCustomWSocket *sender, quint16)
{
    if (sender->State() == wsConnected) {
        try {
            sender->Close();
        } catch (const std::exception &) {
            // The next send configures the socket afresh.
        }
    }
    post(DeferredEvent::SendDirect, 2, 0);
}

// ---------------------------------------------------------------------------------------
// Channels

void MessagingEngine::ChannelBoxSelect()
{
    if (m_closed)
        return;
    // A "|" in the channel would shift every field of our announcements.
    QByteArray text = TextRules::separatorToDash(TextRules::trimBlanks(m_channels.text()));
    if (text.isEmpty())
        text = defaultChannel();
    m_channels.setText(text);
    if (text != m_activeChannel) {
        setActiveChannel(text);
        // Chosen here: it stays in the list whatever others announce.
        m_heard.forget(text);
        if (!m_channels.contains(text))
            m_channels.append(text);
        m_windows.giveFocus(EngineWindows::Focus::UserList);
        LeaveNetwork();
        QCoreApplication::processEvents();
        post(DeferredEvent::Announce);
    }
    m_windows.giveFocus(EngineWindows::Focus::BottomPanel);
}

void MessagingEngine::selectChannelQuietly(const QByteArray &channel)
{
    QByteArray text = TextRules::separatorToDash(TextRules::trimBlanks(channel));
    if (text.isEmpty())
        text = defaultChannel();
    m_channels.setText(text);
    setActiveChannel(text);
}

bool MessagingEngine::ChannelBoxKeyDown(int key)
{
    if (key != VirtualKey::Enter)
        return false;
    ChannelBoxSelect();
    return true;
}

void MessagingEngine::DeletechannBtClick()
{
    const QByteArray fallback = defaultChannel();
    const int defaultRow = m_channels.findExact(fallback);
    if (defaultRow < 0)
        return;
    const QByteArray text = m_channels.text();
    const int row = m_channels.findExact(text);
    if (row < 0)
        return;
    if (row == defaultRow) {
        m_windows.messageBox(
            EngineWindows::Box::Information,
            TextRules::fillArgs(Cp1252::fromUnicode(tr("Channel \"%1\" cannot be deleted.")),
                                {fallback}));
        return;
    }
    if (!m_windows.messageBox(
            EngineWindows::Box::Confirmation,
            TextRules::fillArgs(
                Cp1252::fromUnicode(tr("Channel \"%1\" will be deleted, continue?")), {text})))
        return;
    m_heard.forget(m_channels.item(row));
    m_channels.removeAt(row);
    m_channels.select(m_channels.findExact(fallback));
    m_windows.giveFocus(EngineWindows::Focus::BottomPanel);
}

MessagingEngine::ChannelDeletion MessagingEngine::deleteChannel(const QByteArray &name)
{
    const int row = m_channels.findExact(name);
    if (row < 0)
        return ChannelDeletion::NotListed;
    if (row == m_channels.findExact(defaultChannel()))
        return ChannelDeletion::IsDefault;
    if (ChannelList::fold(m_channels.item(row)) == ChannelList::fold(m_activeChannel))
        return ChannelDeletion::IsActive;
    m_heard.forget(m_channels.item(row));
    m_channels.removeAt(row);
    return ChannelDeletion::Deleted;
}
