#include "shell/OpenCheck.h"

#include "shell/UiText.h"

#include <cerrno>

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

wxString OpenFailureMessage(int error, const wxString& path)
{
    wxString text = Ui(MessageFor(error));
    text.Replace("%1", path);
    return text;
}
