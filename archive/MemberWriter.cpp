#include "archive/MemberWriter.h"

#include "archive/ArchiveFileSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <set>

namespace
{

std::string UpperAscii(std::string text)
{
    for (char& c : text)
    {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

bool IsDeviceName(const std::string& part)
{
    const std::string stem = UpperAscii(part.substr(0, part.find('.')));
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL")
        return true;
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) &&
           stem[3] >= '1' && stem[3] <= '9';
}

/// The folder that relative lies in below folder, opened, its missing folders made on the way;
/// -1 with errno set when one cannot be made or is a link: a member must never land outside
/// the folder the user chose.
int OpenParentFolder(const std::string& folder, const std::string& relative)
{
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::size_t start = 0;
    for (std::size_t slash; dir >= 0 && (slash = relative.find('/', start)) != std::string::npos;
         start = slash + 1)
    {
        const std::string part = relative.substr(start, slash - start);
        int next = -1;
        if (::mkdirat(dir, part.c_str(), 0755) == 0 || errno == EEXIST)
            next = ::openat(dir, part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int error = errno;
        ::close(dir);
        errno = error;
        dir = next;
    }
    return dir;
}

/// Creates name in dir with bytes; never replaces an existing file or follows a link there.
/// Returns 0 or the errno of the failure.
int WriteNewFile(int dir, const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    const int fd =
        ::openat(dir, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno;
    std::size_t written = 0;
    while (written < bytes.size())
    {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
        {
            const int reason = n < 0 ? errno : ENOSPC;
            ::close(fd);
            ::unlinkat(dir, name.c_str(), 0);
            return reason;
        }
        written += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0)
    {
        const int reason = errno;
        ::unlinkat(dir, name.c_str(), 0);
        return reason;
    }
    return 0;
}

} // namespace

bool IsSafeMemberPath(const std::string& relative)
{
    if (relative.empty() || relative.front() == '/' || relative.find('\0') != std::string::npos)
        return false;
    if (relative.size() >= 2 && relative[1] == ':')
        return false;
    std::size_t start = 0;
    for (;;)
    {
        const std::size_t slash = relative.find('/', start);
        const std::string part =
            relative.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (part.empty() || part == "." || part == ".." || IsDeviceName(part))
            return false;
        if (slash == std::string::npos)
            return true;
        start = slash + 1;
    }
}

MemberWriteReport WriteArchiveMembers(const std::shared_ptr<const Archive>& archive,
                                      const std::string& configMember,
                                      const std::vector<std::string>& usedNames,
                                      const std::string& folder)
{
    MemberWriteReport report;
    const std::string configFolder = MemberFolder(configMember);
    const std::string prefix = configFolder.empty() ? std::string() : configFolder + "/";

    std::vector<std::pair<std::string, const ArchiveMember*>> plan;
    std::set<std::string> planned;
    auto add = [&](const std::string& relative, const ArchiveMember& member)
    {
        if (!IsSafeMemberPath(relative))
            report.refused.push_back(member.name);
        else if (planned.insert(relative).second)
            plan.emplace_back(relative, &member);
    };
    for (const ArchiveMember& member : archive->Members())
    {
        if (member.name == configMember || !member.name.starts_with(prefix))
            continue;
        if (member.link)
            report.refused.push_back(member.name);
        else
            add(member.name.substr(prefix.size()), member);
    }
    const ArchiveFileSource files(archive, configFolder);
    for (const std::string& name : usedNames)
    {
        const ArchiveMember* member = files.Lookup(name);
        // A member right in the configuration's folder is written at its own path already,
        // where the saved set finds it as it found it in the archive.
        if (member && !member->link && member->name != configMember &&
            member->name != prefix + MemberBaseName(member->name) && !planned.contains(name))
            add(name, *member);
    }

    for (const auto& [relative, member] : plan)
    {
        if (!member->bytes)
            continue;
        const int dir = OpenParentFolder(folder, relative);
        if (dir < 0)
        {
            report.failed.emplace_back(relative, errno);
            continue;
        }
        const std::string name = MemberBaseName(relative);
        struct stat info
        {
        };
        if (::fstatat(dir, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        {
            if (const int reason = WriteNewFile(dir, name, *member->bytes))
                report.failed.emplace_back(relative, reason);
        }
        ::close(dir);
    }
    return report;
}
