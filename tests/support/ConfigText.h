#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

/// The bytes of a configuration file: every line followed by CR LF, as the writer ends them.
std::string ConfigText(std::initializer_list<std::string_view> lines);

/// The text with every CR LF turned into LF, for comparing lines regardless of their ends.
std::string WithLfEnds(std::string_view text);
