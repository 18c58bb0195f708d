#pragma once

#include <string>
#include <string_view>

/// Names in FKiSS code and cel comments compare without regard to ASCII case; bytes above
/// 0x7F (Shift-JIS) stay as they are.
char LowerAscii(char c);
std::string LowerAscii(std::string_view text);
