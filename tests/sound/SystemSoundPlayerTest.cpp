#include "sound/SystemSoundPlayer.h"

#include "SoundBytes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace
{

/// A player on SDL's dummy driver, which takes the samples at real-time pace and plays nothing.
std::unique_ptr<SoundPlayer>
DummyDevicePlayer(std::vector<std::filesystem::path> soundFonts = InstalledSoundFonts())
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    return MakeSystemSoundPlayer(std::move(soundFonts));
}

} // namespace

TEST(SystemSoundPlayerTest, PlaysOverlappingSoundsAndNamesTheFileThatCannotPlay)
{
    const auto player = DummyDevicePlayer();
    std::string error;
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(player->PlaySound(
            "bell.wav", Wav16(22050, 1, std::vector<std::int16_t>(22050, 1000)), &error))
            << error;
    EXPECT_TRUE(
        player->PlaySound("bell.au", Au(8000, 1, 1, std::vector<std::uint8_t>(800, 0x90)), &error))
        << error;
    EXPECT_FALSE(player->PlaySound("broken.wav", Bytes("RIFF junk"), &error));
    EXPECT_EQ(error.rfind("broken.wav: ", 0), 0U) << error;
    player->StopAll();
}

TEST(SystemSoundPlayerTest, PlaysMusicOrSaysWhyNot)
{
    const auto player = DummyDevicePlayer();
    std::string error;
    if (InstalledSoundFonts().empty())
    {
        EXPECT_FALSE(player->PlayMusic("tune.mid", Midi(), &error));
        EXPECT_NE(error.find("sound font"), std::string::npos) << error;
    }
    else
    {
        EXPECT_TRUE(player->PlayMusic("tune.mid", Midi(), &error)) << error;
        EXPECT_TRUE(player->PlayMusic("again.mid", Midi(), &error)) << error;
        player->StopMusic();
    }
    EXPECT_FALSE(player->PlayMusic("bell.mid", Wav16(22050, 1, {1}), &error));
    EXPECT_EQ(error.rfind("bell.mid: ", 0), 0U) << error;
}

TEST(SystemSoundPlayerTest, MusicWithoutASoundFontFailsButSoundsStillPlay)
{
    for (const auto& fonts : {std::vector<std::filesystem::path>{},
                              std::vector<std::filesystem::path>{"/nonexistent/none.sf2"}})
    {
        const auto player = DummyDevicePlayer(fonts);
        std::string error;
        EXPECT_FALSE(player->PlayMusic("tune.mid", Midi(), &error));
        EXPECT_NE(error.find("sound font"), std::string::npos) << error;
        EXPECT_TRUE(player->PlaySound("bell.wav", Wav16(22050, 1, {1, 2}), &error)) << error;
    }
}

TEST(SystemSoundPlayerTest, WithoutADevicePlaysSilentlyAndStillNamesBadFiles)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    const auto player = MakeSystemSoundPlayer();
    std::string error;
    // Twice: before and after the player learns that there is no device.
    for (int round = 0; round < 2; ++round)
    {
        EXPECT_TRUE(player->PlaySound("bell.wav", Wav16(22050, 1, {1, 2}), &error)) << error;
        if (!InstalledSoundFonts().empty())
        {
            EXPECT_TRUE(player->PlayMusic("tune.mid", Midi(), &error)) << error;
        }
        EXPECT_FALSE(player->PlaySound("broken.wav", Bytes("junk"), &error));
        EXPECT_EQ(error.rfind("broken.wav: ", 0), 0U) << error;
        player->StopMusic();
        player->StopAll();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
}
