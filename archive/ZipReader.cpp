#include "archive/Archive.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>

namespace
{

/// Owns the library's reader over one pass of the archive. Only ZIP is enabled: nothing else
/// the library knows should open under an archive's name.
class ZipPass
{
public:
    explicit ZipPass(std::span<const std::uint8_t> bytes) : m_archive(archive_read_new())
    {
        if (!m_archive)
            return;
        archive_read_support_format_zip(m_archive);
        if (archive_read_open_memory(m_archive, bytes.data(), bytes.size()) != ARCHIVE_OK)
        {
            archive_read_free(m_archive);
            m_archive = nullptr;
        }
    }
    ~ZipPass()
    {
        if (m_archive)
            archive_read_free(m_archive);
    }
    ZipPass(const ZipPass&) = delete;
    ZipPass& operator=(const ZipPass&) = delete;

    archive* Get() const { return m_archive; }

    /// The next entry, or null at the end or when the rest cannot be read.
    archive_entry* Next()
    {
        archive_entry* entry = nullptr;
        const int status = archive_read_next_header(m_archive, &entry);
        return status == ARCHIVE_OK || status == ARCHIVE_WARN ? entry : nullptr;
    }

private:
    archive* m_archive;
};

/// The name exactly as stored: the library gives stored bytes as they are unless the entry is
/// marked UTF-8, which it would convert to the locale's code page, so those come as UTF-8.
std::string MemberName(archive_entry* entry)
{
    if (const char* name = archive_entry_pathname(entry))
        return name;
    if (const char* name = archive_entry_pathname_utf8(entry))
        return name;
    return {};
}

std::optional<std::vector<std::uint8_t>> ReadData(archive* reader, archive_entry* entry)
{
    const bool sized = archive_entry_size_is_set(entry);
    const auto stated = static_cast<std::uint64_t>(archive_entry_size(entry));
    if (archive_entry_is_encrypted(entry) || (sized && stated > Archive::kMaxMemberSize))
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    // Reserved only up to a modest size: a damaged header must not cost what it claims.
    if (sized)
        bytes.reserve(std::min<std::uint64_t>(stated, 4u << 20));
    std::uint8_t block[64 * 1024];
    for (;;)
    {
        const la_ssize_t got = archive_read_data(reader, block, sizeof block);
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

} // namespace

ArchiveError ReadZipMembers(std::span<const std::uint8_t> bytes,
                            std::vector<ArchiveMember>& members)
{
    // The headers first, so that an archive too large to unpack is refused before any member
    // is allocated.
    {
        ZipPass pass(bytes);
        if (!pass.Get())
            return ArchiveError::Corrupt;
        std::uint64_t total = 0;
        std::size_t entries = 0;
        while (archive_entry* entry = pass.Next())
        {
            ++entries;
            const auto stated = static_cast<std::uint64_t>(archive_entry_size(entry));
            if (archive_entry_filetype(entry) == AE_IFREG && archive_entry_size_is_set(entry) &&
                stated <= Archive::kMaxMemberSize)
                total += stated;
        }
        if (total > Archive::kMaxTotalSize)
            return ArchiveError::TooLarge;
        if (entries == 0 && archive_errno(pass.Get()) != 0)
            return ArchiveError::Corrupt;
    }

    ZipPass pass(bytes);
    if (!pass.Get())
        return ArchiveError::Corrupt;
    while (archive_entry* entry = pass.Next())
    {
        const auto type = archive_entry_filetype(entry);
        if (type == AE_IFDIR)
            continue;
        ArchiveMember member;
        member.name = MemberName(entry);
        if (member.name.empty())
            continue;
        member.link = type != AE_IFREG;
        if (!member.link)
            member.bytes = ReadData(pass.Get(), entry);
        members.push_back(std::move(member));
    }
    return ArchiveError::None;
}
