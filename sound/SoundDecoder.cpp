#include "sound/SoundDecoder.h"

#include <SDL.h>
#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace
{

// A set's sounds are short effects; the cap keeps a hostile header or a long recording from
// taking gigabytes once widened to stereo floats.
constexpr sf_count_t kMaxSeconds = 10 * 60;
constexpr int kHighestRate = 384000;

/// The bytes as a read-only file for libsndfile.
struct MemoryFile
{
    std::span<const std::uint8_t> bytes;
    sf_count_t position = 0;
};

sf_count_t MemoryLength(void* file)
{
    return static_cast<sf_count_t>(static_cast<MemoryFile*>(file)->bytes.size());
}

sf_count_t MemorySeek(sf_count_t offset, int whence, void* file)
{
    auto* memory = static_cast<MemoryFile*>(file);
    const auto size = static_cast<sf_count_t>(memory->bytes.size());
    sf_count_t base = 0;
    if (whence == SEEK_CUR)
        base = memory->position;
    else if (whence == SEEK_END)
        base = size;
    memory->position = std::clamp<sf_count_t>(base + offset, 0, size);
    return memory->position;
}

sf_count_t MemoryRead(void* destination, sf_count_t count, void* file)
{
    auto* memory = static_cast<MemoryFile*>(file);
    const auto size = static_cast<sf_count_t>(memory->bytes.size());
    const sf_count_t available = std::clamp<sf_count_t>(size - memory->position, 0, count);
    if (available > 0)
        std::memcpy(destination, memory->bytes.data() + memory->position,
                    static_cast<std::size_t>(available));
    memory->position += available;
    return available;
}

sf_count_t MemoryWrite(const void*, sf_count_t, void*)
{
    return 0;
}

sf_count_t MemoryTell(void* file)
{
    return static_cast<MemoryFile*>(file)->position;
}

struct SndfileCloser
{
    void operator()(SNDFILE* file) const { sf_close(file); }
};

struct StreamFreer
{
    void operator()(SDL_AudioStream* stream) const { SDL_FreeAudioStream(stream); }
};

/// Reads every frame and widens it to stereo: mono goes to both sides, more than two channels
/// keep the first two (front left and right in every channel order libsndfile reads).
bool ReadStereo(SNDFILE* file, const SF_INFO& info, std::size_t byteCount,
                std::vector<float>* stereo, SoundFailure* failure)
{
    constexpr sf_count_t kChunkFrames = 4096;
    const auto channels = static_cast<std::size_t>(info.channels);
    const sf_count_t maxFrames = kMaxSeconds * info.samplerate;
    std::vector<float> chunk(static_cast<std::size_t>(kChunkFrames) * channels);
    // Room for the frames the header claims, but no more than the bytes could hold uncompressed.
    stereo->reserve(2 * std::min({static_cast<std::size_t>(std::max<sf_count_t>(info.frames, 0)),
                                  static_cast<std::size_t>(maxFrames), byteCount}));
    sf_count_t total = 0;
    for (;;)
    {
        const sf_count_t frames = sf_readf_float(file, chunk.data(), kChunkFrames);
        if (frames <= 0)
            break;
        total += frames;
        if (total > maxFrames)
        {
            *failure = {SoundFailureKind::TooLong, {std::to_string(kMaxSeconds / 60)}};
            return false;
        }
        for (sf_count_t i = 0; i < frames; ++i)
        {
            const float* frame = chunk.data() + static_cast<std::size_t>(i) * channels;
            stereo->push_back(frame[0]);
            stereo->push_back(channels > 1 ? frame[1] : frame[0]);
        }
    }
    if (stereo->empty())
    {
        *failure = {SoundFailureKind::NoSamples, {}};
        return false;
    }
    return true;
}

bool Resample(const std::vector<float>& stereo, int from, int to, std::vector<float>* out,
              SoundFailure* failure)
{
    const std::unique_ptr<SDL_AudioStream, StreamFreer> stream(
        SDL_NewAudioStream(AUDIO_F32SYS, 2, from, AUDIO_F32SYS, 2, to));
    // SDL 2.26 drops samples when one put is larger than a few kilobytes; fed in blocks, the
    // stream keeps every one.
    constexpr std::size_t kBlock = 1024;
    bool fed = stream != nullptr;
    for (std::size_t start = 0; fed && start < stereo.size(); start += kBlock)
    {
        const std::size_t count = std::min(kBlock, stereo.size() - start);
        fed = SDL_AudioStreamPut(stream.get(), stereo.data() + start,
                                 static_cast<int>(count * sizeof(float))) == 0;
    }
    if (!fed || SDL_AudioStreamFlush(stream.get()) != 0)
    {
        *failure = {SoundFailureKind::CannotResample, {SDL_GetError()}};
        return false;
    }
    out->resize(static_cast<std::size_t>(SDL_AudioStreamAvailable(stream.get())) / sizeof(float));
    const int got = SDL_AudioStreamGet(stream.get(), out->data(),
                                       static_cast<int>(out->size() * sizeof(float)));
    out->resize(static_cast<std::size_t>(std::max(got, 0)) / sizeof(float) / 2 * 2);
    return true;
}

std::uint32_t BigEndian32(const std::uint8_t* bytes)
{
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | std::uint32_t{bytes[3]};
}

std::uint32_t BigEndian16(const std::uint8_t* bytes)
{
    return std::uint32_t{bytes[0]} << 8 | std::uint32_t{bytes[1]};
}

} // namespace

bool DecodeSound(std::span<const std::uint8_t> bytes, int rate, PcmSound* out,
                 SoundFailure* failure)
{
    MemoryFile memory{bytes};
    SF_VIRTUAL_IO io{MemoryLength, MemorySeek, MemoryRead, MemoryWrite, MemoryTell};
    SF_INFO info{};
    const std::unique_ptr<SNDFILE, SndfileCloser> file(
        sf_open_virtual(&io, SFM_READ, &info, &memory));
    if (!file)
    {
        *failure = {SoundFailureKind::NotASound, {sf_strerror(nullptr)}};
        return false;
    }
    if (info.channels < 1 || info.samplerate < 1 || info.samplerate > kHighestRate)
    {
        *failure = {SoundFailureKind::UnsupportedFormat,
                    {std::to_string(info.channels), std::to_string(info.samplerate)}};
        return false;
    }
    std::vector<float> stereo;
    if (!ReadStereo(file.get(), info, bytes.size(), &stereo, failure))
        return false;
    if (info.samplerate == rate)
    {
        out->samples = std::move(stereo);
        return true;
    }
    return Resample(stereo, info.samplerate, rate, &out->samples, failure);
}

bool CheckMidi(std::span<const std::uint8_t> bytes, SoundFailure* failure)
{
    constexpr std::size_t kChunkHeader = 8;
    if (bytes.size() < kChunkHeader + 6 || std::memcmp(bytes.data(), "MThd", 4) != 0)
    {
        *failure = {SoundFailureKind::NotMidi, {}};
        return false;
    }
    const std::uint32_t headerLength = BigEndian32(bytes.data() + 4);
    const std::uint8_t* header = bytes.data() + kChunkHeader;
    if (headerLength < 6 || BigEndian16(header) > 2 || BigEndian16(header + 4) == 0)
    {
        *failure = {SoundFailureKind::BadMidiHeader, {}};
        return false;
    }
    std::size_t tracks = 0;
    std::size_t offset = 0;
    while (offset < bytes.size())
    {
        if (bytes.size() - offset < kChunkHeader)
        {
            *failure = {SoundFailureKind::MidiTruncated, {}};
            return false;
        }
        const std::uint32_t length = BigEndian32(bytes.data() + offset + 4);
        if (length > bytes.size() - offset - kChunkHeader)
        {
            *failure = {SoundFailureKind::MidiTruncated, {}};
            return false;
        }
        if (std::memcmp(bytes.data() + offset, "MTrk", 4) == 0)
            ++tracks;
        offset += kChunkHeader + length;
    }
    if (tracks == 0)
    {
        *failure = {SoundFailureKind::MidiWithoutTracks, {}};
        return false;
    }
    return true;
}
