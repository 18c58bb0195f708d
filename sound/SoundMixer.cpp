#include "sound/SoundMixer.h"

#include <algorithm>

void SoundMixer::Add(PcmSound sound)
{
    std::size_t held = sound.Frames();
    for (const Voice& voice : m_voices)
        held += voice.sound.Frames();
    auto keep = m_voices.begin();
    for (; keep != m_voices.end() &&
           (static_cast<std::size_t>(m_voices.end() - keep) >= m_maxSounds || held > m_maxFrames);
         ++keep)
        held -= keep->sound.Frames();
    m_voices.erase(m_voices.begin(), keep);
    m_voices.push_back({std::move(sound), 0});
}

void SoundMixer::MixInto(float* out, std::size_t frames)
{
    for (Voice& voice : m_voices)
    {
        const std::size_t count = std::min(frames, voice.sound.Frames() - voice.frame);
        const float* samples = voice.sound.samples.data() + 2 * voice.frame;
        for (std::size_t i = 0; i < 2 * count; ++i)
            out[i] += samples[i];
        voice.frame += count;
    }
    std::erase_if(m_voices, [](const Voice& voice) { return voice.frame >= voice.sound.Frames(); });
    for (std::size_t i = 0; i < 2 * frames; ++i)
        out[i] = std::clamp(out[i], -1.0F, 1.0F);
}
