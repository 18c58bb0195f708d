#pragma once

#include <string>
#include <string_view>
#include <vector>

/// Whether `name` matches `pattern`: "*" stands for any run of characters, "?" for exactly one;
/// letters match without regard to case.
bool WildcardMatch(std::string_view pattern, std::string_view name);

/// The arguments with every one that holds "*" or "?" replaced by the matching entries of its
/// folder (the folder part kept as typed), sorted without regard to case. A pattern that
/// matches nothing stays as it is; an argument enclosed in double quotes loses the quotes and
/// is never expanded.
std::vector<std::string> ExpandWildcards(const std::vector<std::string>& arguments);
