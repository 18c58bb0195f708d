#pragma once

#include <cstddef>
#include <string_view>

/// Bytes of the UTF-8 character that starts at `at` (1 for a stray or ASCII byte), never
/// reaching past the end of `text`. Names count characters, not bytes, as the user typed them.
inline std::size_t CharBytes(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t bytes = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return bytes < text.size() - at ? bytes : text.size() - at;
}
