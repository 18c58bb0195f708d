#include "sound/SystemSoundPlayer.h"

#include "SoundBytes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace
{

/// Plays sounds and music; a bad file's error starts with its name.
void PlayEverything(SoundPlayer& player, bool musicPlays)
{
    std::string error;
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(player.PlaySound("bell.wav",
                                     Wav16(22050, 1, std::vector<std::int16_t>(2205, 900)), &error))
            << error;
    EXPECT_TRUE(
        player.PlaySound("bell.au", Au(8000, 1, std::vector<std::uint8_t>(800, 0x90)), &error))
        << error;
    EXPECT_FALSE(player.PlaySound("broken.wav", Bytes("RIFF junk"), &error));
    EXPECT_EQ(error.rfind("broken.wav: ", 0), 0U) << error;

    error.clear();
    EXPECT_EQ(player.PlayMusic("tune.mid", Midi(), &error), musicPlays) << error;
    EXPECT_EQ(error.find("sound font") != std::string::npos, !musicPlays) << error;
    EXPECT_EQ(player.PlayMusic("again.mid", Midi(), &error), musicPlays) << error;
    EXPECT_FALSE(player.PlayMusic("bell.mid", Wav16(22050, 1, {1}), &error));
    EXPECT_EQ(error.rfind("bell.mid: ", 0), 0U) << error;
    player.StopMusic();
    player.StopAll();
}

} // namespace

TEST(SystemSoundPlayerTest, PlaysOnADeviceAndSaysWhyAFileOrTheMusicCannotPlay)
{
    // SDL's dummy driver takes the samples at real-time pace and plays nothing.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::vector<std::filesystem::path> installed = InstalledSoundFonts();
    const std::vector<std::filesystem::path> missing = {"/nonexistent/none.sf2"};
    for (const auto& fonts : {installed, missing, std::vector<std::filesystem::path>{}})
        PlayEverything(*MakeSystemSoundPlayer(fonts), !fonts.empty() && fonts != missing);
}

TEST(SystemSoundPlayerTest, WithoutADevicePlaysSilentlyAndStillNamesBadFiles)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    const auto player = MakeSystemSoundPlayer();
    // Twice: before and after the player has learnt that there is no device.
    PlayEverything(*player, !InstalledSoundFonts().empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    PlayEverything(*player, !InstalledSoundFonts().empty());
}
