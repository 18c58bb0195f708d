#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PngWriteError
{
    enum class Kind : std::uint8_t
    {
        /// The size is not positive or rgb does not hold it.
        NoPicture,
        /// The encoder refused; libraryMessage says why.
        Encoding,
        /// The file cannot be replaced; systemError says why.
        Replacing,
    };
    Kind kind = Kind::NoPicture;
    std::string libraryMessage;
    int systemError = 0;
};

/// Writes an 8-bit RGB PNG. rgb holds height rows of 3 × width bytes, top row first. A file at
/// path is replaced only by a complete picture; on failure it is kept as it was, and error
/// says why.
bool WritePng(const std::string& path, std::int32_t width, std::int32_t height,
              const std::vector<std::uint8_t>& rgb, PngWriteError* error);
