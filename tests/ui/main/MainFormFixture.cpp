#include "MainFormFixture.h"

#include "engine/Datagram.h"
#include "ui/components/TrayHost.h"

#include <QCoreApplication>
#include <QFile>
#include <QTest>

namespace {

// The offscreen platform has no notification area; this one takes icons and flies nothing.
class StandInTray final : public TrayHost
{
public:
    explicit StandInTray(const bool &available) : m_available(available) {}
    bool available() const override { return m_available; }
    void add(QSystemTrayIcon &) override {}
    void remove(QSystemTrayIcon &) override {}
    QRect iconGeometry(const QSystemTrayIcon &) const override { return {}; }
    void fly(const QRect &, const QRect &) override {}

private:
    const bool &m_available;
};

} // namespace

MainFormFixture::MainFormFixture()
{
    m_port = UdpProbe::freePort(ownAddr());
    m_settings.Path = m_home.path() + QStringLiteral("/tolvex.ini");
    m_now = QDateTime(QDate(2026, 3, 2), QTime(12, 0));
    m_broadcastProbe = std::make_unique<UdpProbe>(broadcastAddr(), m_port);
}

MainFormFixture::~MainFormFixture()
{
    m_form.reset();
    QCoreApplication::sendPostedEvents();
}

void MainFormFixture::writeSettings(const QByteArray &extra)
{
    QFile file(m_settings.Path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Tolvex]\nVersion=010001\n[Server]\nPort=" + QByteArray::number(m_port) +
               "\nInterface=" + ownAddr() + "\n[User]\nName=me\n[Channels]\nChannel0=Sales\n" +
               "Selected=Sales\nAutoAdd=1\n" + extra);
}

TMainForm &MainFormFixture::start()
{
    TMainForm::Seams seams;
    seams.engine = loopbackSeams();
    seams.engine.clock = [this] { return m_now; };
    seams.trayHost = std::make_unique<StandInTray>(m_trayAvailable);
    seams.messageBox = [this](EngineWindows::Box kind, const QByteArray &text) {
        m_boxes.append(text);
        return kind == EngineWindows::Box::Confirmation && m_confirm;
    };
    seams.runDialog = [this](QWidget &dialog) {
        m_dialogs.append(QString::fromLatin1(dialog.metaObject()->className()));
        if (m_onDialog)
            m_onDialog(dialog);
        dialog.close();
    };
    m_form = std::make_unique<TMainForm>(m_settings, std::move(seams));
    // Event 1026: the settings are read and the presence timer starts.
    QCoreApplication::sendPostedEvents(&m_form->Engine());
    return *m_form;
}

void MainFormFixture::addPeer(int i, const QByteArray &name)
{
    m_form->Engine().handleDatagram(Datagram::answer(m_form->Engine().ActiveChannel(), name),
                                    peerAddr(i));
}

QByteArray MainFormFixture::nextBroadcast(int timeoutMs)
{
    const auto datagram = m_broadcastProbe->next(timeoutMs);
    return datagram ? datagram->data.mid(7) : QByteArray("(nothing)");
}

QByteArray MainFormFixture::settingsText() const
{
    QFile file(m_settings.Path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
