#pragma once

#include "scene/PathParts.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

/// The one place where cel and palette files are opened: resolves a name as written in the
/// configuration file and returns the file's bytes, or nothing when it cannot be opened.
struct FileSource
{
    virtual ~FileSource() = default;
    virtual std::optional<std::vector<std::uint8_t>> Read(const std::string& name) = 0;
};

/// Files in one folder. A name that does not exist as written is looked up ignoring ASCII
/// letter case (real sets write "FUKIDASI.CEL" for fukidasi.cel); of several matches the first
/// in byte order wins.
class FolderFileSource : public FileSource
{
public:
    /// An empty folder means the current directory.
    explicit FolderFileSource(std::string folder);
    std::optional<std::vector<std::uint8_t>> Read(const std::string& name) override;

private:
    std::string m_folder;
};

/// Whether the file can be opened for reading, checked without waiting on it. Returns 0 or the
/// errno of the failure; a folder counts as EISDIR, anything else that is not a regular file (a
/// pipe or a device, which would never end or never answer) as EACCES.
int CheckReadable(const std::string& path);
