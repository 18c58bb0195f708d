#include "shell/OpenCheck.h"

#include "i18n/ProblemText.h"
#include "shell/UiText.h"
#include "shell/WxBridge.h"

#include <cerrno>
#include <cstring>

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
wxString ArchiveReason(ArchiveError error, int errnoValue)
{
    switch (error)
    {
    case ArchiveError::CannotOpen:
        return wxString::FromUTF8(std::strerror(errnoValue));
    case ArchiveError::NotAnArchive:
        return Ui(UiText::kArchiveNotAnArchive);
    case ArchiveError::TooLarge:
        return Ui(UiText::kArchiveTooLarge);
    case ArchiveError::None:
    case ArchiveError::Corrupt:
        break;
    }
    return Ui(UiText::kArchiveCorrupt);
}

wxString ArchiveMessage(const char* text, const std::string& archive,
                        const wxString& detail = wxString())
{
    wxString message = Ui(text);
    message.Replace("%1", wxString(archive.c_str(), *wxConvFileName));
    message.Replace("%2", detail);
    return message;
}
} // namespace

wxString OpenOutcomeMessage(const OpenOutcome& outcome)
{
    switch (outcome.failure)
    {
    case OpenFailure::Unreadable:
        return OpenFailureMessage(outcome.systemError,
                                  wxString(outcome.file.c_str(), *wxConvFileName));
    case OpenFailure::ArchiveUnreadable:
        return ArchiveMessage(UiText::kArchiveUnreadable, outcome.file,
                              ArchiveReason(outcome.archiveError, outcome.systemError));
    case OpenFailure::NoConfiguration:
        return ArchiveMessage(UiText::kArchiveNoConfig, outcome.file);
    case OpenFailure::NoSuchMember:
        return ArchiveMessage(UiText::kArchiveNoMember, outcome.file, DecodeCp932(outcome.member));
    case OpenFailure::MemberUnreadable:
        return DecodeMessage(ProblemText(
            Problem{ProblemKind::CannotOpenFile, outcome.member, 0, {outcome.member}}, UiTranslate));
    case OpenFailure::None:
    case OpenFailure::NotChosen:
        break;
    }
    return wxString();
}

wxString OpenFailureMessage(int error, const wxString& path)
{
    wxString text = Ui(MessageFor(error));
    text.Replace("%1", path);
    return text;
}
