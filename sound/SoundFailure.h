#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// Why a sound or music cannot play. The programs that show it choose the words.
enum class SoundFailureKind : std::uint8_t
{
    /// args: the longest length taken, in minutes.
    TooLong,
    NoSamples,
    /// args: what the resampler said.
    CannotResample,
    /// args: what the sound library said.
    NotASound,
    /// args: the channels, the sample rate in Hz.
    UnsupportedFormat,
    NotMidi,
    BadMidiHeader,
    MidiTruncated,
    MidiWithoutTracks,
    SynthesiserRefused,
    NoSoundFont,
    SoundFontUnloadable,
    /// The sound module cannot be loaded. args: what the loader said, or the module's path.
    NoSoundModule,
};

struct SoundFailure
{
    SoundFailureKind kind = SoundFailureKind::NotASound;
    /// The kind's arguments, in the order its comment gives.
    std::vector<std::string> args;

    friend bool operator==(const SoundFailure&, const SoundFailure&) = default;
};
