#pragma once

#include "archive/Archive.h"
#include "image/PngWriter.h"

#include <string>

// The command line's own words for what the core reports; they stay English, as its usage does.

/// Why an archive cannot be opened: "not an LZH or ZIP archive", or the system's reason.
std::string ArchiveErrorText(ArchiveError error, int errnoValue);

/// "cannot write PATH: REASON".
std::string PngWriteErrorText(const std::string& path, const PngWriteError& error);
