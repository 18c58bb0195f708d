#pragma once

#include "scene/FileSource.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

/// Serves a set made by a benchmark from memory, so that file reads stay out of the figures.
class MemoryFiles : public FileSource
{
public:
    std::optional<std::vector<std::uint8_t>> Read(const std::string& name) override
    {
        const auto found = files.find(name);
        if (found == files.end())
            return std::nullopt;
        return found->second;
    }

    std::map<std::string, std::vector<std::uint8_t>> files;
};

/// Stores a little-endian 16-bit value, as cel and palette headers hold them.
inline void PutWord(std::vector<std::uint8_t>& bytes, std::size_t at, int value)
{
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}
