#include "fkiss/KeyNames.h"

#include "config/AsciiCase.h"

#include <map>

std::string CanonicalKey(std::string_view key)
{
    std::string name = LowerAscii(key);
    if (name == "esc")
        return "escape";
    if (name == "return")
        return "enter";
    if (name == " ")
        return "space";
    return name;
}

std::int32_t KeyCode(std::string_view key)
{
    static const std::map<std::string_view, std::int32_t> kNamed = {
        {"backspace", 8}, {"tab", 9},    {"enter", 13}, {"return", 13},
        {"escape", 27},   {"esc", 27},   {"space", 32}, {"left", 37},
        {"up", 38},       {"right", 39}, {"down", 40},  {"delete", 127}};
    if (key.size() == 1)
        return static_cast<unsigned char>(key.front());
    const auto found = kNamed.find(key);
    return found == kNamed.end() ? 0 : found->second;
}
