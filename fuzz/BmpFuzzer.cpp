// Checks the headers of arbitrary bytes and converts what passes, once without a mask and once
// with the same bytes as the mask, as Tarnel does with files.
#include "BmpReader.h"
#include "Convert.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream imageStream(bytes);
    BmpReader image(imageStream);
    if (image.Check() != BitmapCheck::Ok)
        return 0;
    // A header may claim gigabytes of pixels the input does not hold; conversion streams them
    // row by row, but writing them would only slow the search down.
    const std::int64_t pixels = std::int64_t{image.Width()} * image.Height();
    if (pixels > 1 << 16)
        return 0;

    std::ostringstream plain;
    WriteConvertedCel(image, nullptr, plain);
    std::istringstream maskStream(bytes);
    BmpReader mask(maskStream);
    std::ostringstream masked;
    WriteConvertedCel(image, &mask, masked);
    const auto expected = static_cast<std::size_t>(32 + 4 * pixels);
    if (plain.str().size() != expected || masked.str().size() != expected)
        std::abort();
    return 0;
}
