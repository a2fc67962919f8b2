// The transcript has no size limit, so appending must not slow down as it grows: 10 000
// entries into a shown chat window (each followed by the event processing that paints it),
// the last 1 000 against the first 1 000; and 100 000 entries: memory and the RTF export.
#include "platform/AtomicFile.h"
#include "ui/chat/ChatForm.h"
#include "ui/chat/ChatHost.h"
#include "ui/chat/RtfWriter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>
#include <QWidget>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>
#include <fstream>
#include <numeric>
#include <unistd.h>
#include <vector>

namespace {

class BenchHost final : public ChatHost
{
public:
    QWidget *FollowingWindow() override { return &main; }
    void QueueLine(const QByteArray &) override {}
    void HideTaskbarButton() override {}
    QWidget main;
};

// CPU time of this thread: the machine may be shared, and waiting for it is not the
// transcript's cost.
qint64 threadCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// Resident memory of the process in MiB.
double residentMiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void addEntry(TChatForm &chat, int i)
{
    const QByteArray text = "message number " + QByteArray::number(i) +
                            ", a line of ordinary length with a few words in it";
    chat.AddMessage(i % 2 ? "Alice" : "Bob", i % 7 ? text : text + "\r\nsecond line",
                    i % 2 ? 0x000000FF : 0x00808080, 0, i % 2 == 0);
}

void BM_AddMessageShown(benchmark::State &state)
{
    const int count = int(state.range(0));
    const int slice = count / 10;
    for (auto _ : state) {
        BenchHost host;
        host.main.show();
        TChatForm chat(host);
        chat.OpenBeside(host.main);
        // A second, fresh window takes its first thousand entries in turn with the last
        // thousand of the long one, so that both are timed under the same load.
        BenchHost freshHost;
        freshHost.main.move(0, 400);
        freshHost.main.show();
        TChatForm fresh(freshHost);
        fresh.OpenBeside(freshHost.main);
        QCoreApplication::processEvents();
        QElapsedTimer total;
        total.start();
        const qint64 cpuStart = threadCpuNs();
        std::vector<qint64> wall(static_cast<std::size_t>(count), 0);
        std::vector<qint64> cpu(static_cast<std::size_t>(count), 0);
        std::vector<qint64> freshCpu;
        const auto timed = [&total](TChatForm &window, int i, qint64 &wallNs, qint64 &cpuNs) {
            const qint64 w0 = total.nsecsElapsed();
            const qint64 c0 = threadCpuNs();
            addEntry(window, i);
            QCoreApplication::processEvents();
            wallNs = total.nsecsElapsed() - w0;
            cpuNs = threadCpuNs() - c0;
        };
        for (int i = 0; i < count; ++i) {
            timed(chat, i, wall[std::size_t(i)], cpu[std::size_t(i)]);
            if (i >= count - slice) {
                qint64 w = 0;
                qint64 c = 0;
                timed(fresh, i, w, c);
                freshCpu.push_back(c);
            }
        }
        const qint64 all = total.nsecsElapsed();
        const auto sum = [](const std::vector<qint64> &v, std::size_t from, std::size_t n) {
            return std::accumulate(v.begin() + long(from), v.begin() + long(from + n), qint64(0));
        };
        const std::size_t n = std::size_t(slice);
        const std::size_t lastFrom = std::size_t(count - slice);
        state.SetIterationTime(double(all) / 1e9);
        state.counters["total_ms"] = double(all) / 1e6;
        state.counters["total_cpu_ms"] = double(threadCpuNs() - cpuStart) / 1e6;
        state.counters["first_ms"] = double(sum(wall, 0, n)) / 1e6;
        state.counters["last_ms"] = double(sum(wall, lastFrom, n)) / 1e6;
        state.counters["last_over_first"] =
            double(sum(wall, lastFrom, n)) / double(sum(wall, 0, n));
        state.counters["first_cpu_ms"] = double(sum(cpu, 0, n)) / 1e6;
        state.counters["last_cpu_ms"] = double(sum(cpu, lastFrom, n)) / 1e6;
        state.counters["cpu_last_over_first"] =
            double(sum(cpu, lastFrom, n)) / double(sum(cpu, 0, n));
        state.counters["fresh_cpu_ms"] = double(sum(freshCpu, 0, n)) / 1e6;
        state.counters["cpu_last_over_fresh"] =
            double(sum(cpu, lastFrom, n)) / double(sum(freshCpu, 0, n));
    }
}
BENCHMARK(BM_AddMessageShown)
    ->Arg(10000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_HundredThousandEntriesAndRtf(benchmark::State &state)
{
    const int count = int(state.range(0));
    QTemporaryDir dir;
    for (auto _ : state) {
        BenchHost host;
        host.main.show();
        TChatForm chat(host);
        chat.OpenBeside(host.main);
        QCoreApplication::processEvents();
        const double before = residentMiB();
        QElapsedTimer adding;
        adding.start();
        for (int i = 0; i < count; ++i)
            addEntry(chat, i);
        QCoreApplication::processEvents();
        const qint64 addNs = adding.nsecsElapsed();
        const double after = residentMiB();

        QElapsedTimer saving;
        saving.start();
        const QByteArray rtf = RtfWriter::write(*chat.Memo()->document());
        const bool written = AtomicFile::write(dir.filePath(QStringLiteral("t.rtf")), rtf);
        const qint64 saveNs = saving.nsecsElapsed();
        if (!written)
            state.SkipWithError("the RTF file could not be written");
        state.SetIterationTime(double(saveNs) / 1e9);
        state.counters["add_ms"] = double(addNs) / 1e6;
        state.counters["rss_before_MiB"] = before;
        state.counters["rss_after_MiB"] = after;
        state.counters["save_ms"] = double(saveNs) / 1e6;
        state.counters["rtf_MiB"] = double(rtf.size()) / (1024.0 * 1024.0);
    }
}
BENCHMARK(BM_HundredThousandEntriesAndRtf)
    ->Arg(100000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
