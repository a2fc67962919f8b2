#include "EngineFixture.h"

#include "engine/Datagram.h"

#include <QCoreApplication>
#include <QItemSelectionModel>

EngineFixture::EngineFixture()
{
    m_port = UdpProbe::freePort(ownAddr());
    m_settings.Path = m_dir.filePath(QStringLiteral("tolvex.ini"));
    m_settings.Port = QByteArray::number(m_port);
    m_settings.Interface = ownAddr();
    m_settings.UserName = "me";
    m_settings.AutoAdd = true;
    m_now = QDateTime(QDate(2026, 3, 2), QTime(12, 0));
    m_broadcastProbe = std::make_unique<UdpProbe>(broadcastAddr(), m_port);

    EngineSeams seams = loopbackSeams();
    seams.clock = [this] { return m_now; };
    seams.newPeerSocket = [this] {
        return m_newPeerSocket ? m_newPeerSocket() : std::make_unique<TWSocket>();
    };
    m_engine = std::make_unique<MessagingEngine>(m_windows, m_settings, seams);
    m_engine->selectChannelQuietly("Sales");
}

EngineFixture::~EngineFixture()
{
    m_engine.reset();
    // Deferred events of the engine die with it; socket notifications with their sockets.
    QCoreApplication::sendPostedEvents();
}

QByteArray EngineFixture::peerAddr(int i)
{
    return loopbackHost(10 + i);
}

UdpProbe &EngineFixture::peer(int i)
{
    auto &probe = m_peers[i];
    if (!probe)
        probe = std::make_unique<UdpProbe>(peerAddr(i), m_port);
    return *probe;
}

void EngineFixture::hear(const QByteArray &fromAddr, const QByteArray &datagram)
{
    m_engine->handleDatagram(datagram, fromAddr);
}

void EngineFixture::addPeer(int i, const QByteArray &name)
{
    peer(i);
    hearFromPeer(i, Datagram::answer("Sales", name));
}

QList<QByteArray> EngineFixture::names() const
{
    QList<QByteArray> result;
    const UserList &users = m_engine->users();
    for (int row = 0; row < users.count(); ++row)
        result.append(users.at(row)->Name);
    return result;
}

QList<QByteArray> EngineFixture::broadcasts()
{
    QList<QByteArray> result;
    for (const ProbeDatagram &d : m_broadcastProbe->untilMarker())
        result.append(d.data);
    return result;
}

QList<QByteArray> EngineFixture::sentToPeer(int i)
{
    QList<QByteArray> result;
    for (const ProbeDatagram &d : peer(i).untilMarker())
        result.append(d.data);
    return result;
}

QByteArray withoutId(const QByteArray &datagram)
{
    return datagram.mid(7);
}

EngineSeams loopbackSeams()
{
    EngineSeams seams;
    seams.clock = [] { return QDateTime::currentDateTime(); };
    seams.LocalIPList = [] { return QByteArrayList{"127.0.0.1", loopbackHost(2)}; };
    seams.networkConnected = [] { return true; };
    // Nothing leaves loopback: "broadcasts" go to whatever listens on host 3.
    seams.broadcastAddr = loopbackHost(3);
    return seams;
}

ListListener::ListListener(UserList &users)
{
    const auto hear = [this] { ++m_heard; };
    QObject::connect(&users, &QAbstractItemModel::rowsAboutToBeRemoved, m_context.get(), hear);
    QObject::connect(users.selectionModel(), &QItemSelectionModel::selectionChanged,
                     m_context.get(), hear);
}
