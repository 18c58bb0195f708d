#pragma once

#include <string>
#include <string_view>

/// Tarnel's message in the language chosen at start: the catalog's translation of msgid, which
/// is the original Japanese text, or msgid itself.
std::string Tr(const char* msgid);
/// text with "%1" replaced by first and "%2" by second; the names themselves are not searched.
std::string Fill(std::string_view text, std::string_view first, std::string_view second = {});

/// Chooses the language from the environment and, for English, binds the catalog found beside
/// the program. The original texts need nothing: the C library's own messages then stay as
/// they were too.
void UseEnvironmentLanguage();
