#pragma once

#include "RecordingWindows.h"
#include "app/Support.h"
#include "common/UdpProbe.h"
#include "engine/MessagingEngine.h"
#include "net/WSocket.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <memory>

/// An engine on loopback host 2 whose broadcasts go to a probe on host 3 and whose peers
/// are probes on hosts 11 and up, all on one free port; its clock moves only when told.
class EngineFixture : public ::testing::Test
{
protected:
    static QByteArray ownAddr() { return loopbackHost(2); }
    static QByteArray broadcastAddr() { return loopbackHost(3); }

    EngineFixture();
    ~EngineFixture() override;

    /// Address of peer i (loopback host 10 + i).
    static QByteArray peerAddr(int i);
    /// The probe standing for peer i, bound at its address and the common port.
    UdpProbe &peer(int i);
    /// Hands a datagram from an address to the receive handler.
    void hear(const QByteArray &fromAddr, const QByteArray &datagram);
    void hearFromPeer(int i, const QByteArray &datagram) { hear(peerAddr(i), datagram); }
    /// Registers peer i under a name, as its answer would ("ACK|DCT|").
    void addPeer(int i, const QByteArray &name);
    void advance(qint64 ms) { m_now = m_now.addMSecs(ms); }
    /// Runs the event loop until it has nothing left to do: deferred events, socket
    /// notifications, and whatever they start in turn.
    static void settle() { EXPECT_TRUE(testwait::drainEvents()); }
    /// Names in list order.
    QList<QByteArray> names() const;
    /// Datagrams that reached the broadcast probe once the engine has nothing left to do.
    QList<QByteArray> broadcasts();
    /// Datagrams that reached peer i once the engine has nothing left to do.
    QList<QByteArray> sentToPeer(int i);

    QTemporaryDir m_dir;
    quint16 m_port = 0;
    SettingsValues m_settings;
    QDateTime m_now;
    RecordingWindows m_windows;
    std::unique_ptr<UdpProbe> m_broadcastProbe;
    std::map<int, std::unique_ptr<UdpProbe>> m_peers;
    /// Makes the sockets of new peers when set.
    std::function<std::unique_ptr<TWSocket>()> m_newPeerSocket;
    std::unique_ptr<MessagingEngine> m_engine;
};

/// Seams that keep an engine on loopback host 2, with its broadcasts going to host 3: the
/// host's addresses, a network connection and the system's clock (tests that move the clock
/// replace it).
EngineSeams loopbackSeams();

/// The part of a datagram after its packet identifier and separator.
QByteArray withoutId(const QByteArray &datagram);

/// Another listener of a user list, as a second front-end would be: counts the rows going
/// and the selection changes it hears, and can be ended before the list.
class ListListener
{
public:
    explicit ListListener(UserList &users);
    int heard() const { return m_heard; }
    void end() { m_context.reset(); }

private:
    int m_heard = 0;
    std::unique_ptr<QObject> m_context = std::make_unique<QObject>();
};
