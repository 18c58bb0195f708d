#include "scene/Scene.h"

#include "scene/FileSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace
{

std::string SaveError(const std::string& path, int error)
{
    return "ファイル " + path + " を保存できません。(" + std::strerror(error) + ")";
}

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

bool WriteAllBytes(int fd, const std::string& bytes)
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

/// Writes bytes to a new file beside target, flushes it to disk and renames it over target.
/// Returns 0, or the errno of the step that failed (target then untouched, no file left over).
int ReplaceFile(const std::string& target, const std::string& bytes)
{
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

} // namespace

void Scene::SaveScene(std::ostream& out)
{
    if (!m_config)
        return;
    StorePositions();
    m_config->MergeSetLines(m_workingSets);
    m_config->WriteAll(out);
}

bool Scene::SaveSceneToFile(const std::string& path, std::string* error)
{
    std::ostringstream text(std::ios::binary);
    SaveScene(text);
    const int failure = ReplaceFile(ResolveTarget(path), text.str());
    if (failure != 0 && error)
        *error = SaveError(path, failure);
    return failure == 0;
}
