// Saving and loading settings with long channel lists: both must stay linear in the number
// of channels (one file replacement per save, one parse per load).
#include "app/IniDocument.h"
#include "app/SettingsFile.h"
#include "app/Support.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

ChannelSettings manyChannels(int count)
{
    ChannelSettings channels;
    for (int i = 0; i < count; ++i)
        channels.channels.append("channel " + QByteArray::number(i));
    channels.text = "channel 0";
    return channels;
}

void BM_SaveSettings(benchmark::State &state)
{
    QTemporaryDir dir;
    SettingsValues values;
    values.Path = dir.filePath(QStringLiteral("tolvex.ini"));
    const ChannelSettings channels = manyChannels(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveSettings(values, channels, {}));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SaveSettings)->RangeMultiplier(10)->Range(10, 10000)->Complexity();

void BM_LoadSettings(benchmark::State &state)
{
    QTemporaryDir dir;
    SettingsValues values;
    values.Path = dir.filePath(QStringLiteral("tolvex.ini"));
    SaveSettings(values, manyChannels(static_cast<int>(state.range(0))), {});
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadSettings(values).channels.channels.size());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadSettings)->RangeMultiplier(10)->Range(10, 10000)->Complexity();

void BM_ParseLargeSection(benchmark::State &state)
{
    QByteArray text = "[Channels]\n";
    for (int i = 0; i < state.range(0); ++i)
        text += "Channel" + QByteArray::number(i) + "=channel " + QByteArray::number(i) + '\n';
    for (auto _ : state)
        benchmark::DoNotOptimize(IniDocument::parse(text).keyNames("Channels").size());
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_ParseLargeSection)->Arg(100000);

} // namespace

BENCHMARK_MAIN();
