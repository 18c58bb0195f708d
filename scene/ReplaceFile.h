#pragma once

#include <string>
#include <string_view>

/// Replaces the file at path with bytes, or creates it, through an OutputFile: it is never seen
/// half written. Returns 0, or the errno of the step that failed: the old file is then
/// untouched and no temporary file is left.
int ReplaceFile(const std::string& path, std::string_view bytes);
