#pragma once

#include "sound/SoundFailure.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

/// A decoded sound as the mixer plays it: interleaved stereo floats (left, right, left, ...) in
/// -1..1 at the output device's rate.
struct PcmSound
{
    std::vector<float> samples;

    std::size_t Frames() const { return samples.size() / 2; }
};

/// Decodes the bytes of a WAV or AU file to stereo at rate frames per second. False, with the
/// reason in failure, when the bytes are not a sound that can be read or hold no samples.
bool DecodeSound(std::span<const std::uint8_t> bytes, int rate, PcmSound* out,
                 SoundFailure* failure);

/// Checks that bytes are a standard MIDI file with at least one track and every chunk inside the
/// bytes. The synthesiser reads the file only later, on the audio thread, where a bad file would
/// fail without a word; this check gives the reason at the call.
bool CheckMidi(std::span<const std::uint8_t> bytes, SoundFailure* failure);
