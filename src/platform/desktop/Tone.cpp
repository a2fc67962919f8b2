#include "platform/desktop/Tone.h"

#include <algorithm>
#include <alsa/asoundlib.h>
#include <chrono>
#include <cmath>
#include <dlfcn.h>
#include <numbers>
#include <thread>
#include <type_traits>

namespace {

constexpr double kAmplitude = 0.3 * 32767;
constexpr int kFadeSamples = 96; // 2 ms
constexpr auto kMargin = std::chrono::milliseconds(400);

// A machine without a sound card makes the library print its failed lookups on standard
// error; here a missing device is an expected case that the caller handles.
void silentErrors(const char *, int, const char *, int, const char *, ...) {}

// The sound library, opened when the first tone plays: most runs never play one, and a
// machine without it gets the caller's fallback.
struct Alsa
{
    decltype(&::snd_pcm_open) snd_pcm_open = nullptr;
    decltype(&::snd_pcm_set_params) snd_pcm_set_params = nullptr;
    decltype(&::snd_pcm_writei) snd_pcm_writei = nullptr;
    decltype(&::snd_pcm_wait) snd_pcm_wait = nullptr;
    decltype(&::snd_pcm_recover) snd_pcm_recover = nullptr;
    decltype(&::snd_pcm_state) snd_pcm_state = nullptr;
    decltype(&::snd_pcm_start) snd_pcm_start = nullptr;
    decltype(&::snd_pcm_delay) snd_pcm_delay = nullptr;
    decltype(&::snd_pcm_drop) snd_pcm_drop = nullptr;
    decltype(&::snd_pcm_close) snd_pcm_close = nullptr;
    bool loaded = false;

    static const Alsa &get()
    {
        static const Alsa alsa = load();
        return alsa;
    }

private:
    static Alsa load()
    {
        Alsa a;
        // Kept open for the rest of the run, as a linked library would be.
        void *lib = ::dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!lib)
            return a;
        bool all = true;
        const auto find = [&](auto &call, const char *name) {
            call = reinterpret_cast<std::remove_reference_t<decltype(call)>>(::dlsym(lib, name));
            all = all && call;
        };
        find(a.snd_pcm_open, "snd_pcm_open");
        find(a.snd_pcm_set_params, "snd_pcm_set_params");
        find(a.snd_pcm_writei, "snd_pcm_writei");
        find(a.snd_pcm_wait, "snd_pcm_wait");
        find(a.snd_pcm_recover, "snd_pcm_recover");
        find(a.snd_pcm_state, "snd_pcm_state");
        find(a.snd_pcm_start, "snd_pcm_start");
        find(a.snd_pcm_delay, "snd_pcm_delay");
        find(a.snd_pcm_drop, "snd_pcm_drop");
        find(a.snd_pcm_close, "snd_pcm_close");
        decltype(&::snd_lib_error_set_handler) quiet = nullptr;
        find(quiet, "snd_lib_error_set_handler");
        if (all)
            quiet(silentErrors);
        a.loaded = all;
        return a;
    }
};

} // namespace

std::vector<short> Tone::samples(std::span<const Note> notes)
{
    std::vector<short> out;
    for (const Note &note : notes) {
        const std::size_t count =
            note.milliseconds > 0 ? std::size_t(note.milliseconds) * SampleRate / 1000 : 0;
        const std::size_t first = out.size();
        out.resize(first + count, 0);
        if (note.frequency <= 0)
            continue;
        const double step = 2 * std::numbers::pi * note.frequency / SampleRate;
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t edge = std::min(i, count - 1 - i);
            const double fade = edge < kFadeSamples ? double(edge) / kFadeSamples : 1.0;
            out[first + i] = short(std::lround(kAmplitude * fade * std::sin(step * double(i))));
        }
    }
    return out;
}

bool Tone::play(std::span<const Note> notes, const char *device)
{
    const std::vector<short> pcmData = samples(notes);
    if (pcmData.empty())
        return true;
    const Alsa &alsa = Alsa::get();
    if (!alsa.loaded)
        return false;
    const auto duration = std::chrono::milliseconds(pcmData.size() * 1000 / SampleRate);
    const auto deadline = std::chrono::steady_clock::now() + duration + kMargin;

    snd_pcm_t *pcm = nullptr;
    // Non-blocking, so that a device another program holds fails at once instead of waiting.
    if (alsa.snd_pcm_open(&pcm, device, SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return false;
    bool played = alsa.snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                                          SampleRate, 1, 200000) >= 0;
    std::size_t written = 0;
    while (played && written < pcmData.size()) {
        const snd_pcm_sframes_t n =
            alsa.snd_pcm_writei(pcm, pcmData.data() + written, pcmData.size() - written);
        if (n >= 0) {
            written += std::size_t(n);
        } else if (n == -EAGAIN) {
            if (std::chrono::steady_clock::now() > deadline)
                played = false;
            else
                alsa.snd_pcm_wait(pcm, 10);
        } else if (alsa.snd_pcm_recover(pcm, int(n), 1) < 0) {
            played = false;
        }
    }
    // The whole sequence may be shorter than the start threshold.
    if (played && alsa.snd_pcm_state(pcm) == SND_PCM_STATE_PREPARED)
        played = alsa.snd_pcm_start(pcm) >= 0;
    // Wait for the device to play what it holds; a device that stalls is given up on.
    while (played && alsa.snd_pcm_state(pcm) == SND_PCM_STATE_RUNNING &&
           std::chrono::steady_clock::now() < deadline) {
        snd_pcm_sframes_t delay = 0;
        if (alsa.snd_pcm_delay(pcm, &delay) < 0 || delay <= 0)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    alsa.snd_pcm_drop(pcm);
    alsa.snd_pcm_close(pcm);
    return played;
}
