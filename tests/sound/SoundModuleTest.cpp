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

    SoundFailure failure;
    EXPECT_TRUE(player->PlaySound("bell.wav", Wav16(22050, 1, std::vector<std::int16_t>(2205, 900)),
                                  &failure));
    EXPECT_TRUE(AudioLibrariesLoaded());
    EXPECT_FALSE(player->PlaySound("broken.wav", Bytes("RIFF junk"), &failure));
    EXPECT_EQ(failure.kind, SoundFailureKind::NotASound);
    EXPECT_FALSE(player->PlayMusic("bell.mid", Wav16(22050, 1, {1}), &failure));
    EXPECT_EQ(failure.kind, SoundFailureKind::NotMidi);
    player->StopAll();
}

TEST(SoundModuleTest, WithoutTheModuleEverySoundFailsNamingTheModule)
{
    const auto player = MakeDeferredSoundPlayer("/nonexistent/velquin-sound.so");
    for (int i = 0; i < 2; ++i)
    {
        SoundFailure failure;
        EXPECT_FALSE(player->PlaySound("bell.wav", Wav16(22050, 1, {1}), &failure));
        EXPECT_EQ(failure.kind, SoundFailureKind::NoSoundModule);
        ASSERT_EQ(failure.args.size(), 1U);
        EXPECT_NE(failure.args[0].find("/nonexistent/velquin-sound.so"), std::string::npos)
            << failure.args[0];
        failure = {};
        EXPECT_FALSE(player->PlayMusic("tune.mid", Midi(), &failure));
        EXPECT_EQ(failure.kind, SoundFailureKind::NoSoundModule);
    }
    player->StopMusic();
    player->StopAll();
}
