#include "cli/FailureText.h"

#include <cstring>

std::string ArchiveErrorText(ArchiveError error, int errnoValue)
{
    switch (error)
    {
    case ArchiveError::None:
        return "no error";
    case ArchiveError::CannotOpen:
        return std::strerror(errnoValue);
    case ArchiveError::NotAnArchive:
        return "not an LZH or ZIP archive";
    case ArchiveError::Corrupt:
        return "the archive is damaged";
    case ArchiveError::TooLarge:
        return "the archive unpacks to more than 1 GiB or holds a file over 256 MiB";
    }
    return {};
}

std::string PngWriteErrorText(const std::string& path, const PngWriteError& error)
{
    std::string reason;
    switch (error.kind)
    {
    case PngWriteError::Kind::NoPicture:
        reason = "no picture to write";
        break;
    case PngWriteError::Kind::Encoding:
        reason = error.libraryMessage;
        break;
    case PngWriteError::Kind::Replacing:
        reason = std::strerror(error.systemError);
        break;
    }
    return "cannot write " + path + ": " + reason;
}
