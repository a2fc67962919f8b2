#include "platform/desktop/Tone.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr Tone::Note kAttention[] = {{2000, 30}, {0, 20}, {1500, 30}};

int samplesOf(int ms)
{
    return int(Tone::SampleRate) * ms / 1000;
}

// Sign changes of a stretch of samples: twice the frequency times the duration.
int zeroCrossings(const std::vector<short> &s, int from, int count)
{
    int crossings = 0;
    for (int i = from + 1; i < from + count; ++i) {
        if ((s[std::size_t(i - 1)] < 0) != (s[std::size_t(i)] < 0))
            ++crossings;
    }
    return crossings;
}

TEST(Tone, SamplesHoldTwoTonesWithASilentPause)
{
    const std::vector<short> s = Tone::samples(kAttention);
    const int tone = samplesOf(30);
    const int pause = samplesOf(20);
    ASSERT_EQ(int(s.size()), 2 * tone + pause);
    EXPECT_NEAR(zeroCrossings(s, 0, tone), 2 * 2000 * 30 / 1000, 2);
    EXPECT_NEAR(zeroCrossings(s, tone + pause, tone), 2 * 1500 * 30 / 1000, 2);
    for (int i = tone; i < tone + pause; ++i)
        ASSERT_EQ(s[std::size_t(i)], 0) << i;
    // Faded at both ends, so the speaker does not click.
    EXPECT_EQ(s.front(), 0);
    EXPECT_LE(std::abs(int(s[std::size_t(tone - 1)])), 1);
    int peak = 0;
    for (const short v : s)
        peak = std::max(peak, std::abs(int(v)));
    EXPECT_GT(peak, 5000);
    EXPECT_LT(peak, 32767);
}

TEST(Tone, MissingDeviceFailsAtOnce)
{
    EXPECT_FALSE(Tone::play(kAttention, "hw:CARD=NoSuchCard,DEV=0"));
    EXPECT_FALSE(Tone::play(kAttention, "no-such-device"));
}

TEST(Tone, NullDevicePlaysThrough)
{
    // ALSA's null device takes the samples and plays nothing.
    EXPECT_TRUE(Tone::play(kAttention, "null"));
    EXPECT_TRUE(Tone::play({}, "null"));
}

} // namespace
