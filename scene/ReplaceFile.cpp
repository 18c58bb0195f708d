#include "scene/ReplaceFile.h"

#include "scene/OutputFile.h"

int ReplaceFile(const std::string& path, std::string_view bytes)
{
    OutputFile file(path);
    if (const int error = file.Open())
        return error;
    file.Stream().write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file.Commit();
}
