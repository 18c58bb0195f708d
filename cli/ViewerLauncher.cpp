#include "cli/ViewerLauncher.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <system_error>

namespace
{

constexpr const char* kViewerName = "velquin-viewer";
// The exit status of a shell that cannot run a command.
constexpr int kCannotStart = 127;

} // namespace

std::vector<std::filesystem::path> ViewerCandidates(const std::filesystem::path& launcher)
{
    const std::filesystem::path folder = launcher.parent_path();
    return {folder / kViewerName,
            (folder / VELQUIN_VIEWER_FROM_BINDIR / kViewerName).lexically_normal()};
}

int StartViewer(char** argv)
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
    {
        std::cerr << "velquin: cannot start the viewer: cannot find this program's folder ("
                  << error.message() << ")\n";
        return kCannotStart;
    }
    std::string reasons;
    for (const std::filesystem::path& viewer : ViewerCandidates(self))
    {
        execv(viewer.c_str(), argv);
        reasons += "\n  " + viewer.string() + ": " + std::strerror(errno);
    }
    std::cerr << "velquin: cannot start the viewer:" << reasons << '\n';
    return kCannotStart;
}
