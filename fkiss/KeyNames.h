#pragma once

#include <cstdint>
#include <string>
#include <string_view>

/// A key's name as keypress, keyrelease and letkeymap compare it: lower case, with "esc",
/// "return" and " " spelt "escape", "enter" and "space".
std::string CanonicalKey(std::string_view key);
/// The code letkey gives for a canonical key name: a character's own byte, a named key's
/// usual code, 0 for any other.
std::int32_t KeyCode(std::string_view key);
