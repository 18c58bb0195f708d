#pragma once

#include "sound/SoundPlayer.h"

#include <filesystem>
#include <memory>

/// What the sound module exports: makes the system player (see SystemSoundPlayer.h) and hands
/// over its ownership.
extern "C" SoundPlayer* VelquinMakeSystemSoundPlayer();

/// The sound module installed beside the running program.
std::filesystem::path DefaultSoundModule();

/// The system player, kept in a module that is loaded at the first sound or music: the audio
/// libraries and all they pull in would otherwise load, and slow, every start of the viewer.
/// When the module cannot be loaded, every sound and music fails with the reason.
std::unique_ptr<SoundPlayer> MakeDeferredSoundPlayer(std::filesystem::path module = DefaultSoundModule());
