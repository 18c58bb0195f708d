#include "archive/Archive.h"

#include "config/AsciiCase.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <fstream>

namespace
{

bool EndsWithIgnoringAsciiCase(const std::string& text, std::string_view suffix)
{
    if (text.size() < suffix.size())
        return false;
    return std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<long>(suffix.size()),
                      [](char a, char b)
                      {
                          auto upper = [](char c)
                          { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; };
                          return upper(a) == upper(b);
                      });
}

bool LooksLikeZip(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= 4 && bytes[0] == 'P' && bytes[1] == 'K' &&
           ((bytes[2] == 3 && bytes[3] == 4) || (bytes[2] == 5 && bytes[3] == 6));
}


/// The method field "-l??-" of the first header, which every header level puts at offset 2.
bool LooksLikeLzh(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= 21 && bytes[2] == '-' && bytes[3] == 'l' && bytes[6] == '-';
}

} // namespace

bool Archive::HasArchiveExtension(const std::string& path)
{
    return EndsWithIgnoringAsciiCase(path, ".LZH") || EndsWithIgnoringAsciiCase(path, ".LHA") ||
           EndsWithIgnoringAsciiCase(path, ".ZIP");
}

Archive::OpenResult Archive::Open(const std::string& path)
{
    OpenResult result;
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0)
    {
        result.error = ArchiveError::CannotOpen;
        result.errnoValue = errno;
        return result;
    }
    if (!S_ISREG(info.st_mode))
    {
        result.error = ArchiveError::CannotOpen;
        result.errnoValue = S_ISDIR(info.st_mode) ? EISDIR : EACCES;
        return result;
    }
    // The packed bytes can never need more room than the members they unpack to.
    if (static_cast<std::uint64_t>(info.st_size) > kMaxTotalSize)
    {
        result.error = ArchiveError::TooLarge;
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in)
    {
        result.error = ArchiveError::CannotOpen;
        result.errnoValue = errno != 0 ? errno : EACCES;
        return result;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size()))
    {
        result.error = ArchiveError::CannotOpen;
        result.errnoValue = EIO;
        return result;
    }
    return FromBytes(bytes);
}

Archive::OpenResult Archive::FromBytes(std::span<const std::uint8_t> bytes,
                                       const ArchiveLimits& limits)
{
    OpenResult result;
    std::vector<ArchiveMember> members;
    if (LooksLikeZip(bytes))
        result.error = ReadZipMembers(bytes, limits, members);
    else if (LooksLikeLzh(bytes))
        result.error = ReadLzhMembers(bytes, limits, members);
    else
        result.error = ArchiveError::NotAnArchive;
    if (result.error == ArchiveError::None)
    {
        result.archive.reset(new Archive);
        result.archive->m_members = std::move(members);
        result.archive->IndexNames();
    }
    return result;
}

void Archive::IndexNames()
{
    for (auto* index : {&m_byName, &m_byFoldedName})
        index->reserve(m_members.size());
    for (auto* index : {&m_byBaseName, &m_byFoldedBaseName})
        index->reserve(m_members.size());
    for (std::size_t i = 0; i < m_members.size(); ++i)
    {
        const std::string& name = m_members[i].name;
        std::string folded = LowerAscii(name);
        const std::size_t base = name.rfind('/') + 1; // 0 without a folder
        for (const auto& [index, key] : {std::pair{&m_byBaseName, name.substr(base)},
                                         std::pair{&m_byFoldedBaseName, folded.substr(base)}})
        {
            BaseNameMatch& match = (*index)[key];
            if (match.count++ == 0)
                match.member = &m_members[i];
        }
        m_byName.try_emplace(name, i);
        const auto [found, added] = m_byFoldedName.try_emplace(std::move(folded), i);
        if (!added && name < m_members[found->second].name)
            found->second = i;
    }
}

const ArchiveMember* Archive::Find(const std::string& name) const
{
    const auto found = m_byName.find(name);
    return found == m_byName.end() ? nullptr : &m_members[found->second];
}

const ArchiveMember* Archive::FindIgnoringCase(const std::string& name) const
{
    const auto found = m_byFoldedName.find(LowerAscii(name));
    return found == m_byFoldedName.end() ? nullptr : &m_members[found->second];
}

Archive::BaseNameMatch Archive::FindBaseName(const std::string& base, LetterCase letterCase) const
{
    const auto& index = letterCase == LetterCase::Exact ? m_byBaseName : m_byFoldedBaseName;
    const auto found =
        index.find(letterCase == LetterCase::Exact ? base : LowerAscii(base));
    return found == index.end() ? BaseNameMatch{} : found->second;
}

std::vector<std::string> Archive::Configurations() const
{
    std::vector<std::string> names;
    for (const ArchiveMember& member : m_members)
    {
        if (!member.link && EndsWithIgnoringAsciiCase(member.name, ".CNF"))
            names.push_back(member.name);
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

std::string WithoutTrailingSeparators(std::string name)
{
    // Where the name ends, counting a Shift-JIS character as one.
    std::size_t keep = 0;
    for (std::size_t i = 0; i < name.size(); ++i)
    {
        const auto byte = static_cast<std::uint8_t>(name[i]);
        const bool lead = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        if (lead && i + 1 < name.size())
            keep = ++i + 1;
        else if (byte != '/' && byte != '\\')
            keep = i + 1;
    }
    name.resize(keep);
    return name;
}
