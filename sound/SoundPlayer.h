#pragma once

#include "sound/SoundFailure.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

/// Plays a set's sounds. The bytes come from the set's file source, so sounds play from
/// archives as from folders; the player never opens files itself.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;

    /// Starts a WAV or AU sound; several may play at once. False, with the reason in failure,
    /// when the bytes cannot be decoded. Without an audio device this succeeds silently.
    virtual bool PlaySound(const std::string& name, std::vector<std::uint8_t> bytes,
                           SoundFailure* failure) = 0;
    /// Starts a MIDI file, replacing the music playing. Same failure rules as PlaySound.
    virtual bool PlayMusic(const std::string& name, std::vector<std::uint8_t> bytes,
                           SoundFailure* failure) = 0;
    virtual void StopMusic() = 0;
    /// Stops every sound and the music (the set is closed or replaced).
    virtual void StopAll() = 0;
};

/// A player that accepts everything and plays nothing: the headless export and FKiSS switched off.
class SilentSoundPlayer : public SoundPlayer
{
public:
    bool PlaySound(const std::string&, std::vector<std::uint8_t>, SoundFailure*) override
    {
        return true;
    }
    bool PlayMusic(const std::string&, std::vector<std::uint8_t>, SoundFailure*) override
    {
        return true;
    }
    void StopMusic() override {}
    void StopAll() override {}
};
