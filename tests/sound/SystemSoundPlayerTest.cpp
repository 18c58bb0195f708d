#include "sound/SystemSoundPlayer.h"

#include "SoundBytes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

namespace
{

/// Plays sounds and music; a bad file fails for its own reason. musicFails is why music cannot
/// play, if it cannot.
void PlayEverything(SoundPlayer& player, std::optional<SoundFailureKind> musicFails)
{
    SoundFailure failure;
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(player.PlaySound(
            "bell.wav", Wav16(22050, 1, std::vector<std::int16_t>(2205, 900)), &failure));
    EXPECT_TRUE(
        player.PlaySound("bell.au", Au(8000, 1, std::vector<std::uint8_t>(800, 0x90)), &failure));
    EXPECT_FALSE(player.PlaySound("broken.wav", Bytes("RIFF junk"), &failure));
    EXPECT_EQ(failure.kind, SoundFailureKind::NotASound);
    EXPECT_FALSE(failure.args.empty() || failure.args[0].empty());

    failure = {};
    EXPECT_EQ(player.PlayMusic("tune.mid", Midi(), &failure), !musicFails);
    if (musicFails)
    {
        EXPECT_EQ(failure.kind, *musicFails);
    }
    EXPECT_EQ(player.PlayMusic("again.mid", Midi(), &failure), !musicFails);
    EXPECT_FALSE(player.PlayMusic("bell.mid", Wav16(22050, 1, {1}), &failure));
    EXPECT_EQ(failure.kind, SoundFailureKind::NotMidi);
    player.StopMusic();
    player.StopAll();
}

/// Why music cannot play with the fonts installed here, if it cannot.
std::optional<SoundFailureKind> InstalledMusicFails()
{
    if (InstalledSoundFonts().empty())
        return SoundFailureKind::NoSoundFont;
    return std::nullopt;
}

} // namespace

TEST(SystemSoundPlayerTest, PlaysOnADeviceAndSaysWhyAFileOrTheMusicCannotPlay)
{
    // SDL's dummy driver takes the samples at real-time pace and plays nothing.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    PlayEverything(*MakeSystemSoundPlayer(InstalledSoundFonts()), InstalledMusicFails());
    PlayEverything(*MakeSystemSoundPlayer({"/nonexistent/none.sf2"}),
                   SoundFailureKind::SoundFontUnloadable);
    PlayEverything(*MakeSystemSoundPlayer({}), SoundFailureKind::NoSoundFont);
}

TEST(SystemSoundPlayerTest, WithoutADevicePlaysSilentlyAndStillNamesBadFiles)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    const auto player = MakeSystemSoundPlayer();
    // Twice: before and after the player has learnt that there is no device.
    PlayEverything(*player, InstalledMusicFails());
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    PlayEverything(*player, InstalledMusicFails());
}
