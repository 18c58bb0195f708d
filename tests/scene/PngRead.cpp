#include "PngRead.h"

#include <png.h>

std::uint32_t RgbPicture::At(std::uint32_t x, std::uint32_t y) const
{
    const std::size_t at = 3 * (static_cast<std::size_t>(y) * width + x);
    return (std::uint32_t{rgb[at]} << 16) | (std::uint32_t{rgb[at + 1]} << 8) | rgb[at + 2];
}

std::optional<RgbPicture> ReadPng(const std::string& path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return std::nullopt;
    image.format = PNG_FORMAT_RGB;
    RgbPicture picture;
    picture.width = image.width;
    picture.height = image.height;
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr))
    {
        png_image_free(&image);
        return std::nullopt;
    }
    return picture;
}
