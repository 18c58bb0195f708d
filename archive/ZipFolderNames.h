#pragma once

#include "archive/Archive.h"

#include <cstdint>
#include <span>
#include <vector>

/// Members that carry data under a name ending in "/" or "\\". The ZIP library takes them for
/// folders and gives none of their data, so they are found in the central directory and read
/// here (stored or deflated, CRC checked), under their names without the separators. Their
/// sizes are added to total first; nothing is unpacked, and nothing returned, when total then
/// passes the archive's limit or there is no plain central directory. A member never unpacks
/// to more than its stated size.
std::vector<ArchiveMember> ReadFolderNamedMembers(std::span<const std::uint8_t> bytes,
                                                  const ArchiveLimits& limits,
                                                  std::uint64_t& total);
