#include "archive/Archive.h"

#include <archive.h>
#include <archive_entry.h>
#include <zlib.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace
{

/// The ZIP library, loaded when the first ZIP archive is read: it brings a dozen libraries of
/// its own, which every start of the program (the console commands above all) would otherwise
/// load for nothing.
struct ZipLibrary
{
    decltype(&archive_read_new) readNew = nullptr;
    decltype(&archive_read_support_format_zip) supportZip = nullptr;
    decltype(&archive_read_open_memory) openMemory = nullptr;
    decltype(&archive_read_next_header) nextHeader = nullptr;
    decltype(&archive_read_data) readData = nullptr;
    decltype(&archive_read_free) readFree = nullptr;
    decltype(&archive_errno) errorNumber = nullptr;
    decltype(&archive_entry_pathname) pathname = nullptr;
    decltype(&archive_entry_pathname_utf8) pathnameUtf8 = nullptr;
    decltype(&archive_entry_size) size = nullptr;
    decltype(&archive_entry_size_is_set) sizeIsSet = nullptr;
    decltype(&archive_entry_is_encrypted) isEncrypted = nullptr;
    decltype(&archive_entry_filetype) filetype = nullptr;

    /// The library, or null when it cannot be loaded (ZIP archives then read as corrupt).
    static const ZipLibrary* Get()
    {
        static const ZipLibrary* const library = Load();
        return library;
    }

private:
    static const ZipLibrary* Load()
    {
        void* handle = dlopen(VELQUIN_LIBARCHIVE_SONAME, RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            return nullptr;
        static ZipLibrary library;
        bool complete = true;
        const auto bind = [&](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                dlsym(handle, name));
            complete = complete && function != nullptr;
        };
        bind(library.readNew, "archive_read_new");
        bind(library.supportZip, "archive_read_support_format_zip");
        bind(library.openMemory, "archive_read_open_memory");
        bind(library.nextHeader, "archive_read_next_header");
        bind(library.readData, "archive_read_data");
        bind(library.readFree, "archive_read_free");
        bind(library.errorNumber, "archive_errno");
        bind(library.pathname, "archive_entry_pathname");
        bind(library.pathnameUtf8, "archive_entry_pathname_utf8");
        bind(library.size, "archive_entry_size");
        bind(library.sizeIsSet, "archive_entry_size_is_set");
        bind(library.isEncrypted, "archive_entry_is_encrypted");
        bind(library.filetype, "archive_entry_filetype");
        return complete ? &library : nullptr;
    }
};

/// Owns the library's reader over one pass of the archive. Only ZIP is enabled: nothing else
/// the library knows should open under an archive's name.
class ZipPass
{
public:
    ZipPass(const ZipLibrary& zip, std::span<const std::uint8_t> bytes)
        : m_zip(zip), m_archive(zip.readNew())
    {
        if (!m_archive)
            return;
        m_zip.supportZip(m_archive);
        if (m_zip.openMemory(m_archive, bytes.data(), bytes.size()) != ARCHIVE_OK)
        {
            m_zip.readFree(m_archive);
            m_archive = nullptr;
        }
    }
    ~ZipPass()
    {
        if (m_archive)
            m_zip.readFree(m_archive);
    }
    ZipPass(const ZipPass&) = delete;
    ZipPass& operator=(const ZipPass&) = delete;

    archive* Get() const { return m_archive; }

    /// The next entry, or null at the end or when the rest cannot be read.
    archive_entry* Next()
    {
        archive_entry* entry = nullptr;
        const int status = m_zip.nextHeader(m_archive, &entry);
        return status == ARCHIVE_OK || status == ARCHIVE_WARN ? entry : nullptr;
    }

private:
    const ZipLibrary& m_zip;
    archive* m_archive;
};

/// The name exactly as stored: the library gives stored bytes as they are unless the entry is
/// marked UTF-8, which it would convert to the locale's code page, so those come as UTF-8.
std::string MemberName(const ZipLibrary& zip, archive_entry* entry)
{
    if (const char* name = zip.pathname(entry))
        return name;
    if (const char* name = zip.pathnameUtf8(entry))
        return name;
    return {};
}

std::optional<std::vector<std::uint8_t>> ReadData(const ZipLibrary& zip, archive* reader,
                                                  archive_entry* entry)
{
    const bool sized = zip.sizeIsSet(entry);
    const auto stated = static_cast<std::uint64_t>(zip.size(entry));
    if (zip.isEncrypted(entry) || (sized && stated > Archive::kMaxMemberSize))
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    // Reserved only up to a modest size: a damaged header must not cost what it claims.
    if (sized)
        bytes.reserve(std::min<std::uint64_t>(stated, 4u << 20));
    std::uint8_t block[64 * 1024];
    for (;;)
    {
        const la_ssize_t got = zip.readData(reader, block, sizeof block);
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        if (bytes.size() + static_cast<std::size_t>(got) > Archive::kMaxMemberSize)
            return std::nullopt;
        bytes.insert(bytes.end(), block, block + got);
    }
    if (sized && bytes.size() != stated)
        return std::nullopt;
    return bytes;
}

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

/// Members that carry data under a name ending in "/" or "\\". The ZIP library takes them for
/// folders and gives none of their data, so they are found in the central directory and read
/// here, under their names without the separators. Nothing when there is no plain directory.
std::vector<ArchiveMember> ReadFolderNamedMembers(std::span<const std::uint8_t> bytes,
                                                  std::uint64_t& total)
{
    std::vector<ArchiveMember> members;
    if (bytes.size() < kEndOfDirectorySize)
        return members;
    // The end record lies within the last 64 KiB and its comment.
    std::size_t end = bytes.size() - kEndOfDirectorySize;
    const std::size_t lowest = end > 0xFFFF ? end - 0xFFFF : 0;
    while (!HasSignature(bytes, end, kEndOfDirectory, kEndOfDirectorySize))
    {
        if (end == lowest)
            return members;
        --end;
    }
    std::size_t at = Get32(bytes, end + 16);
    for (std::size_t count = Get16(bytes, end + 10); count > 0; --count)
    {
        if (!HasSignature(bytes, at, kCentralHeader, kCentralHeaderSize))
            break;
        const std::uint16_t flags = Get16(bytes, at + 8);
        const std::uint16_t method = Get16(bytes, at + 10);
        const std::uint32_t crc = Get32(bytes, at + 16);
        const std::uint32_t packedSize = Get32(bytes, at + 20);
        const std::uint32_t size = Get32(bytes, at + 24);
        const std::size_t nameLength = Get16(bytes, at + 28);
        const std::size_t local = Get32(bytes, at + 42);
        const std::size_t next =
            at + kCentralHeaderSize + nameLength + Get16(bytes, at + 30) + Get16(bytes, at + 32);
        if (next > bytes.size())
            break;
        const std::string stored(reinterpret_cast<const char*>(&bytes[at + kCentralHeaderSize]),
                                 nameLength);
        at = next;
        ArchiveMember member;
        member.name = WithoutTrailingSeparators(stored);
        // A size of all ones only points to a ZIP64 record: such folders are left to the library.
        if (size == 0 || size == 0xFFFFFFFF || packedSize == 0xFFFFFFFF || member.name == stored ||
            member.name.empty())
            continue;
        if ((flags & 1) == 0 && size <= Archive::kMaxMemberSize &&
            HasSignature(bytes, local, kLocalHeader, kLocalHeaderSize))
        {
            const std::size_t data =
                local + kLocalHeaderSize + Get16(bytes, local + 26) + Get16(bytes, local + 28);
            if (data <= bytes.size() && bytes.size() - data >= packedSize)
                member.bytes = Unpack(bytes.subspan(data, packedSize), method, size, crc);
        }
        if (size <= Archive::kMaxMemberSize)
            total += size;
        members.push_back(std::move(member));
    }
    return members;
}

} // namespace

ArchiveError ReadZipMembers(std::span<const std::uint8_t> bytes,
                            std::vector<ArchiveMember>& members)
{
    const ZipLibrary* zip = ZipLibrary::Get();
    if (!zip)
        return ArchiveError::Corrupt;
    // The headers first, so that an archive too large to unpack is refused before any member
    // is allocated.
    std::uint64_t total = 0;
    std::vector<ArchiveMember> folderNamed = ReadFolderNamedMembers(bytes, total);
    {
        ZipPass pass(*zip, bytes);
        if (!pass.Get())
            return ArchiveError::Corrupt;
        std::size_t entries = 0;
        while (archive_entry* entry = pass.Next())
        {
            ++entries;
            const auto stated = static_cast<std::uint64_t>(zip->size(entry));
            if (zip->filetype(entry) == AE_IFREG && zip->sizeIsSet(entry) &&
                stated <= Archive::kMaxMemberSize)
                total += stated;
        }
        if (total > Archive::kMaxTotalSize)
            return ArchiveError::TooLarge;
        if (entries == 0 && zip->errorNumber(pass.Get()) != 0)
            return ArchiveError::Corrupt;
    }

    ZipPass pass(*zip, bytes);
    if (!pass.Get())
        return ArchiveError::Corrupt;
    while (archive_entry* entry = pass.Next())
    {
        const auto type = zip->filetype(entry);
        if (type == AE_IFDIR)
            continue;
        ArchiveMember member;
        member.name = WithoutTrailingSeparators(MemberName(*zip, entry));
        if (member.name.empty())
            continue;
        member.link = type != AE_IFREG;
        if (!member.link)
            member.bytes = ReadData(*zip, pass.Get(), entry);
        members.push_back(std::move(member));
    }
    for (ArchiveMember& member : folderNamed)
    {
        const auto same = [&](const ArchiveMember& other) { return other.name == member.name; };
        if (std::none_of(members.begin(), members.end(), same))
            members.push_back(std::move(member));
    }
    return ArchiveError::None;
}
