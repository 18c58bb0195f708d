#pragma once

#include <string>
#include <string_view>

// Names in sets (files, FKiSS code, INI keys) compare without regard to ASCII letter case;
// bytes above 0x7F (Shift-JIS) stay as they are, whatever the locale.
char LowerAscii(char c);
std::string LowerAscii(std::string_view text);
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
