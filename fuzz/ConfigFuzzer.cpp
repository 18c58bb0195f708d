// Reads arbitrary bytes as a configuration file and plays the whole scene on it: every set and a
// palette group change, a draw in both colour modes, hit tests, a drag of each object, restore
// and save. The cel and palette files it names are small fixed ones, chosen by the name's ending.
#include "image/ScreenBuffer.h"
#include "scene/FileSource.h"
#include "scene/Scene.h"

#include <cstdint>
#include <sstream>
#include <string_view>

namespace
{

std::vector<std::uint8_t> Header(std::uint8_t mark, std::uint8_t bits, std::uint16_t width,
                                 std::uint16_t height, std::uint16_t xOffset)
{
    std::vector<std::uint8_t> bytes{'K', 'i', 'S', 'S', mark, bits};
    bytes.resize(32);
    const std::uint16_t words[] = {width, height, xOffset, 3};
    for (std::size_t i = 0; i < 4; ++i)
    {
        bytes[8 + 2 * i] = static_cast<std::uint8_t>(words[i]);
        bytes[9 + 2 * i] = static_cast<std::uint8_t>(words[i] >> 8);
    }
    return bytes;
}

struct FixedFiles : FileSource
{
    std::optional<std::vector<std::uint8_t>> Read(const std::string& name) override
    {
        std::vector<std::uint8_t> bytes;
        if (name.ends_with(".kcf"))
        {
            bytes = Header(0x10, 12, 16, 2, 0);
            for (int i = 0; i < 64; ++i)
                bytes.push_back(static_cast<std::uint8_t>(i * 37));
        }
        else if (name.ends_with("32.cel"))
        {
            bytes = Header(0x21, 32, 3, 2, 2);
            for (int i = 0; i < 24; ++i)
                bytes.push_back(static_cast<std::uint8_t>(i * 53));
        }
        else if (name.ends_with(".cel"))
        {
            bytes = Header(0x20, 8, 4, 3, 5);
            for (int i = 0; i < 12; ++i)
                bytes.push_back(static_cast<std::uint8_t>(i * 3));
        }
        else
        {
            return std::nullopt;
        }
        return bytes;
    }
};

// Saving writes one item per object number up to the largest positioned one, so only objects
// with modest numbers are moved.
constexpr std::int32_t kLargestMovedObject = 10000;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FixedFiles files;
    Scene scene;
    scene.LoadSceneFromBytes(std::string_view(reinterpret_cast<const char*>(data), size), files);

    ScreenBuffer buffer;
    buffer.SetFormat(64, 48, 32);
    for (int set = 9; set >= 0; --set)
        scene.SelectSet(set, 0);
    scene.SelectPaletteGroup(-1, 1);
    for (const std::int32_t depth : {32, 8})
    {
        buffer.SetFormat(0, 0, depth);
        scene.ApplyToBuffer(buffer, true, false);
        scene.DrawDirty(buffer);
        buffer.ClearDirty();
    }
    for (std::int32_t y = 0; y < 48; y += 7)
        for (std::int32_t x = 0; x < 64; x += 7)
            scene.HitTest(Point{x, y});

    const auto& placed = scene.PlacedCels();
    for (std::size_t i = 0; i < placed.size(); ++i)
    {
        const int index = static_cast<int>(i);
        if (placed[i]->objectNumber > kLargestMovedObject)
            continue;
        scene.ReduceObjectFix(index, 1 << (i % 20));
        scene.GetObjectFix(index);
        scene.GetObjectExtent(index);
        const Point start = scene.GetCelPosition(index);
        scene.MoveObjectBy(buffer, index, 7, -3);
        scene.MoveObjectTo(buffer, index, start.x, start.y);
        scene.DrawAll(buffer);
    }
    std::ostringstream saved;
    scene.SaveScene(saved);
    scene.RestoreLoadState();
    scene.DrawAll(buffer);
    return 0;
}
