// Opens arbitrary bytes as an archive and reads every member through the set's file lookup.
#include "archive/ArchiveFileSource.h"

#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Archive::OpenResult opened = Archive::FromBytes(std::span<const std::uint8_t>(data, size));
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
            if (member.bytes->size() > Archive::kMaxMemberSize)
                std::abort();
            total += member.bytes->size();
        }
    }
    if (total > Archive::kMaxTotalSize)
        std::abort();
    for (const std::string& config : archive->Configurations())
    {
        ArchiveFileSource files(archive, MemberFolder(config));
        for (const ArchiveMember& member : archive->Members())
            files.Read(MemberBaseName(member.name));
    }
    return 0;
}
