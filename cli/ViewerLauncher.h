#pragma once

#include <filesystem>
#include <vector>

/// Where the viewer proper may be for the launcher at launcher, best first: beside it, as in the
/// build tree, then in the installation's private program folder.
std::vector<std::filesystem::path> ViewerCandidates(const std::filesystem::path& launcher);

/// Replaces this process by the viewer with the same arguments, argv[0] included (the viewer
/// names its instance service after it). Returns only when no viewer could be started, with the
/// exit status, after saying why on standard error.
int StartViewer(char** argv);
