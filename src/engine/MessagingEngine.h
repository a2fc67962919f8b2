#pragma once

#include "engine/ChannelList.h"
#include "engine/DeferredEvent.h"
#include "engine/EngineWindows.h"
#include "engine/HeardChannels.h"
#include "engine/PresenceTargets.h"
#include "engine/UserList.h"
#include "engine/VirtualKey.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class TCustomWSocket;
class TWSocket;
struct ChannelSettings;
struct SettingsValues;

/// What the engine asks of the world besides its sockets; tests and the sandbox replace
/// these to move the clock, fake the host's addresses or keep broadcasts on loopback.
struct EngineSeams
{
    /// The current moment (LastSeen, expiry); differences are taken between moments, so
    /// the time zone the values carry does not matter.
    std::function<QDateTime()> clock;
    /// The host's IPv4 addresses as dotted text, loopback included.
    std::function<QByteArrayList()> LocalIPList;
    /// Whether the system has a network connection at all.
    std::function<bool()> networkConnected;
    /// Destination of announcements, keep-alives and leave notices.
    QByteArray broadcastAddr = "255.255.255.255";
    /// Makes the own socket of a new peer; when empty, a plain TWSocket.
    std::function<std::unique_ptr<TWSocket>()> newPeerSocket;
    /// The index of the device holding an address (dotted), 0 when none or unknown; the
    /// receiver is opened again when it changes.
    std::function<int(const QByteArray &)> interfaceIndexOf;
    /// The IPv4 address (dotted) of a network device named by the user: nullopt when no
    /// such device exists, an empty text when it has no IPv4 address.
    std::function<std::optional<QByteArray>(const QByteArray &)> deviceAddr;

    /// The system's clock, addresses and connection state; broadcasts to everybody.
    static EngineSeams system();
};

/// The messaging engine: the peer registry, the presence cycle, inbound and outbound
/// datagrams and the channels, on the thread that creates it. Handlers keep the names the
/// main window gives them; the windows take part only through EngineWindows. Work found
/// inside a handler is posted to the engine as a DeferredEvent (1025 to 1030).
class MessagingEngine final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MessagingEngine)

public:
    /// "Error: " in the user's language, as the error boxes begin, in network bytes.
    static QByteArray errorPrefix();
    /// Peers are dropped when more whole seconds than this have passed since their last
    /// datagram.
    static constexpr qint64 kSilenceLimitSeconds = 75;
    static constexpr int kFirstTickMs = 3000;
    static constexpr int kLogonFirstTickMs = 30000;
    static constexpr int kTickMs = 30000;
    static constexpr int kMaxHeardChannels = HeardChannels::kMaxChannels;
    static constexpr int kMaxHeardChannelsPerSource = HeardChannels::kMaxPerSource;
    /// Peers listed at most: a sender address is not checked, so forged announcements could
    /// otherwise grow the registry without limit. A LAN of thousands fits well below it;
    /// once it is reached, newcomers wait until a listed peer leaves or expires.
    static constexpr int kDefaultUserLimit = 16384;
    /// Expiry that drops more peers than this at once gives the freed memory back.
    static constexpr int kReleaseMemoryAfter = 1024;

    /// settings is the set of values this engine uses; the caller owns it.
    MessagingEngine(EngineWindows &windows, SettingsValues &settings,
                    EngineSeams seams = EngineSeams::system(), QObject *parent = nullptr);
    ~MessagingEngine() override;

    // ---- state shared with the windows ----
    UserList &users() { return m_users; }
    ChannelList &ChannelBox() { return m_channels; }
    SettingsValues &Settings() { return m_settings; }
    const QByteArray &ActiveChannel() const { return m_activeChannel; }
    /// Own addresses without 127.0.0.1, filled by OpenReceiver.
    const QByteArrayList &LocalAddresses() const { return m_localAddresses; }
    bool AppActive() const { return m_appActive; }
    /// The settings file locks the configuration dialog.
    bool configurationLocked() const { return m_configurationLocked; }
    QTimer &AliveTimer() { return m_aliveTimer; }
    int aliveTimerTag() const { return m_aliveTimerTag; }
    TWSocket &WSocketRecv() { return *m_wsocketRecv; }
    TWSocket &WSocketBcast() { return *m_wsocketBcast; }

    // ---- start-up and shutdown ----
    /// The engine's share of FormCreate: the first tick's delay, then event 1026.
    void FormCreate(bool startedAtLogon);
    /// Event 1026 without the settings file: marks the first tick and starts the timer.
    void startAliveTimer();
    /// Timer off, receiver closed, LeaveNetwork, SaveSettings. From then on the engine sends
    /// nothing, and deferred events still queued do nothing.
    void FormClose();
    /// FormClose has run.
    bool isClosed() const { return m_closed; }
    /// Adjusts a copy of what SaveSettings writes (a front-end whose run-only choices must
    /// not reach the file); the values in use stay as they are.
    void setSaveFilter(std::function<void(SettingsValues &, ChannelSettings &)> filter)
    {
        m_saveFilter = std::move(filter);
    }
    /// The main window's RestoreBtClick: event 1025 raises it.
    void postRestore() { post(DeferredEvent::Restore); }
    void AppOnActivate() { m_appActive = true; }
    void AppOnDeactivate() { m_appActive = false; }

    // ---- inbound ----
    /// OnDataAvailable of WSocketRecv: reads one datagram and handles it.
    void WSocketRecvDataAvailable(TCustomWSocket *sender, quint16 errCode);
    /// Error events of the two engine sockets: taken and dropped, since a failed broadcast
    /// is retried by the next one and a closed receiver by the next announcement.
    void WSocketRecvError(TCustomWSocket *) {}
    void WSocketBcastError(TCustomWSocket *) {}
    /// The receive handler's work on one datagram from a sender address.
    void handleDatagram(const QByteArray &datagram, const QByteArray &senderAddr);
    /// At most this many peers are listed (kDefaultUserLimit unless changed).
    int userLimit() const { return m_userLimit; }
    void setUserLimit(int limit) { m_userLimit = limit; }

    // ---- presence ----
    void AliveTimerTimer();
    void OpenReceiver(bool report);
    /// Event 1027.
    void Announce();
    void LeaveNetwork();
    void ReloadListClick();
    /// The configuration dialog's close: timer off, receiver closed, LeaveNetwork. The copy
    /// stays off line until resumeOnline.
    void goOffline();
    /// After the configuration dialog: the receiver reopened with the new values (a missing
    /// address reported), the timer at its 30-second pace, and an announcement at once.
    void resumeOnline();
    /// Looks whether the configured interface's address is on some device of this computer
    /// and raises interfacePresenceChanged when that changed; once it is back, the receiver
    /// is opened again at once. Every tick looks too; a front-end may look more often.
    void checkInterface();

    // ---- outbound ----
    /// Posts event 1029 with a line prepared by TextRules::prepareChatLine.
    void postQueueMessage(const QByteArray &text);
    /// Event 1029: the line goes to every selected peer.
    void QueueMessage(const QByteArray &text);
    /// Event 1028: (1, peer identity) answers that peer; (2, 0) sends the next waiting line.
    void SendDirect(int what, quint64 peer);
    void WSocketDataSent(TCustomWSocket *sender, quint16 errCode);

    // ---- registry ----
    /// The record with that address and its row (-1 when none).
    TUser *FindUser(const QByteArray &addr, int *row = nullptr) const;
    TUser *AddUser(const QByteArray &addr, const QByteArray &name, const QByteArray &packetId);
    void RemoveUser(int row);
    void RemoveAllUsers();

    // ---- channels ----
    /// Makes the channel box's text the active channel.
    void ChannelBoxSelect();
    /// Returns true when the key was taken (Enter).
    bool ChannelBoxKeyDown(int key);
    void ChannelBoxExit() { ChannelBoxSelect(); }
    void DeletechannBtClick();
    enum class ChannelDeletion
    {
        Deleted,
        NotListed,
        IsDefault,
        IsActive
    };
    /// Deletes a channel from the list without asking (a front-end that names it): never
    /// the default channel, nor the active one.
    ChannelDeletion deleteChannel(const QByteArray &name);
    /// Whether a listed channel was heard from others and never chosen here.
    bool isHeardChannel(const QByteArray &name) const;
    /// Makes a channel active before the engine is on line, without leaving or announcing
    /// and without adding it to the list (a front-end's start-up choice).
    void selectChannelQuietly(const QByteArray &channel);

    /// Number of peers with a line waiting.
    int pendingCount() const { return m_pendingCount; }

    // ---- other networks ----
    /// Peers outside our own subnet whose last datagram is older than this get an
    /// announcement of their own each tick while targets are set: their answer keeps them
    /// listed when their own keep-alives do not reach us.
    static constexpr qint64 kRemoteProbeSeconds = 45;
    /// The targets in use (Settings().Targets, cleaned) and what is known of them.
    PresenceTargets &targets() { return m_targets; }
    /// Adds a target to Settings().Targets; returns why it cannot be (empty on success).
    QByteArray addTarget(const QByteArray &text);
    /// Removes a target from Settings().Targets; false when it is not listed.
    bool removeTarget(const QByteArray &text);
    /// Takes Settings().Targets into use after a change made to it directly.
    void applyTargets();
    /// Datagrams handed to the sockets for presence (broadcast, targets and the
    /// announcements to remote peers) since the engine was made.
    qint64 presenceSends() const { return m_presenceSends; }

    /// The address the sockets use for the configured interface (a device name resolved to
    /// its address); empty while none is usable.
    const QByteArray &interfaceAddr() const { return m_interfaceAddr; }

signals:
    /// Event 1026 has read the settings file; the presence timer starts right after.
    void settingsLoaded();
    /// FormClose is about to write the settings file.
    void aboutToSaveSettings();
    /// The active channel changed (after loading the settings or through ChannelBoxSelect).
    void activeChannelChanged(const QByteArray &channel);
    /// The configured interface's address went away (present false) or came back.
    void interfacePresenceChanged(bool present, const QByteArray &interface);

protected:
    bool event(QEvent *event) override;

private:
    enum class SendOutcome
    {
        GaveUp,
        Gone,
        Sent,
        SendFailed
    };

    void post(DeferredEvent::Number number, int first = 0, quint64 second = 0,
              QByteArray text = {});
    void startUp();
    void LoadSettings();
    void SaveSettings();
    void setActiveChannel(const QByteArray &channel);
    /// Posts event 1028 (1, peer) unless an answer to that peer is already waiting.
    void postAnswer(quint64 peer);
    void autoAddChannel(const QByteArray &channel, const QByteArray &source);
    void expireSilentUsers();
    void closeUserSocket(TUser &user);
    /// The configured interface as an address for the sockets; an empty text with error set
    /// when it is unusable.
    QByteArray resolveInterface(QByteArray *error) const;
    /// Whether the configured port and interface allow sending at all.
    bool canSend() const;
    void checkReceiver();
    void setPending(TUser &user, const QByteArray &body);
    QDateTime now() const { return m_seams.clock(); }
    bool networkConnected() const { return m_seams.networkConnected(); }
    bool terminating() const;

    SendOutcome broadcast(const std::function<QByteArray()> &compose);
    /// One presence datagram to the broadcast address, then the same text to every target;
    /// Sent when it went out anywhere, else the broadcast's outcome.
    SendOutcome sendPresence(const std::function<QByteArray()> &compose, bool waitForEach);
    /// The configured interface's subnet broadcast (network byte order), when known.
    std::optional<quint32> ownSubnetBroadcast() const;
    /// Whether a target address is this computer's own or its own subnet's broadcast.
    bool isOwnDestination(const QByteArray &addr, std::optional<quint32> ownBroadcast) const;
    void probeRemotePeers();
    SendOutcome sendToPeer(quint64 peer, const std::function<QByteArray(const TUser &)> &compose);
    /// Sends one datagram through the socket, set up by configure for destination.
    SendOutcome sendThrough(const std::function<TWSocket *()> &socket,
                            const QByteArray &destination,
                            const std::function<void(TWSocket &)> &configure,
                            const std::function<QByteArray()> &compose);
    void waitAllDataSent();
    void waitAllDataSent(TWSocket &socket, int limitMs);

    EngineWindows &m_windows;
    SettingsValues &m_settings;
    EngineSeams m_seams;
    UserList m_users;
    ChannelList m_channels;
    TWSocket *m_wsocketRecv;
    TWSocket *m_wsocketBcast;
    /// Sends presence to the targets, one after the other.
    TWSocket *m_wsocketTargets;
    PresenceTargets m_targets;
    bool m_targetSendFailed = false;
    qint64 m_presenceSends = 0;
    QTimer m_aliveTimer;
    int m_aliveTimerTag = 0;
    QByteArrayList m_localAddresses;
    /// The same addresses as UserList::addrKey numbers, for the receive handler.
    QList<quint32> m_localKeys;
    QByteArray m_activeChannel;
    bool m_appActive = false;
    bool m_configurationLocked = false;
    quint64 m_lastUserId = 0;
    int m_pendingCount = 0;
    bool m_closed = false;
    /// An announcement went out after the last leave notice.
    bool m_announcedSinceLeave = false;
    int m_userLimit = kDefaultUserLimit;
    /// Peers with an answer (event 1028 with 1) posted and not yet handled.
    QSet<quint64> m_answerPending;
    /// Event 1030 posted and not yet handled.
    bool m_attentionPending = false;
    /// Whether the configured interface's address was on a device when last looked at.
    std::optional<bool> m_interfacePresent;
    QByteArray m_interfaceAddr;
    /// Device index that held the interface address when the receiver opened; 0 unknown.
    int m_receiverIfIndex = 0;
    QByteArray m_receiverAddr;
    std::function<void(SettingsValues &, ChannelSettings &)> m_saveFilter;
    HeardChannels m_heard{m_channels};
};
