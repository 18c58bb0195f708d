#include "sound/SoundModule.h"

#include "SoundBytes.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace
{

bool AudioLibrariesLoaded()
{
    void* sdl = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
    if (sdl != nullptr)
        dlclose(sdl);
    return sdl != nullptr;
}

} // namespace

// This program links no audio library: they arrive with the module, at the first sound.
TEST(SoundModuleTest, LoadsTheAudioLibrariesOnlyAtTheFirstSoundAndPassesEverythingOn)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const auto player = MakeDeferredSoundPlayer(VELQUIN_SOUND_MODULE);
    player->StopMusic();
    player->StopAll();
    EXPECT_FALSE(AudioLibrariesLoaded());

    std::string error;
    EXPECT_TRUE(player->PlaySound("bell.wav", Wav16(22050, 1, std::vector<std::int16_t>(2205, 900)),
                                  &error))
        << error;
    EXPECT_TRUE(AudioLibrariesLoaded());
    EXPECT_FALSE(player->PlaySound("broken.wav", Bytes("RIFF junk"), &error));
    EXPECT_EQ(error.rfind("broken.wav: ", 0), 0U) << error;
    EXPECT_FALSE(player->PlayMusic("bell.mid", Wav16(22050, 1, {1}), &error));
    EXPECT_EQ(error.rfind("bell.mid: ", 0), 0U) << error;
    player->StopAll();
}

TEST(SoundModuleTest, WithoutTheModuleEverySoundFailsNamingTheFileAndTheModule)
{
    const auto player = MakeDeferredSoundPlayer("/nonexistent/velquin-sound.so");
    for (int i = 0; i < 2; ++i)
    {
        std::string error;
        EXPECT_FALSE(player->PlaySound("bell.wav", Wav16(22050, 1, {1}), &error));
        EXPECT_EQ(error.rfind("bell.wav: ", 0), 0U) << error;
        EXPECT_NE(error.find("/nonexistent/velquin-sound.so"), std::string::npos) << error;
        EXPECT_FALSE(player->PlayMusic("tune.mid", Midi(), &error));
        EXPECT_EQ(error.rfind("tune.mid: ", 0), 0U) << error;
    }
    player->StopMusic();
    player->StopAll();
}
