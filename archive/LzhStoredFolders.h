#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// liblhasa refuses a "-lhd-" (folder) header that carries data unless its name has a folder
// part, and ends the archive there. Some set editors write every member that way.

/// Whether the header at offset says "-lhd-" yet states a size.
bool IsStoredFolderHeader(std::span<const std::uint8_t> bytes, std::size_t offset);

/// Makes the header at offset, one that IsStoredFolderHeader accepts, say "-lh0-" (stored),
/// keeping its check sums right, so that liblhasa reads it as the file that it is. False when
/// its level is not 0 to 2 or it does not fit in the archive.
bool MarkStored(std::vector<std::uint8_t>& bytes, std::size_t offset);
