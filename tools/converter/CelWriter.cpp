#include "CelWriter.h"

namespace
{
void Put16(std::uint8_t* p, std::uint16_t value)
{
    p[0] = static_cast<std::uint8_t>(value & 0xFF);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}
} // namespace

std::array<std::uint8_t, kCelHeaderBytes> EncodeCelHeader(const CelHeader& header)
{
    std::array<std::uint8_t, kCelHeaderBytes> bytes{'K', 'i', 'S', 'S'};
    bytes[4] = header.mark;
    bytes[5] = header.bitsPerPixel;
    Put16(&bytes[8], header.width);
    Put16(&bytes[10], header.height);
    Put16(&bytes[12], header.xOffset);
    Put16(&bytes[14], header.yOffset);
    Put16(&bytes[16], header.transparency);
    bytes[18] = header.transparentIndex;
    return bytes;
}
