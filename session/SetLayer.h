#pragma once

#include "archive/Archive.h"
#include "scene/FileSource.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// One opened set: a configuration file in its folder, or a configuration in an archive.
struct SetLayer
{
    std::string path;   ///< absolute: the configuration file, or the archive
    std::string member; ///< the configuration inside the archive; empty for a folder
    std::shared_ptr<const Archive> archive;
    std::shared_ptr<FileSource> files;

    /// The configuration's own file name, as titles and diagnostics name it.
    std::string ConfigName() const;
    /// The path that opens this layer again without asking: the file, or "ARCHIVE|MEMBER".
    std::string ReopenPath() const;
    /// The configuration's bytes when it is an archive member; a folder's is read by path.
    std::string_view MemberBytes() const;
};

/// Why a path gave no layer.
enum class OpenFailure : std::uint8_t
{
    None,
    /// The file cannot be read (see systemError), or is no regular file.
    Unreadable,
    /// The archive cannot be read (see archiveError and systemError).
    ArchiveUnreadable,
    /// The archive holds no configuration file.
    NoConfiguration,
    /// The archive holds no member of that name.
    NoSuchMember,
    /// The member is there but its data could not be had.
    MemberUnreadable,
    /// Several configurations, and none was chosen.
    NotChosen,
};

struct OpenOutcome
{
    std::optional<SetLayer> layer;
    OpenFailure failure = OpenFailure::None;
    /// The file the failure is about: the path as given, or the archive that a
    /// "ARCHIVE|MEMBER" path names.
    std::string file;
    int systemError = 0;
    ArchiveError archiveError = ArchiveError::None;
    /// The member a failure names.
    std::string member;
};

/// Which of an archive's configurations (one or more) to open, or nothing to open none.
using ChooseConfiguration =
    std::function<std::optional<std::string>(const Archive&, const std::vector<std::string>&)>;

/// Resolves a configuration file, an archive or an "ARCHIVE|MEMBER" path to a layer. An archive
/// path without a member asks choose. A relative path is made absolute now, so that a change of
/// directory later does not make it name another file.
OpenOutcome OpenSetLayer(const std::string& path, const ChooseConfiguration& choose);
