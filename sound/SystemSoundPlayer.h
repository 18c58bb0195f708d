#pragma once

#include "sound/SoundPlayer.h"

#include <filesystem>
#include <memory>
#include <vector>

/// The sound fonts music may use, best first: the small General MIDI font, then any other
/// installed one. Empty when none is installed.
std::vector<std::filesystem::path> InstalledSoundFonts();

/// Plays through the system's audio device, opened on the first sound; without a device it
/// plays silently. Music uses the first of soundFonts that loads.
std::unique_ptr<SoundPlayer>
MakeSystemSoundPlayer(std::vector<std::filesystem::path> soundFonts = InstalledSoundFonts());
