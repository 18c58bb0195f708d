#pragma once

#include "sound/SoundDecoder.h"

#include <cstddef>
#include <vector>

/// The sounds playing at once, summed into the output. Not thread-safe: the audio callback and
/// the calls that change the sounds take turns under the device lock.
class SoundMixer
{
public:
    /// The rate of the output and of every sound added, in frames per second.
    static constexpr int kRate = 44100;
    /// Beyond maxSounds sounds, or maxFrames frames of decoded sound held, the oldest stops: a
    /// timer firing sounds faster than they end must not grow the mix without bound.
    explicit SoundMixer(std::size_t maxSounds = 32,
                        std::size_t maxFrames = std::size_t{10} * 60 * kRate)
        : m_maxSounds(maxSounds), m_maxFrames(maxFrames)
    {
    }

    void Add(PcmSound sound);
    void Clear() { m_voices.clear(); }
    std::size_t Playing() const { return m_voices.size(); }

    /// Adds the next frames of every sound to out (interleaved stereo, holding the music or
    /// silence), clips the sum to -1..1 and forgets the sounds that have ended.
    void MixInto(float* out, std::size_t frames);

private:
    struct Voice
    {
        PcmSound sound;
        std::size_t frame = 0;
    };

    std::size_t m_maxSounds;
    std::size_t m_maxFrames;
    std::vector<Voice> m_voices;
};
