#pragma once

#include <span>
#include <vector>

/// Short tones on the sound device, for the chat window's attention signal.
class Tone final
{
public:
    /// One step of a tone sequence; a frequency of 0 is a pause.
    struct Note
    {
        int frequency = 0;
        int milliseconds = 0;
    };

    /// The device a tone goes to unless another is named.
    static constexpr const char *DefaultDevice = "default";
    /// Sample rate of the generated tones.
    static constexpr unsigned SampleRate = 48000;

    /// Plays the notes one after another and returns when they have been played. Returns
    /// false at once, without a word, when the device is missing, busy or refuses the format;
    /// the device is never waited for longer than the notes last plus a short margin.
    static bool play(std::span<const Note> notes, const char *device = DefaultDevice);

    /// The samples play() sends: signed 16-bit mono at SampleRate, each tone faded in and out
    /// over a few samples so that it starts and ends without a click.
    static std::vector<short> samples(std::span<const Note> notes);
};
