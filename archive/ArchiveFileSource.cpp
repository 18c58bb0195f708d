#include "archive/ArchiveFileSource.h"

#include "config/AsciiCase.h"

#include <algorithm>
#include <cstdio>

namespace
{

bool NeedsEscape(unsigned char c)
{
    return c >= 0x80 || c < 0x20 || c == '%' || c == '|';
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

ArchiveFileSource::ArchiveFileSource(std::shared_ptr<const Archive> archive, std::string folder)
    : m_archive(std::move(archive)), m_folder(std::move(folder))
{
}

std::optional<std::vector<std::uint8_t>> ArchiveFileSource::Read(const std::string& name)
{
    const ArchiveMember* member = Lookup(name);
    if (!member || member->link)
        return std::nullopt;
    return member->bytes;
}

const ArchiveMember* ArchiveFileSource::Lookup(const std::string& name) const
{
    if (name.empty())
        return nullptr;
    const std::string wanted = m_folder.empty() ? name : m_folder + "/" + name;
    if (const ArchiveMember* exact = m_archive->Find(wanted))
        return exact;
    if (const ArchiveMember* folded = m_archive->FindIgnoringCase(wanted))
        return folded;

    // Elsewhere in the archive: only a single member of that base name is trusted, byte for
    // byte first, then ignoring case.
    const std::string base = MemberBaseName(name);
    for (const Archive::LetterCase letterCase :
         {Archive::LetterCase::Exact, Archive::LetterCase::Ignored})
    {
        const Archive::BaseNameMatch match = m_archive->FindBaseName(base, letterCase);
        if (match.count == 1)
            return match.member;
        if (match.count > 1)
            return nullptr;
    }
    return nullptr;
}

std::string ArchiveMemberPath(const std::string& archivePath, const std::string& member)
{
    std::string path = archivePath + "|";
    for (const char c : member)
    {
        const auto byte = static_cast<unsigned char>(c);
        if (NeedsEscape(byte))
        {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            path += escaped;
        }
        else
        {
            path += c;
        }
    }
    return path;
}

std::optional<std::pair<std::string, std::string>> SplitArchiveMemberPath(const std::string& path)
{
    const auto bar = path.rfind('|');
    if (bar == std::string::npos || bar == 0 || bar + 1 == path.size())
        return std::nullopt;
    std::string archivePath = path.substr(0, bar);
    if (!Archive::HasArchiveExtension(archivePath))
        return std::nullopt;
    std::string member;
    for (std::size_t i = bar + 1; i < path.size(); ++i)
    {
        if (path[i] != '%')
        {
            member += path[i];
            continue;
        }
        if (i + 2 >= path.size() || HexValue(path[i + 1]) < 0 || HexValue(path[i + 2]) < 0)
            return std::nullopt;
        member += static_cast<char>(HexValue(path[i + 1]) * 16 + HexValue(path[i + 2]));
        i += 2;
    }
    return std::make_pair(std::move(archivePath), std::move(member));
}

std::string MemberFolder(const std::string& member)
{
    const auto slash = member.rfind('/');
    return slash == std::string::npos ? std::string() : member.substr(0, slash);
}

std::string MemberBaseName(const std::string& member)
{
    const auto slash = member.rfind('/');
    return slash == std::string::npos ? member : member.substr(slash + 1);
}

std::string FirstCommentLine(const std::vector<std::uint8_t>& config)
{
    std::size_t start = 0;
    while (start < config.size() && config[start] != 0x1A)
    {
        std::size_t end = start;
        while (end < config.size() && config[end] != '\n' && config[end] != 0x1A)
            ++end;
        if (config[start] == ';')
        {
            std::string text(config.begin() + static_cast<long>(start) + 1,
                             config.begin() + static_cast<long>(end));
            const auto first = text.find_first_not_of(" \t\r");
            if (first == std::string::npos)
                return {};
            const auto last = text.find_last_not_of(" \t\r");
            return text.substr(first, last - first + 1);
        }
        start = end + 1;
    }
    return {};
}

std::optional<std::string> MatchConfiguration(const std::vector<std::string>& configs,
                                              const std::string& name)
{
    for (const std::string& config : configs)
    {
        if (EqualsIgnoringAsciiCase(config, name))
            return config;
    }
    for (const std::string& config : configs)
    {
        if (EqualsIgnoringAsciiCase(MemberBaseName(config), name))
            return config;
    }
    return std::nullopt;
}

LayeredFileSource::LayeredFileSource(std::shared_ptr<FileSource> top,
                                     std::shared_ptr<FileSource> below)
    : m_top(std::move(top)), m_below(std::move(below))
{
}

std::optional<std::vector<std::uint8_t>> LayeredFileSource::Read(const std::string& name)
{
    if (auto bytes = m_top->Read(name))
        return bytes;
    return m_below->Read(name);
}
