#include "EngineHost.h"

#include "common/Netns.h"

#include <QEventLoop>
#include <QMetaObject>

EngineHost::EngineHost(const QByteArray &nsName, const QByteArray &userName,
                       const QByteArray &channel)
    : m_ns(nsName), m_userName(userName), m_channel(channel)
{
    start();
    while (!m_ready && isRunning())
        QThread::msleep(2);
}

EngineHost::~EngineHost()
{
    kill();
}

void EngineHost::run()
{
    // The thread stays in the host for its life, so every socket it opens is the host's.
    testnet::NetnsScope scope(m_ns);
    RecordingWindows windows;
    SettingsValues settings;
    settings.Port = "5040";
    settings.UserName = m_userName;
    settings.AutoAdd = true;
    EngineSeams seams = EngineSeams::system();
    seams.clock = [this] { return QDateTime::currentDateTime().addMSecs(offsetMs.load()); };
    {
        MessagingEngine engine(windows, settings, seams);
        engine.selectChannelQuietly(m_channel);
        m_engine = &engine;
        m_ready = true;
        exec();
        m_engine = nullptr;
    }
}

void EngineHost::call(const std::function<void(MessagingEngine &)> &fn)
{
    MessagingEngine *engine = m_engine.load();
    if (!engine)
        return;
    QMetaObject::invokeMethod(
        engine, [engine, &fn] { fn(*engine); }, Qt::BlockingQueuedConnection);
}

QList<QByteArray> EngineHost::names()
{
    QList<QByteArray> result;
    call([&result](MessagingEngine &engine) {
        for (int row = 0; row < engine.users().count(); ++row)
            result.append(engine.users().at(row)->Name);
    });
    return result;
}

QByteArray EngineHost::lastId(const QByteArray &name)
{
    QByteArray result;
    call([&](MessagingEngine &engine) {
        for (int row = 0; row < engine.users().count(); ++row) {
            if (engine.users().at(row)->Name == name)
                result = engine.users().at(row)->LastId;
        }
    });
    return result;
}

void EngineHost::comeOnLine()
{
    call([](MessagingEngine &engine) {
        engine.startAliveTimer();
        engine.AliveTimerTimer();
        engine.AliveTimer().stop();
    });
}

void EngineHost::tick()
{
    call([](MessagingEngine &engine) { engine.AliveTimerTimer(); });
}

void EngineHost::kill()
{
    if (!isRunning())
        return;
    requestInterruption();
    quit();
    wait();
}
