#include "shell/OpenCheck.h"

#include "shell/UiText.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
const char* MessageFor(int error)
{
    using namespace UiText;
    switch (error)
    {
    case 0:
        return kOpenNoError;
    case ENOENT:
        return kOpenNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        return kOpenBadPath;
    case EMFILE:
    case ENFILE:
        return kOpenTooManyFiles;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return kOpenAccessDenied;
    case EBADF:
        return kOpenInvalidFile;
    case EBUSY:
        return kOpenRemoveCurrentDir;
    case EMLINK:
        return kOpenDirectoryFull;
    case ESPIPE:
        return kOpenBadSeek;
    case EIO:
    case ENXIO:
        return kOpenHardIo;
    case ETXTBSY:
        return kOpenSharingViolation;
    case ENOLCK:
    case EDEADLK:
        return kOpenLockViolation;
    case ENOSPC:
    case EDQUOT:
        return kOpenDiskFull;
    case ENODATA:
        return kOpenEndOfFile;
    default:
        return kOpenGeneric;
    }
}
} // namespace

int CheckReadable(const std::string& path)
{
    // Non-blocking, so that a named pipe cannot hang the program here.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno;
    struct stat info{};
    int error = 0;
    if (::fstat(fd, &info) != 0)
        error = errno;
    else if (S_ISDIR(info.st_mode))
        error = EISDIR;
    else if (!S_ISREG(info.st_mode))
        error = EACCES; // a pipe or device would never end or never answer
    ::close(fd);
    return error;
}

wxString OpenFailureMessage(int error, const wxString& path)
{
    wxString text = Ui(MessageFor(error));
    text.Replace("%1", path);
    return text;
}
