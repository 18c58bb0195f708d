#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// Writes an 8-bit RGB PNG. rgb holds height rows of 3 × width bytes, top row first. A file at
/// path is replaced only by a complete picture; on failure it is kept as it was, and error
/// names the file and the reason.
bool WritePng(const std::string& path, std::int32_t width, std::int32_t height,
              const std::vector<std::uint8_t>& rgb, std::string* error);
