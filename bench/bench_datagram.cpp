// Cutting received datagrams: the first step of every datagram a copy receives.
#include "engine/Datagram.h"

#include <benchmark/benchmark.h>

static void CutAnnouncement(benchmark::State &state)
{
    const QByteArray datagram = "0A3F9C|ACK|BCT|Sales|ann|";
    for (auto _ : state) {
        auto parts = Datagram::cut(datagram);
        benchmark::DoNotOptimize(parts);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(CutAnnouncement);

static void CutKeepAlive(benchmark::State &state)
{
    const QByteArray datagram = "0A3F9C|ALV|Sales|";
    for (auto _ : state) {
        auto parts = Datagram::cut(datagram);
        benchmark::DoNotOptimize(parts);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(CutKeepAlive);

static void ComposeAnnouncement(benchmark::State &state)
{
    const QByteArray channel = "Sales", user = "ann";
    for (auto _ : state) {
        auto datagram = Datagram::announcement(channel, user);
        benchmark::DoNotOptimize(datagram);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ComposeAnnouncement);

BENCHMARK_MAIN();
