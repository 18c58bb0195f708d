#pragma once

#include "archive/Archive.h"
#include "scene/FileSource.h"

#include <memory>
#include <string>
#include <vector>

/// The members of an archive as the files of a set whose configuration lies in folder (a
/// folder inside the archive, "" for the top). A name is looked up in that folder byte for
/// byte, then ignoring ASCII case; when it is not there, a member of that base name anywhere
/// in the archive is used if it is the only one (sets are often packed with stray folders).
class ArchiveFileSource : public FileSource
{
public:
    ArchiveFileSource(std::shared_ptr<const Archive> archive, std::string folder);
    std::optional<std::vector<std::uint8_t>> Read(const std::string& name) override;

    /// The member that Read takes name from, or null.
    const ArchiveMember* Lookup(const std::string& name) const;

private:
    std::shared_ptr<const Archive> m_archive;
    std::string m_folder;
};

/// The configuration member of an archive and where its set's files come from. A path names
/// such a member as "ARCHIVE|MEMBER" with the member's bytes above 0x7F, "%" and "|"
/// written as "%XX", so the text survives any file of settings.
std::string ArchiveMemberPath(const std::string& archivePath, const std::string& member);
/// The archive and member that path names, or nothing when it is not such a path.
std::optional<std::pair<std::string, std::string>> SplitArchiveMemberPath(const std::string& path);

/// The folder part of a member name ("" at the top) and its base name.
std::string MemberFolder(const std::string& member);
std::string MemberBaseName(const std::string& member);

/// The text of the first comment line (";") of a configuration, without the ";" and the
/// spaces around it, as raw bytes; "" when there is none.
std::string FirstCommentLine(const std::vector<std::uint8_t>& config);

/// The configuration among configs whose name, with or without its folder, equals name
/// ignoring ASCII case; a full-name match wins, then the first in the list.
std::optional<std::string> MatchConfiguration(const std::vector<std::string>& configs,
                                              const std::string& name);

/// A set's files in layers: an add-on's files first, then those of the set beneath it.
class LayeredFileSource : public FileSource
{
public:
    LayeredFileSource(std::shared_ptr<FileSource> top, std::shared_ptr<FileSource> below);
    std::optional<std::vector<std::uint8_t>> Read(const std::string& name) override;

private:
    std::shared_ptr<FileSource> m_top;
    std::shared_ptr<FileSource> m_below;
};
