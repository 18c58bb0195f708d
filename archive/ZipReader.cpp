#include "archive/Archive.h"

#include "archive/ZipFolderNames.h"

#include <archive.h>
#include <archive_entry.h>

#include <dlfcn.h>

#include <algorithm>
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

/// A member's data, or nothing when it cannot be read or would pass limit. budget is what the
/// archive may still unpack: it shrinks by every byte decoded, so sizes that only a data
/// descriptor states after the data are held to the limits as the data comes. tooLarge is set
/// when the budget runs out, or when a member of unstated size passes limit: the rest of it
/// could only be skipped by decoding it.
std::optional<std::vector<std::uint8_t>> ReadData(const ZipLibrary& zip, archive* reader,
                                                  archive_entry* entry, std::uint64_t limit,
                                                  std::uint64_t& budget, bool& tooLarge)
{
    const bool sized = zip.sizeIsSet(entry);
    const auto stated = static_cast<std::uint64_t>(zip.size(entry));
    if (zip.isEncrypted(entry) || (sized && stated > limit))
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
        const auto count = static_cast<std::uint64_t>(got);
        if (count > budget || bytes.size() + count > limit)
        {
            tooLarge = count > budget || !sized;
            return std::nullopt;
        }
        budget -= count;
        bytes.insert(bytes.end(), block, block + got);
    }
    if (sized && bytes.size() != stated)
        return std::nullopt;
    return bytes;
}

} // namespace

ArchiveError ReadZipMembers(std::span<const std::uint8_t> bytes, const ArchiveLimits& limits,
                            std::vector<ArchiveMember>& members)
{
    const ZipLibrary* zip = ZipLibrary::Get();
    if (!zip)
        return ArchiveError::Corrupt;
    // The headers first, so that an archive too large to unpack is refused before any member
    // is allocated. A member whose size only follows its data ends this look: the library
    // would have to decode it to find the next header, and the reading pass below counts it.
    std::vector<ArchiveMember> folderNamed;
    {
        ZipPass pass(*zip, bytes);
        if (!pass.Get())
            return ArchiveError::Corrupt;
        std::uint64_t total = 0;
        std::size_t entries = 0;
        while (archive_entry* entry = pass.Next())
        {
            ++entries;
            if (zip->filetype(entry) != AE_IFREG)
                continue;
            if (!zip->sizeIsSet(entry))
                break;
            const auto stated = static_cast<std::uint64_t>(zip->size(entry));
            if (stated <= limits.member)
                total += stated;
        }
        folderNamed = ReadFolderNamedMembers(bytes, limits, total);
        if (total > limits.total)
            return ArchiveError::TooLarge;
        if (entries == 0 && zip->errorNumber(pass.Get()) != 0)
            return ArchiveError::Corrupt;
    }

    ZipPass pass(*zip, bytes);
    if (!pass.Get())
        return ArchiveError::Corrupt;
    // What the members under folder names unpacked to counts against the same limit.
    std::uint64_t budget = limits.total;
    for (const ArchiveMember& member : folderNamed)
        budget -= member.bytes ? std::min<std::uint64_t>(member.bytes->size(), budget) : 0;
    bool tooLarge = false;
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
        {
            member.bytes = ReadData(*zip, pass.Get(), entry, limits.member, budget, tooLarge);
            if (tooLarge)
                return ArchiveError::TooLarge;
        }
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
