#pragma once

#include <string>
#include <string_view>

/// Replaces the file at path with bytes, or creates it, so that it is never seen half written:
/// the bytes go to a new file of an unpredictable name beside it (created exclusively, so a
/// link planted there is never followed), which is flushed to disk and renamed over path only
/// when every byte is written. A symbolic link at path has its target replaced; the file keeps
/// its permissions and, where allowed, its owner. Returns 0, or the errno of the step that
/// failed: the old file is then untouched and no temporary file is left.
int ReplaceFile(const std::string& path, std::string_view bytes);
