#include "SoundBytes.h"

namespace
{

void Append(std::vector<std::uint8_t>& out, std::string_view text)
{
    out.insert(out.end(), text.begin(), text.end());
}

void Little(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void Big(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::vector<std::uint8_t> Wav(int rate, int channels, int bits,
                              const std::vector<std::uint8_t>& data)
{
    const auto blockAlign = static_cast<std::uint32_t>(channels * bits / 8);
    std::vector<std::uint8_t> out;
    Append(out, "RIFF");
    Little(out, static_cast<std::uint32_t>(36 + data.size()), 4);
    Append(out, "WAVEfmt ");
    Little(out, 16, 4);
    Little(out, 1, 2);
    Little(out, static_cast<std::uint32_t>(channels), 2);
    Little(out, static_cast<std::uint32_t>(rate), 4);
    Little(out, static_cast<std::uint32_t>(rate) * blockAlign, 4);
    Little(out, blockAlign, 2);
    Little(out, static_cast<std::uint32_t>(bits), 2);
    Append(out, "data");
    Little(out, static_cast<std::uint32_t>(data.size()), 4);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

} // namespace

std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

std::vector<std::uint8_t> Wav16(int rate, int channels, const std::vector<std::int16_t>& samples)
{
    std::vector<std::uint8_t> data;
    for (const std::int16_t sample : samples)
        Little(data, static_cast<std::uint16_t>(sample), 2);
    return Wav(rate, channels, 16, data);
}

std::vector<std::uint8_t> Wav8(int rate, int channels, const std::vector<std::uint8_t>& samples)
{
    return Wav(rate, channels, 8, samples);
}

std::vector<std::uint8_t> Au(int rate, int channels, int encoding,
                             const std::vector<std::uint8_t>& data)
{
    std::vector<std::uint8_t> out;
    Append(out, ".snd");
    Big(out, 24, 4);
    Big(out, static_cast<std::uint32_t>(data.size()), 4);
    Big(out, static_cast<std::uint32_t>(encoding), 4);
    Big(out, static_cast<std::uint32_t>(rate), 4);
    Big(out, static_cast<std::uint32_t>(channels), 4);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<std::uint8_t> Midi()
{
    const std::vector<std::uint8_t> track = {
        0x00, 0xC0, 0x00,       // piano
        0x00, 0x90, 0x3C, 0x64, // middle C on
        0x60, 0x80, 0x3C, 0x40, // off a beat later
        0x00, 0xFF, 0x2F, 0x00, // end of track
    };
    std::vector<std::uint8_t> out;
    Append(out, "MThd");
    Big(out, 6, 4);
    Big(out, 0, 2);
    Big(out, 1, 2);
    Big(out, 96, 2);
    Append(out, "MTrk");
    Big(out, static_cast<std::uint32_t>(track.size()), 4);
    out.insert(out.end(), track.begin(), track.end());
    return out;
}
