#include "Wildcard.h"

#include "Utf8.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace
{
char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) { return Lower(x) == Lower(y); });
}

bool LessIgnoringCase(const std::string& a, const std::string& b)
{
    const auto lower = [](char c) { return static_cast<unsigned char>(Lower(c)); };
    const bool less = std::ranges::lexicographical_compare(a, b, {}, lower, lower);
    const bool greater = std::ranges::lexicographical_compare(b, a, {}, lower, lower);
    // Names that differ only in case still need a fixed order.
    return less || (!greater && a < b);
}

bool HasWildcard(std::string_view text)
{
    return text.find_first_of("*?") != std::string_view::npos;
}

void AppendMatches(const std::string& pattern, std::vector<std::string>& out)
{
    const std::size_t slash = pattern.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : pattern.substr(0, slash + 1);
    const std::string_view leaf = std::string_view(pattern).substr(folder.size());
    std::vector<std::string> matches;
    // Wildcards only work in the last part; a pattern in a folder part matches nothing.
    if (!HasWildcard(folder))
    {
        std::error_code error;
        std::filesystem::directory_iterator it(folder.empty() ? "." : folder, error);
        for (; !error && it != std::filesystem::directory_iterator(); it.increment(error))
        {
            const std::string name = it->path().filename().string();
            if (WildcardMatch(leaf, name))
                matches.push_back(folder + name);
        }
    }
    if (matches.empty())
    {
        out.push_back(pattern);
        return;
    }
    std::ranges::sort(matches, LessIgnoringCase);
    out.insert(out.end(), matches.begin(), matches.end());
}
} // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name)
{
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starN = 0;
    while (n < name.size())
    {
        if (p < pattern.size() && pattern[p] == '*')
        {
            starP = ++p;
            starN = n;
            continue;
        }
        if (p < pattern.size())
        {
            const std::size_t patternBytes = CharBytes(pattern, p);
            const std::size_t nameBytes = CharBytes(name, n);
            if (pattern[p] == '?' ||
                SameIgnoringCase(pattern.substr(p, patternBytes), name.substr(n, nameBytes)))
            {
                p += patternBytes;
                n += nameBytes;
                continue;
            }
        }
        if (starP == std::string_view::npos)
            return false;
        // Let the last "*" take one more character and try again from there.
        starN += CharBytes(name, starN);
        n = starN;
        p = starP;
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<std::string> ExpandWildcards(const std::vector<std::string>& arguments)
{
    std::vector<std::string> out;
    for (const std::string& argument : arguments)
    {
        if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"')
            out.push_back(argument.substr(1, argument.size() - 2));
        else if (HasWildcard(argument))
            AppendMatches(argument, out);
        else
            out.push_back(argument);
    }
    return out;
}
