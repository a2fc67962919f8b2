// Expiry of a registry swollen by forged announcements: 60 000 peers dropped by one
// presence tick, against dropping them row by row as the list did before. No socket is
// opened: the engine's port is invalid, so it neither listens nor sends.
#include "NullWindows.h"
#include "app/Support.h"
#include "engine/Datagram.h"
#include "engine/MessagingEngine.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimeZone>
#include <benchmark/benchmark.h>

namespace {

constexpr int kPeers = 60000;

QByteArray forgedAddr(int i)
{
    return "10." + QByteArray::number(i / 62500) + "." + QByteArray::number(i / 250 % 250) + "." +
           QByteArray::number(i % 250 + 1);
}

struct SwollenEngine
{
    SwollenEngine()
    {
        settings.Port = "0";
        settings.Interface = "10.255.0.1";
        settings.UserName = "me";
        EngineSeams seams;
        seams.clock = [this] { return now; };
        seams.LocalIPList = [] { return QByteArrayList{"127.0.0.1", "10.255.0.1"}; };
        seams.networkConnected = [] { return true; };
        engine = std::make_unique<MessagingEngine>(windows, settings, seams);
        engine->setUserLimit(kPeers);
        engine->selectChannelQuietly("Lab");
    }
    /// kPeers forged peers; every other one (when scattered) heard from again later.
    void fill(bool scattered)
    {
        for (int i = 0; i < kPeers; ++i)
            engine->handleDatagram(Datagram::answer("Lab", "u" + QByteArray::number(i)),
                                   forgedAddr(i));
        now = now.addSecs(60);
        if (scattered) {
            for (int i = 0; i < kPeers; i += 2)
                engine->handleDatagram(QByteArray::number(0x100000 + i, 16).right(6).toUpper() +
                                           "|ALV|Lab|",
                                       forgedAddr(i));
        }
        now = now.addSecs(20);
    }

    SettingsValues settings;
    NullWindows windows;
    QDateTime now = QDateTime(QDate(2026, 3, 2), QTime(12, 0), Qt::UTC);
    std::unique_ptr<MessagingEngine> engine;
};

qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// The presence tick as it is now: one pass over the list.
void BM_ExpiryByTick(benchmark::State &state)
{
    const bool scattered = state.range(0) != 0;
    qint64 filledKb = 0, afterKb = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SwollenEngine swollen;
        swollen.fill(scattered);
        filledKb = residentKb();
        state.ResumeTiming();
        swollen.engine->AliveTimerTimer();
        state.PauseTiming();
        afterKb = residentKb();
        benchmark::DoNotOptimize(swollen.engine->users().count());
        state.ResumeTiming();
    }
    state.counters["rss_filled_kB"] = double(filledKb);
    state.counters["rss_after_kB"] = double(afterKb);
}
BENCHMARK(BM_ExpiryByTick)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// The baseline: the same peers dropped one row at a time, as the tick used to.
void BM_ExpiryRowByRow(benchmark::State &state)
{
    const bool scattered = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        SwollenEngine swollen;
        swollen.fill(scattered);
        state.ResumeTiming();
        UserList &users = swollen.engine->users();
        for (int row = 0; row < users.count();) {
            if (qAbs(users.at(row)->LastSeen.msecsTo(swollen.now)) / 1000 >
                MessagingEngine::kSilenceLimitSeconds)
                swollen.engine->RemoveUser(row);
            else
                ++row;
        }
        benchmark::DoNotOptimize(users.count());
    }
}
BENCHMARK(BM_ExpiryRowByRow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
