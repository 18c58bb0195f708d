#include "image/PngWriter.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

bool WritePng(const std::string& path, std::int32_t width, std::int32_t height,
              const std::vector<std::uint8_t>& rgb, std::string* error)
{
    auto fail = [&](const std::string& reason)
    {
        if (error)
            *error = "cannot write " + path + ": " + reason;
        return false;
    };
    if (width <= 0 || height <= 0 ||
        rgb.size() != 3 * static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return fail("no picture to write");

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return fail(std::strerror(errno));

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    const bool written = png_image_write_to_stdio(&image, file, 0, rgb.data(), 0, nullptr) != 0;
    const std::string pngMessage = image.message;
    png_image_free(&image);
    int systemError = 0;
    errno = 0;
    if (std::fflush(file) != 0 || std::ferror(file))
        systemError = errno != 0 ? errno : EIO;
    if (std::fclose(file) != 0 && systemError == 0)
        systemError = errno;
    if (written && systemError == 0)
        return true;
    std::remove(path.c_str());
    return fail(!written ? pngMessage : std::strerror(systemError));
}
