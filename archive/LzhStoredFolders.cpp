#include "archive/LzhStoredFolders.h"

#include "archive/LzhCrc.h"

extern "C"
{
#include <lhasa.h>
}

#include <cassert>
#include <cstring>

namespace
{

std::uint16_t Get16(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::uint32_t Get32(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return Get16(bytes, at) | static_cast<std::uint32_t>(Get16(bytes, at + 2)) << 16;
}

constexpr std::size_t kBaseHeaderSize = 22;

/// Recomputes the CRC of the whole header that an extended header of type 0 carries, when it
/// carries one. The extended headers start at first, the size of the first just before it; the
/// header with all of them ends at end, or where they end when end is 0 (level 1).
bool FixCommonCrc(std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t first,
                  std::size_t end)
{
    std::size_t crcAt = 0;
    std::size_t at = first;
    for (std::size_t length = Get16(bytes, at - 2); length != 0; length = Get16(bytes, at - 2))
    {
        if (length < 3 || bytes.size() - at < length || (end != 0 && end - at < length))
            return false;
        if (bytes[at] == 0x00 && length >= 5)
            crcAt = at + 1;
        at += length;
    }
    if (crcAt == 0)
        return true;
    bytes[crcAt] = bytes[crcAt + 1] = 0;
    const std::uint16_t crc = LzhCrc16(std::span(bytes).subspan(offset, (end ? end : at) - offset));
    bytes[crcAt] = static_cast<std::uint8_t>(crc);
    bytes[crcAt + 1] = static_cast<std::uint8_t>(crc >> 8);
    return true;
}

} // namespace

bool IsStoredFolderHeader(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    if (offset >= bytes.size() || bytes.size() - offset < kBaseHeaderSize || bytes[offset] == 0)
        return false;
    return std::memcmp(&bytes[offset + 2], LHA_COMPRESS_TYPE_DIR, 5) == 0 &&
           (Get32(bytes, offset + 7) != 0 || Get32(bytes, offset + 11) != 0);
}

bool MarkStored(std::vector<std::uint8_t>& bytes, std::size_t offset)
{
    assert(IsStoredFolderHeader(bytes, offset));
    const std::uint8_t level = bytes[offset + 20];
    if (level > 2)
        return false;
    std::memcpy(&bytes[offset + 2], "-lh0-", 5);
    if (level == 2)
    {
        const std::size_t size = Get16(bytes, offset);
        if (size < 26 || bytes.size() - offset < size)
            return false;
        return FixCommonCrc(bytes, offset, offset + 26, offset + size);
    }
    // The byte sum of the base header after its first two bytes.
    bytes[offset + 1] = static_cast<std::uint8_t>(bytes[offset + 1] - ('d' - '0'));
    const std::size_t baseEnd = offset + 2 + bytes[offset];
    if (level == 0)
        return true;
    if (baseEnd > bytes.size())
        return false;
    return FixCommonCrc(bytes, offset, baseEnd, 0);
}
