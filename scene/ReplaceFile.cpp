#include "scene/ReplaceFile.h"

#include "scene/FileSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace
{

/// The file a save replaces: the target of a symbolic link rather than the link itself.
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

bool WriteAllBytes(int fd, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size())
    {
        const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0)
        {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

int ReplaceFile(const std::string& path, std::string_view bytes)
{
    const std::string target = ResolveTarget(path);
    struct stat existing
    {
    };
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return EISDIR;

    const std::string folder = FolderOf(target);
    const std::string name = target.substr(folder.empty() ? 0 : target.rfind('/') + 1);
    std::string temporary =
        (folder.empty() ? std::string() : folder + "/") + "." + name + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return errno;

    int error = 0;
    if (exists)
    {
        // Keep the saved file's permissions and, where allowed, its owner.
        if (fchmod(fd, existing.st_mode & 07777) != 0)
            error = errno;
        else if (fchown(fd, existing.st_uid, existing.st_gid) != 0 && errno != EPERM)
            error = errno;
    }
    else if (fchmod(fd, NewFileMode()) != 0)
    {
        error = errno;
    }
    if (error == 0 && (!WriteAllBytes(fd, bytes) || fsync(fd) != 0))
        error = errno;
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && rename(temporary.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0)
    {
        unlink(temporary.c_str());
        return error;
    }
    // Make the rename itself durable; the new contents are already complete either way.
    const int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0)
    {
        fsync(dir);
        close(dir);
    }
    return 0;
}

