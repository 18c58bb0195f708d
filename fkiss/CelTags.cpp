#include "fkiss/CelTags.h"

#include "config/AsciiCase.h"

#include <cctype>

namespace
{

bool StartsWord(std::string_view comment, std::size_t pos)
{
    return pos == 0 || comment[pos - 1] == ' ' || comment[pos - 1] == '\t' ||
           comment[pos - 1] == ';';
}

/// Reads "!name" at pos; returns where the name ends.
std::size_t ReadGroup(std::string_view comment, std::size_t pos, CelTags& tags)
{
    std::size_t end = pos + 1;
    while (end < comment.size() &&
           (std::isalnum(static_cast<unsigned char>(comment[end])) || comment[end] == '_'))
        ++end;
    if (end > pos + 1)
        tags.groups.push_back(LowerAscii(comment.substr(pos + 1, end - pos - 1)));
    return end;
}

/// Reads ":n n n" at pos; returns where the numbers end. Nine digits at most per number, so
/// none overflows.
std::size_t ReadFrames(std::string_view comment, std::size_t pos, CelTags& tags)
{
    std::size_t end = pos + 1;
    while (end < comment.size())
    {
        while (end < comment.size() && comment[end] == ' ')
            ++end;
        std::int32_t frame = 0;
        std::size_t digits = 0;
        while (end < comment.size() && comment[end] >= '0' && comment[end] <= '9' && digits < 9)
        {
            frame = frame * 10 + (comment[end] - '0');
            ++end;
            ++digits;
        }
        if (digits == 0)
            break;
        tags.frames.push_back(frame);
    }
    return end;
}

} // namespace

CelTags ReadCelTags(std::string_view comment)
{
    CelTags tags;
    for (std::size_t pos = 0; pos < comment.size(); ++pos)
    {
        const char c = comment[pos];
        if (c == '%' && pos + 1 < comment.size())
        {
            const char tag = static_cast<char>(comment[pos + 1] | 0x20);
            if (tag == 'u')
                tags.unmapped = true;
            else if (tag == 'g')
                tags.ghosted = true;
        }
        else if (c == '!' && StartsWord(comment, pos))
        {
            pos = ReadGroup(comment, pos, tags) - 1;
        }
        else if (c == ':' && StartsWord(comment, pos))
        {
            pos = ReadFrames(comment, pos, tags) - 1;
        }
    }
    return tags;
}
