// Opens arbitrary bytes as an archive and reads every member through the set's file lookup.
// The limits are small, so that an input that unpacks to more than they allow (a streamed ZIP
// whose sizes follow its data, say) shows at fuzzing speed.
#include "archive/ArchiveFileSource.h"

#include <cstdlib>
#include <span>

namespace
{
constexpr ArchiveLimits kLimits{std::uint64_t{1} << 20, std::uint64_t{4} << 20};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Archive::OpenResult opened =
        Archive::FromBytes(std::span<const std::uint8_t>(data, size), kLimits);
    if (!opened.archive)
    {
        if (opened.error == ArchiveError::None)
            std::abort();
        return 0;
    }
    std::shared_ptr<const Archive> archive = std::move(opened.archive);
    std::uint64_t total = 0;
    for (const ArchiveMember& member : archive->Members())
    {
        if (member.bytes)
        {
            if (member.bytes->size() > kLimits.member)
                std::abort();
            total += member.bytes->size();
        }
    }
    if (total > kLimits.total)
        std::abort();
    for (const std::string& config : archive->Configurations())
    {
        ArchiveFileSource files(archive, MemberFolder(config));
        for (const ArchiveMember& member : archive->Members())
            files.Read(MemberBaseName(member.name));
    }
    return 0;
}
