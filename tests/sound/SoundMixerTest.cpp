#include "sound/SoundMixer.h"

#include <gtest/gtest.h>

namespace
{

PcmSound Level(float value, std::size_t frames)
{
    return {std::vector<float>(2 * frames, value)};
}

std::vector<float> Mix(SoundMixer& mixer, std::size_t frames, float music = 0)
{
    std::vector<float> out(2 * frames, music);
    mixer.MixInto(out.data(), frames);
    return out;
}

} // namespace

TEST(SoundMixerTest, SumsOverlappingSoundsOverTheMusicAndClips)
{
    SoundMixer mixer;
    mixer.Add(Level(0.25F, 2));
    mixer.Add(Level(0.5F, 4));
    EXPECT_EQ(Mix(mixer, 3, 0.125F),
              (std::vector<float>{0.875F, 0.875F, 0.875F, 0.875F, 0.625F, 0.625F}));
    EXPECT_EQ(mixer.Playing(), 1U);
    EXPECT_EQ(Mix(mixer, 2, 0.75F), (std::vector<float>{1, 1, 0.75F, 0.75F}));
    EXPECT_EQ(mixer.Playing(), 0U);

    mixer.Add(Level(-0.75F, 1));
    mixer.Add(Level(-0.75F, 1));
    EXPECT_EQ(Mix(mixer, 1), (std::vector<float>{-1, -1}));
}

TEST(SoundMixerTest, DropsTheOldestSoundsBeyondItsLimits)
{
    SoundMixer mixer(3, 10);
    for (int i = 0; i < 5; ++i)
        mixer.Add(Level(0, 1));
    EXPECT_EQ(mixer.Playing(), 3U);

    mixer.Clear();
    mixer.Add(Level(0.5F, 4));
    mixer.Add(Level(0.125F, 4));
    mixer.Add(Level(0.25F, 4));
    EXPECT_EQ(mixer.Playing(), 2U);
    EXPECT_EQ(Mix(mixer, 1), (std::vector<float>{0.375F, 0.375F}));
}
