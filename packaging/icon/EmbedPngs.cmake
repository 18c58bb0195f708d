# Writes OUTPUT, a C++ source that holds FOLDER/velquin-N.png for every N in SIZES as bytes.
set(arrays "")
set(cases "")
foreach(size IN LISTS SIZES)
    file(READ ${FOLDER}/velquin-${size}.png hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)"
           "\\1\n    " bytes "${bytes}")
    string(APPEND arrays "const std::uint8_t kIcon${size}[] = {\n    ${bytes}\n};\n")
    string(APPEND cases "    case ${size}:\n        return kIcon${size};\n")
    list(APPEND sizes_text "${size}")
endforeach()
list(JOIN sizes_text ", " sizes_text)
file(WRITE ${OUTPUT}.new "// Generated from the icon's PNG renderings by EmbedPngs.cmake.
#include \"AppIconPng.h\"

namespace
{
${arrays}
constexpr int kSizes[] = {${sizes_text}};
} // namespace

std::span<const int> AppIconSizes()
{
    return kSizes;
}

std::span<const std::uint8_t> AppIconPng(int size)
{
    switch (size)
    {
${cases}    default:
        return {};
    }
}
")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
