#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// What a cel line's comment tells the FKiSS code about its cel: "%u" starts it unmapped,
/// "%g" ghosted, "!name" puts it in a group, ":1 2 3" lists the frames it shows in. The offset
/// tags "%x" and "%y" belong to the cel line itself.
struct CelTags
{
    bool unmapped = false;
    bool ghosted = false;
    /// Group names in lower case, in the order written.
    std::vector<std::string> groups;
    std::vector<std::int32_t> frames;
};

CelTags ReadCelTags(std::string_view comment);
