#include "session/SetLayer.h"

#include "archive/ArchiveFileSource.h"
#include "scene/PathParts.h"

#include <filesystem>
#include <system_error>

std::string SetLayer::ConfigName() const
{
    if (archive)
        return MemberBaseName(member);
    return std::filesystem::path(path).filename().string();
}

std::string SetLayer::ReopenPath() const
{
    return archive ? ArchiveMemberPath(path, member) : path;
}

std::string_view SetLayer::MemberBytes() const
{
    const ArchiveMember* config = archive ? archive->Find(member) : nullptr;
    if (!config || !config->bytes)
        return {};
    return {reinterpret_cast<const char*>(config->bytes->data()), config->bytes->size()};
}

namespace
{

std::string Absolute(const std::string& path)
{
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    return absolute.empty() ? path : absolute.lexically_normal().string();
}

OpenOutcome Opened(SetLayer layer)
{
    OpenOutcome outcome;
    outcome.layer = std::move(layer);
    return outcome;
}

OpenOutcome Failed(OpenFailure failure, std::string file, std::string member = {})
{
    OpenOutcome outcome;
    outcome.failure = failure;
    outcome.file = std::move(file);
    outcome.member = std::move(member);
    return outcome;
}

} // namespace

OpenOutcome OpenSetLayer(const std::string& path, const ChooseConfiguration& choose)
{
    std::string file = path;
    std::string member;
    bool isArchive = Archive::HasArchiveExtension(file);
    // A recent-file entry of a set in an archive names the archive and the configuration.
    if (CheckReadable(file) != 0)
    {
        if (auto split = SplitArchiveMemberPath(file))
        {
            file = split->first;
            member = split->second;
            isArchive = true;
        }
    }
    if (const int error = CheckReadable(file))
    {
        OpenOutcome outcome = Failed(OpenFailure::Unreadable, member.empty() ? path : file);
        outcome.systemError = error;
        return outcome;
    }
    SetLayer layer;
    layer.path = Absolute(file);
    if (!isArchive)
    {
        layer.files = std::make_shared<FolderFileSource>(FolderOf(layer.path));
        return Opened(std::move(layer));
    }

    Archive::OpenResult opened = Archive::Open(layer.path);
    if (!opened.archive)
    {
        OpenOutcome outcome = Failed(OpenFailure::ArchiveUnreadable, layer.path);
        outcome.archiveError = opened.error;
        outcome.systemError = opened.errnoValue;
        return outcome;
    }
    layer.archive = std::move(opened.archive);
    if (member.empty())
    {
        const std::vector<std::string> configs = layer.archive->Configurations();
        if (configs.empty())
            return Failed(OpenFailure::NoConfiguration, layer.path);
        std::optional<std::string> chosen = choose(*layer.archive, configs);
        if (!chosen)
            return Failed(OpenFailure::NotChosen, layer.path);
        member = std::move(*chosen);
    }
    const ArchiveMember* config = layer.archive->Find(member);
    if (!config)
        return Failed(OpenFailure::NoSuchMember, layer.path, member);
    if (!config->bytes)
        return Failed(OpenFailure::MemberUnreadable, layer.path, member);
    layer.member = std::move(member);
    layer.files = std::make_shared<ArchiveFileSource>(layer.archive, MemberFolder(layer.member));
    return Opened(std::move(layer));
}
