#include "scene/FileSource.h"

#include "config/AsciiCase.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iterator>

namespace
{

std::optional<std::vector<std::uint8_t>> ReadWhole(const std::string& path)
{
    struct stat info{};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    // Read in one piece at the size the file has now, then whatever it has grown by since;
    // byte by byte through a stream iterator was a good part of loading a large set.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in)
        bytes.insert(bytes.end(), std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return bytes;
}

/// The first name in byte order in folder that equals name ignoring ASCII case.
std::optional<std::string> FindIgnoringCase(const std::string& folder, const std::string& name)
{
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return std::nullopt;
    std::optional<std::string> best;
    while (const dirent* entry = readdir(dir))
    {
        std::string candidate = entry->d_name;
        if (EqualsIgnoringAsciiCase(candidate, name) && (!best || candidate < *best))
            best = std::move(candidate);
    }
    closedir(dir);
    return best;
}

} // namespace

FolderFileSource::FolderFileSource(std::string folder) : m_folder(std::move(folder)) {}

std::optional<std::vector<std::uint8_t>> FolderFileSource::Read(const std::string& name)
{
    if (name.empty())
        return std::nullopt;
    auto join = [this](const std::string& n) { return m_folder.empty() ? n : m_folder + "/" + n; };
    if (auto bytes = ReadWhole(join(name)))
        return bytes;
    // Names in the file never hold a separator, so only the folder itself is searched.
    if (auto actual = FindIgnoringCase(m_folder, name); actual && *actual != name)
        return ReadWhole(join(*actual));
    return std::nullopt;
}

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
        error = EACCES;
    ::close(fd);
    return error;
}
