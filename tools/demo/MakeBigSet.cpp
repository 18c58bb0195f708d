// Writes a large set for start-up measurements: a 1500 × 600 screen with 167 cels of 4 and 8
// bits, the size of the largest sets that players load. The cel drawn on top is a stripe of
// one marker colour along the bottom edge, so that a watcher can tell the whole picture is on
// the screen: the viewer paints it in one piece, and the stripe comes last in drawing order.
#include "KissFiles.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace
{
constexpr int kWidth = 1500;
constexpr int kHeight = 600;
constexpr int kCelCount = 167;
constexpr int kStripeHeight = 16;
constexpr std::uint8_t kMarker = 255;

/// The same numbers on every run.
class Numbers
{
public:
    int Next(int below)
    {
        m_state = m_state * 1103515245u + 12345u;
        return static_cast<int>((m_state >> 8) % static_cast<std::uint32_t>(below));
    }

private:
    std::uint32_t m_state = 20261208u;
};

/// An ellipse of colours filling width × height, transparent around it, with bands of colour.
std::vector<std::uint8_t> Blob(int width, int height, int firstColour, int colours)
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height), 0);
    const double cx = (width - 1) / 2.0;
    const double cy = (height - 1) / 2.0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const double dx = (x - cx) / (width / 2.0);
            const double dy = (y - cy) / (height / 2.0);
            if (dx * dx + dy * dy <= 1.0)
                pixels[static_cast<std::size_t>(y * width + x)] =
                    static_cast<std::uint8_t>(firstColour + (x / 7 + y / 5) % colours);
        }
    return pixels;
}

std::vector<std::vector<Colour>> Palette()
{
    std::vector<Colour> colours(256);
    colours[0] = Colour{236, 240, 244};
    for (int i = 1; i < 255; ++i)
        colours[static_cast<std::size_t>(i)] =
            Colour{static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(90 + i * 11),
                   static_cast<std::uint8_t>(255 - i)};
    colours[kMarker] = Colour{255, 0, 255};
    return {colours, colours};
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: make-big-set OUTDIR\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::vector<DemoFile> files;
    files.push_back({"BIG.KCF", EncodePalette(Palette(), 24)});

    Numbers numbers;
    std::string cnf = "; A large set for start-up measurements, written by make-big-set.\r\n";
    cnf += "(" + std::to_string(kWidth) + "," + std::to_string(kHeight) + ")\r\n%BIG.KCF\r\n";
    std::string positions = "$0";
    for (int object = 0; object < kCelCount; ++object)
    {
        const std::string name = "C" + std::to_string(object) + ".CEL";
        int width = 0;
        int height = 0;
        int x = 0;
        int y = 0;
        std::vector<std::uint8_t> bytes;
        if (object == 0)
        {
            width = kWidth;
            height = kStripeHeight;
            y = kHeight - kStripeHeight;
            bytes = EncodeIndexedCel(std::vector<std::uint8_t>(std::size_t{kWidth} * kStripeHeight,
                                                               kMarker),
                                     width, height, 8, {});
        }
        else
        {
            width = 20 + numbers.Next(260);
            height = 20 + numbers.Next(300);
            x = 1 + numbers.Next(kWidth - width);
            y = 1 + numbers.Next(kHeight - kStripeHeight - height);
            const bool fourBits = object % 3 == 0;
            bytes = fourBits ? EncodeIndexedCel(Blob(width, height, 1, 15), width, height, 4, {})
                             : EncodeIndexedCel(Blob(width, height, 16, 200), width, height, 8, {});
        }
        files.push_back({name, std::move(bytes)});
        cnf += "#" + std::to_string(object) + " " + name + " *0\r\n";
        positions += " " + std::to_string(x) + "," + std::to_string(y);
    }
    cnf += positions + "\r\n";
    files.push_back({"BIG.CNF", std::vector<std::uint8_t>(cnf.begin(), cnf.end())});

    for (const DemoFile& file : files)
    {
        std::ofstream out(folder / file.name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.bytes.data()),
                  static_cast<std::streamsize>(file.bytes.size()));
        if (!out.flush())
        {
            std::cerr << "make-big-set: cannot write " << (folder / file.name).string() << "\n";
            return 1;
        }
    }
    return 0;
}
