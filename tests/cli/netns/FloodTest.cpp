// A flood of forged and broken datagrams against a copy on a sandbox LAN: the copy's event
// loop must keep its timers, its memory must stay bounded, and its real peers must stay
// listed and keep talking. The figures are printed for the record; only the outcomes are
// checked.
#include "CliCopy.h"
#include "RecordingWindows.h"
#include "app/Support.h"
#include "common/EventWait.h"
#include "common/ForgedUdp.h"
#include "common/Netns.h"
#include "common/TestEnv.h"
#include "engine/MessagingEngine.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cstdio>
#include <gtest/gtest.h>
#include <mutex>
#include <netinet/ip.h>
#include <netinet/udp.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr quint16 kPort = 5040;
constexpr int kDatagrams = 200000;
constexpr int kSources = 5000;
constexpr int kLagTickMs = 5;

/// A copy on its own thread in a sandbox host, with a timer that records how late each of
/// its ticks comes.
class MeasuredCopy final : public QThread
{
public:
    MeasuredCopy(const QByteArray &ns, const QByteArray &name) : m_ns(ns), m_name(name)
    {
        start();
        while (!m_ready && isRunning())
            QThread::msleep(2);
    }
    ~MeasuredCopy() override
    {
        quit();
        wait();
    }

    void call(const std::function<void(MessagingEngine &, RecordingWindows &)> &fn)
    {
        QMetaObject::invokeMethod(
            m_engine, [this, &fn] { fn(*m_engine, *m_windows); }, Qt::BlockingQueuedConnection);
    }
    /// How many ticks the timer has recorded since the last takeLags().
    size_t lagCount()
    {
        std::lock_guard lock(m_mutex);
        return m_lags.size();
    }
    /// Lateness of the timer's ticks (microseconds) since the last call.
    std::vector<qint64> takeLags()
    {
        std::lock_guard lock(m_mutex);
        return std::exchange(m_lags, {});
    }

protected:
    void run() override
    {
        testnet::NetnsScope scope(m_ns);
        RecordingWindows windows;
        SettingsValues settings;
        settings.Port = QByteArray::number(kPort);
        settings.UserName = m_name;
        settings.AutoAdd = true;
        MessagingEngine engine(windows, settings);
        engine.selectChannelQuietly("Lab");
        engine.startAliveTimer();
        engine.AliveTimerTimer();
        engine.AliveTimer().stop();
        QTimer lagTimer;
        lagTimer.setTimerType(Qt::PreciseTimer);
        QElapsedTimer since;
        since.start();
        QObject::connect(&lagTimer, &QTimer::timeout, [&] {
            const qint64 late = since.nsecsElapsed() / 1000 - kLagTickMs * 1000;
            since.restart();
            std::lock_guard lock(m_mutex);
            m_lags.push_back(std::max<qint64>(0, late));
        });
        lagTimer.start(kLagTickMs);
        m_engine = &engine;
        m_windows = &windows;
        m_ready = true;
        exec();
    }

private:
    QByteArray m_ns;
    QByteArray m_name;
    MessagingEngine *m_engine = nullptr;
    RecordingWindows *m_windows = nullptr;
    std::atomic<bool> m_ready{false};
    std::mutex m_mutex;
    std::vector<qint64> m_lags;
};

qint64 percentile(std::vector<qint64> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size())))];
}

/// The mix of the flood, by number.
QByteArray floodPayload(int i)
{
    const QByteArray id = QByteArray::number(0x100000 + (i & 0xEFFFF), 16).toUpper().right(6);
    switch (i % 8) {
    case 0:
    case 1:
        return id + "|ALV|Lab|";
    case 2:
    case 3:
    case 4:
        return id + "|ACK|BCT|chan" + QByteArray::number(i % 997) + "|n" +
               QByteArray::number(i % kSources) + "|";
    case 5:
        return id + "|MSG|who is this?|";
    case 6:
        // Larger than any datagram the copy reads, or no datagram at all.
        if (i % 16 < 8)
            return QByteArray(1400, 'o');
        return QByteArray("\x01|||\xFF") + QByteArray::number(i);
    default:
        // Forged newcomers on the copy's own channel: they are listed and answered.
        return id + "|ACK|BCT|Lab|ghost" + QByteArray::number(i % kSources) + "|";
    }
}

TEST(Flood, RealPeersStayListedAndTalkingThroughAFloodOfForgedDatagrams)
{
    TOLVEX_REQUIRE_NETNS();
    testnet::NetLab lab;
    lab.addFlatLan(3);
    MeasuredCopy ann(lab.nsName("1"), "ann");
    CliCopy bob(lab, "2", {"--name", "bob", "--channel", "Lab"});
    const auto annNames = [&ann] {
        QList<QByteArray> names;
        ann.call([&](MessagingEngine &engine, RecordingWindows &) {
            for (int row = 0; row < engine.users().count(); ++row)
                names.append(engine.users().at(row)->Name);
        });
        return names;
    };
    ASSERT_TRUE(testwait::waitFor([&] { return annNames() == QList<QByteArray>{"bob"}; }, 8000));
    ASSERT_TRUE(bob.waitForUsers({"ann"}, 2000));

    // A second's worth of the quiet loop's ticks, counted rather than timed.
    ann.takeLags();
    ASSERT_TRUE(testwait::waitFor([&] { return ann.lagCount() >= 1000 / kLagTickMs; }));
    const std::vector<qint64> quietLags = ann.takeLags();
    const qint64 rssBefore = testnet::statusKb(0, "VmRSS:");

    // The flood, from host 3, as fast as the sandbox takes it.
    std::atomic<int> sent{0};
    QElapsedTimer flooding;
    flooding.start();
    std::thread flooder([&] {
        testnet::NetnsScope scope(lab.nsName("3"));
        const int fd = ::socket(AF_INET, SOCK_RAW, IPPROTO_RAW);
        if (fd < 0)
            return;
        sockaddr_in to{};
        to.sin_family = AF_INET;
        ::inet_pton(AF_INET, "10.77.0.1", &to.sin_addr);
        for (int i = 0; i < kDatagrams; ++i) {
            const int k = i % kSources;
            const quint32 src = htonl((10u << 24) | (77u << 16) | (quint32(1 + k / 250) << 8) |
                                      quint32(k % 250 + 1));
            const QByteArray packet =
                testnet::forgedUdp(src, 40000, to.sin_addr.s_addr, kPort, floodPayload(i));
            while (::sendto(fd, packet.constData(), size_t(packet.size()), 0,
                            reinterpret_cast<const sockaddr *>(&to), sizeof to) < 0 &&
                   errno == ENOBUFS)
                std::this_thread::yield();
            ++sent;
        }
        ::close(fd);
    });
    // The copy's own presence tick runs in the middle of it.
    EXPECT_TRUE(testwait::waitFor([&] { return sent.load() > kDatagrams / 2; }, 30000));
    ann.call([](MessagingEngine &engine, RecordingWindows &) { engine.AliveTimerTimer(); });
    flooder.join();
    const qint64 floodMs = flooding.elapsed();

    // Afterwards the real peers still know each other and talk. bob's line comes after the
    // whole flood on the way into ann's socket: once it is shown, the backlog is handled.
    // While ann still works through the backlog her receive buffer may be full, and the
    // kernel drops what comes then, so bob says it again each second until she shows it.
    bob.send("/all");
    bool delivered = false;
    QElapsedTimer sinceSent;
    EXPECT_TRUE(testwait::waitFor([&] {
        if (!sinceSent.isValid() || sinceSent.elapsed() > 1000) {
            bob.send("after the flood");
            sinceSent.start();
        }
        ann.call([&](MessagingEngine &, RecordingWindows &windows) {
            for (const auto &entry : windows.transcript)
                delivered = delivered || entry.text == "after the flood";
        });
        return delivered;
    }));
    const std::vector<qint64> floodLags = ann.takeLags();
    const qint64 peakKb = testnet::statusKb(0, "VmHWM:");
    int channels = 0;
    ann.call([&](MessagingEngine &engine, RecordingWindows &) {
        channels = engine.ChannelBox().count();
    });
    const QList<QByteArray> listed = annNames();
    EXPECT_TRUE(listed.contains("bob"));
    EXPECT_LE(listed.size(), MessagingEngine::kDefaultUserLimit);
    ann.call([](MessagingEngine &engine, RecordingWindows &) {
        for (int row = 0; row < engine.users().count(); ++row) {
            if (engine.users().at(row)->Name == "bob")
                engine.users().selectOnly(row);
        }
        engine.QueueMessage("still here");
    });
    EXPECT_TRUE(bob.waitFor([&] { return bob.count("ann> still here") == 1; }, 3000));
    EXPECT_LE(channels, MessagingEngine::kMaxHeardChannels);
    EXPECT_EQ(sent.load(), kDatagrams);

    std::printf("flood: %d datagrams in %lld ms (%lld/s) from %d sources\n", kDatagrams,
                static_cast<long long>(floodMs),
                static_cast<long long>(floodMs > 0 ? kDatagrams * 1000LL / floodMs : 0), kSources);
    std::printf("event-loop lag of a %d ms timer, p99/max: quiet %lld/%lld us, flood %lld/%lld "
                "us (%zu ticks)\n",
                kLagTickMs, static_cast<long long>(percentile(quietLags, 0.99)),
                static_cast<long long>(percentile(quietLags, 1.0)),
                static_cast<long long>(percentile(floodLags, 0.99)),
                static_cast<long long>(percentile(floodLags, 1.0)), floodLags.size());
    std::printf("memory: resident %lld kB before, peak %lld kB; %lld peers and %d heard "
                "channels listed\n",
                static_cast<long long>(rssBefore), static_cast<long long>(peakKb),
                static_cast<long long>(listed.size()), channels);
    RecordProperty("lag_p99_us", int(percentile(floodLags, 0.99)));
    RecordProperty("peak_kb", int(peakKb));
}

} // namespace
