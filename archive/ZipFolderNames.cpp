#include "archive/ZipFolderNames.h"

#include <zlib.h>

#include <algorithm>
#include <optional>
#include <string>

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

bool HasSignature(std::span<const std::uint8_t> bytes, std::size_t at, std::uint32_t signature,
                  std::size_t size)
{
    return at <= bytes.size() && bytes.size() - at >= size && Get32(bytes, at) == signature;
}

constexpr std::uint32_t kLocalHeader = 0x04034B50;
constexpr std::uint32_t kCentralHeader = 0x02014B50;
constexpr std::uint32_t kEndOfDirectory = 0x06054B50;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kEndOfDirectorySize = 22;

/// Unpacks a stored or deflated member whose sizes and CRC the central directory gives.
std::optional<std::vector<std::uint8_t>> Unpack(std::span<const std::uint8_t> packed,
                                                std::uint16_t method, std::uint32_t size,
                                                std::uint32_t crc)
{
    std::vector<std::uint8_t> bytes;
    if (method == 0)
    {
        if (packed.size() != size)
            return std::nullopt;
        bytes.assign(packed.begin(), packed.end());
    }
    else if (method == 8)
    {
        z_stream stream{};
        if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
            return std::nullopt;
        stream.next_in = const_cast<Bytef*>(packed.data());
        stream.avail_in = static_cast<uInt>(packed.size());
        // Grown as the data comes: a damaged directory must not cost the size that it states.
        constexpr std::size_t kChunk = 256 * 1024;
        int status = Z_OK;
        while (status == Z_OK && bytes.size() < size)
        {
            const std::size_t filled = bytes.size();
            bytes.resize(filled + std::min<std::size_t>(kChunk, size - filled));
            stream.next_out = bytes.data() + filled;
            stream.avail_out = static_cast<uInt>(bytes.size() - filled);
            status = inflate(&stream, Z_NO_FLUSH);
            bytes.resize(bytes.size() - stream.avail_out);
        }
        inflateEnd(&stream);
        if (status != Z_STREAM_END && status != Z_OK)
            return std::nullopt;
    }
    else
    {
        return std::nullopt;
    }
    if (bytes.size() != size || crc32(0, bytes.data(), static_cast<uInt>(bytes.size())) != crc)
        return std::nullopt;
    return bytes;
}

} // namespace

std::vector<ArchiveMember> ReadFolderNamedMembers(std::span<const std::uint8_t> bytes,
                                                  const ArchiveLimits& limits,
                                                  std::uint64_t& total)
{
    struct Found
    {
        std::string name;
        std::optional<std::span<const std::uint8_t>> packed;
        std::uint16_t method = 0;
        std::uint32_t size = 0;
        std::uint32_t crc = 0;
    };
    std::vector<Found> found;
    if (bytes.size() < kEndOfDirectorySize)
        return {};
    // The end record lies within the last 64 KiB and its comment.
    std::size_t end = bytes.size() - kEndOfDirectorySize;
    const std::size_t lowest = end > 0xFFFF ? end - 0xFFFF : 0;
    while (!HasSignature(bytes, end, kEndOfDirectory, kEndOfDirectorySize))
    {
        if (end == lowest)
            return {};
        --end;
    }
    std::size_t at = Get32(bytes, end + 16);
    for (std::size_t count = Get16(bytes, end + 10); count > 0; --count)
    {
        if (!HasSignature(bytes, at, kCentralHeader, kCentralHeaderSize))
            break;
        const std::uint16_t flags = Get16(bytes, at + 8);
        const std::uint32_t packedSize = Get32(bytes, at + 20);
        const std::size_t nameLength = Get16(bytes, at + 28);
        const std::size_t local = Get32(bytes, at + 42);
        const std::size_t next =
            at + kCentralHeaderSize + nameLength + Get16(bytes, at + 30) + Get16(bytes, at + 32);
        if (next > bytes.size())
            break;
        const std::string stored(reinterpret_cast<const char*>(&bytes[at + kCentralHeaderSize]),
                                 nameLength);
        Found member{WithoutTrailingSeparators(stored), std::nullopt, Get16(bytes, at + 10),
                     Get32(bytes, at + 24), Get32(bytes, at + 16)};
        at = next;
        // A size of all ones only points to a ZIP64 record: such folders are left to the library.
        if (member.size == 0 || member.size == 0xFFFFFFFF || packedSize == 0xFFFFFFFF ||
            member.name == stored || member.name.empty())
            continue;
        if ((flags & 1) == 0 && member.size <= limits.member &&
            HasSignature(bytes, local, kLocalHeader, kLocalHeaderSize))
        {
            const std::size_t data =
                local + kLocalHeaderSize + Get16(bytes, local + 26) + Get16(bytes, local + 28);
            if (data <= bytes.size() && bytes.size() - data >= packedSize)
                member.packed = bytes.subspan(data, packedSize);
        }
        if (member.size <= limits.member)
            total += member.size;
        found.push_back(std::move(member));
    }
    // Nothing is unpacked for an archive that is refused as too large.
    if (total > limits.total)
        return {};
    std::vector<ArchiveMember> members;
    for (Found& member : found)
    {
        ArchiveMember read;
        read.name = std::move(member.name);
        if (member.packed)
            read.bytes = Unpack(*member.packed, member.method, member.size, member.crc);
        members.push_back(std::move(read));
    }
    return members;
}
