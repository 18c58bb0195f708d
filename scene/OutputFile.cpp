#include "scene/OutputFile.h"

#include "scene/PathParts.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

namespace
{
/// The file a write replaces: the target of a symbolic link rather than the link itself.
std::string ResolveTarget(const std::string& path)
{
    char resolved[PATH_MAX];
    struct stat info
    {
    };
    if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) &&
        realpath(path.c_str(), resolved))
        return resolved;
    return path;
}

mode_t NewFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}
} // namespace

OutputFile::Buffer::Buffer()
{
    setp(m_bytes.data(), m_bytes.data() + m_bytes.size());
}

OutputFile::Buffer::int_type OutputFile::Buffer::overflow(int_type c)
{
    if (!Drain())
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof()))
    {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int OutputFile::Buffer::sync()
{
    return Drain() ? 0 : -1;
}

bool OutputFile::Buffer::Drain()
{
    if (m_error != 0)
        return false;
    const char* next = pbase();
    while (next < pptr())
    {
        const ssize_t written = write(m_fd, next, static_cast<std::size_t>(pptr() - next));
        if (written < 0)
        {
            if (errno == EINTR)
                continue;
            m_error = errno;
            return false;
        }
        next += written;
    }
    setp(m_bytes.data(), m_bytes.data() + m_bytes.size());
    return true;
}

OutputFile::OutputFile(std::string target) : m_target(ResolveTarget(target)), m_stream(&m_buffer)
{
}

OutputFile::~OutputFile()
{
    if (m_fd >= 0)
    {
        close(m_fd);
        unlink(m_temporary.c_str());
    }
}

int OutputFile::Open()
{
    struct stat existing
    {
    };
    const bool exists = stat(m_target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return EISDIR;

    const std::string folder = FolderOf(m_target);
    const std::string name = m_target.substr(folder.empty() ? 0 : m_target.rfind('/') + 1);
    std::string temporary = (folder.empty() ? std::string() : folder + "/") + "." + name + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return errno;
    m_fd = fd;
    m_temporary = std::move(temporary);
    m_buffer.Attach(fd);
    // A replaced file keeps its permissions and, where allowed, its owner; a new one gets
    // what any new file would get.
    if (fchmod(fd, exists ? existing.st_mode & 07777 : NewFileMode()) != 0)
        return errno;
    if (exists && fchown(fd, existing.st_uid, existing.st_gid) != 0 && errno != EPERM)
        return errno;
    return 0;
}

int OutputFile::Commit()
{
    if (m_fd < 0)
        return EBADF;
    int error = 0;
    if (m_buffer.pubsync() != 0 || m_buffer.Error() != 0)
        error = m_buffer.Error();
    else if (fsync(m_fd) != 0)
        error = errno;
    if (close(m_fd) != 0 && error == 0)
        error = errno;
    m_fd = -1;
    if (error == 0 && rename(m_temporary.c_str(), m_target.c_str()) != 0)
        error = errno;
    if (error != 0)
    {
        unlink(m_temporary.c_str());
        return error;
    }
    // Make the rename itself durable; the new contents are complete either way.
    const std::string folder = FolderOf(m_target);
    const int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0)
    {
        fsync(dir);
        close(dir);
    }
    return 0;
}
