#include "support/ConfigText.h"

std::string ConfigText(std::initializer_list<std::string_view> lines)
{
    std::string text;
    for (std::string_view line : lines)
    {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string WithLfEnds(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            result += text[i];
    }
    return result;
}
