#pragma once

#include <string>

/// The folder part of a path: the text before the last "/", or "" when there is none.
std::string FolderOf(const std::string& path);
