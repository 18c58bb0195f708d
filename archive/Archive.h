#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

/// One file of an archive, decompressed when it was opened.
struct ArchiveMember
{
    /// The stored name as raw bytes (Shift-JIS in Japanese sets), folders joined by "/".
    std::string name;
    /// Nothing when the member could not be read: corrupt, a CRC that does not match, an
    /// unsupported method, encryption, or a stated size over the limit.
    std::optional<std::vector<std::uint8_t>> bytes;
    /// A symbolic link: never read, never written out.
    bool link = false;
};

/// What an archive may unpack to: each member, and all members together. Counted on what
/// really decodes, not only on what headers claim.
struct ArchiveLimits
{
    std::uint64_t member = std::uint64_t{256} << 20;
    std::uint64_t total = std::uint64_t{1} << 30;
};

enum class ArchiveError
{
    None,
    CannotOpen,   ///< the file cannot be opened or read; see the errno
    NotAnArchive, ///< neither an LZH nor a ZIP archive
    Corrupt,      ///< the archive's own structure cannot be read
    TooLarge,     ///< a member over 256 MiB or members over 1 GiB together
};

/// An LZH or ZIP archive read once into memory: every member is decompressed and checked when
/// it is opened, so nothing is written to disk and later reads cost nothing.
class Archive
{
public:
    static constexpr std::uint64_t kMaxMemberSize = ArchiveLimits{}.member;
    static constexpr std::uint64_t kMaxTotalSize = ArchiveLimits{}.total;

    struct OpenResult
    {
        std::unique_ptr<Archive> archive;
        ArchiveError error = ArchiveError::None;
        int errnoValue = 0;
    };

    /// Whether the name ends in ".LZH", ".LHA" or ".ZIP" in any case.
    static bool HasArchiveExtension(const std::string& path);
    static OpenResult Open(const std::string& path);
    static OpenResult FromBytes(std::span<const std::uint8_t> bytes,
                                const ArchiveLimits& limits = {});

    const std::vector<ArchiveMember>& Members() const { return m_members; }
    /// The member stored under exactly this name (a link or not), or null.
    const ArchiveMember* Find(const std::string& name) const;
    /// Of the members whose names equal name ignoring ASCII case, the first in byte order.
    const ArchiveMember* FindIgnoringCase(const std::string& name) const;

    enum class LetterCase
    {
        Exact,
        Ignored,
    };
    struct BaseNameMatch
    {
        const ArchiveMember* member = nullptr; ///< the first of them
        std::size_t count = 0;
    };
    /// The members, in any folder, whose base name is base.
    BaseNameMatch FindBaseName(const std::string& base, LetterCase letterCase) const;
    /// The members whose name ends in ".CNF" in any case, in byte order of their names.
    std::vector<std::string> Configurations() const;

    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

private:
    Archive() = default;
    /// Indexes the names once: sets of many cels look each of them up.
    void IndexNames();

    std::vector<ArchiveMember> m_members;
    std::unordered_map<std::string, std::size_t> m_byName;
    std::unordered_map<std::string, std::size_t> m_byFoldedName;
    std::unordered_map<std::string, BaseNameMatch> m_byBaseName;
    std::unordered_map<std::string, BaseNameMatch> m_byFoldedBaseName;
};

/// name without the "/" and "\\" at its end, as readers take the name of a member that carries
/// data. A backslash that is the second byte of a Shift-JIS character stays.
std::string WithoutTrailingSeparators(std::string name);

/// Readers of the two formats: fill members, or say why the archive cannot be read.
ArchiveError ReadLzhMembers(std::span<const std::uint8_t> bytes, const ArchiveLimits& limits,
                            std::vector<ArchiveMember>& members);
ArchiveError ReadZipMembers(std::span<const std::uint8_t> bytes, const ArchiveLimits& limits,
                            std::vector<ArchiveMember>& members);
