#pragma once

#include "archive/Archive.h"

#include <string>
#include <utility>
#include <vector>

/// Whether a member's path may be written below a folder: relative, without "." or ".."
/// parts, drive letters or device names (CON, PRN, AUX, NUL, COM1-9, LPT1-9).
bool IsSafeMemberPath(const std::string& relative);

struct MemberWriteReport
{
    /// Members not written because of their name or kind (links), as stored.
    std::vector<std::string> refused;
    /// Members that could not be written: relative path, errno.
    std::vector<std::pair<std::string, int>> failed;
};

/// Writes into folder what a set saved there from an archive needs besides its configuration:
/// every member in the configuration's folder inside the archive at its path relative to that
/// folder, and every file the configuration names (usedNames) that the archive gives from
/// elsewhere, under that name. Files that exist already are never touched; unsafe paths are
/// all sorted out before anything is written.
MemberWriteReport WriteArchiveMembers(const std::shared_ptr<const Archive>& archive,
                                      const std::string& configMember,
                                      const std::vector<std::string>& usedNames,
                                      const std::string& folder);
