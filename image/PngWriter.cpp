#include "image/PngWriter.h"

#include "scene/ReplaceFile.h"

#include <png.h>

bool WritePng(const std::string& path, std::int32_t width, std::int32_t height,
              const std::vector<std::uint8_t>& rgb, PngWriteError* error)
{
    auto fail = [&](PngWriteError why)
    {
        if (error)
            *error = std::move(why);
        return false;
    };
    if (width <= 0 || height <= 0 ||
        rgb.size() != 3 * static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return fail({PngWriteError::Kind::NoPicture, {}, 0});

    // Encoded in memory first, so that the file is replaced only by a complete picture.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    std::string bytes;
    bool encoded = png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr);
    if (encoded)
    {
        bytes.resize(size);
        encoded = png_image_write_to_memory(&image, bytes.data(), &size, 0, rgb.data(), 0, nullptr);
        bytes.resize(size);
    }
    const std::string pngMessage = image.message;
    png_image_free(&image);
    if (!encoded)
        return fail({PngWriteError::Kind::Encoding, pngMessage, 0});
    if (const int failure = ReplaceFile(path, bytes))
        return fail({PngWriteError::Kind::Replacing, {}, failure});
    return true;
}
