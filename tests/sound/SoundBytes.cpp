#include "SoundBytes.h"

namespace
{

using Field = std::pair<std::uint32_t, int>; // a value and its size in bytes

void Put(std::vector<std::uint8_t>& out, std::initializer_list<Field> fields, bool bigEndian)
{
    for (const auto& [value, size] : fields)
        for (int i = 0; i < size; ++i)
            out.push_back(static_cast<std::uint8_t>(value >> (8 * (bigEndian ? size - 1 - i : i))));
}

std::vector<std::uint8_t> Join(std::vector<std::uint8_t> head,
                               const std::vector<std::uint8_t>& data)
{
    head.insert(head.end(), data.begin(), data.end());
    return head;
}

} // namespace

std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

std::vector<std::uint8_t> Wav(int rate, int channels, int bits,
                              const std::vector<std::uint8_t>& data)
{
    const auto size = static_cast<std::uint32_t>(data.size());
    const auto block = static_cast<std::uint32_t>(channels * bits / 8);
    std::vector<std::uint8_t> out = Bytes("RIFF");
    Put(out, {{36 + size, 4}}, false);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put(out, {{16, 4}, {1, 2}, {channels, 2}, {rate, 4}, {rate * block, 4}, {block, 2}, {bits, 2}},
        false);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    Put(out, {{size, 4}}, false);
    return Join(out, data);
}

std::vector<std::uint8_t> Wav16(int rate, int channels, const std::vector<std::int16_t>& samples)
{
    std::vector<std::uint8_t> data;
    for (const std::int16_t sample : samples)
        Put(data, {{static_cast<std::uint16_t>(sample), 2}}, false);
    return Wav(rate, channels, 16, data);
}

std::vector<std::uint8_t> Au(int rate, int encoding, const std::vector<std::uint8_t>& data)
{
    std::vector<std::uint8_t> out = Bytes(".snd");
    Put(out,
        {{24, 4}, {static_cast<std::uint32_t>(data.size()), 4}, {encoding, 4}, {rate, 4}, {1, 4}},
        true);
    return Join(out, data);
}

std::vector<std::uint8_t> Midi()
{
    std::vector<std::uint8_t> out = Bytes("MThd");
    Put(out, {{6, 4}, {0, 2}, {1, 2}, {96, 2}}, true);
    out.insert(out.end(), {'M', 'T', 'r', 'k', 0, 0, 0, 15});
    // Piano; middle C on, off a beat later; end of track.
    return Join(out, {0x00, 0xC0, 0x00, 0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x40, 0x00, 0xFF,
                      0x2F, 0x00});
}
