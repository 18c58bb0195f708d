// Reads arbitrary bytes as the FKiSS code of a small fixed set (each input line becomes a ";@"
// line after the EventHandler line) and plays it: the load events, simulated time, a press,
// drag and release of every cel, mouse moves, keys, set and palette changes, then the close.
#include "fkiss/FkissSession.h"
#include "image/ScreenBuffer.h"
#include "scene/FileSource.h"
#include "scene/Scene.h"
#include "sound/SoundPlayer.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace
{

std::vector<std::uint8_t> Cel(std::uint16_t width, std::uint16_t height)
{
    std::vector<std::uint8_t> bytes{'K', 'i', 'S', 'S', 0x20, 8};
    bytes.resize(32);
    bytes[8] = static_cast<std::uint8_t>(width);
    bytes[10] = static_cast<std::uint8_t>(height);
    for (int i = 0; i < width * height; ++i)
        bytes.push_back(static_cast<std::uint8_t>(i % 3));
    return bytes;
}

struct FixedFiles : FileSource
{
    std::optional<std::vector<std::uint8_t>> Read(const std::string& name) override
    {
        if (name.ends_with(".kcf"))
        {
            std::vector<std::uint8_t> bytes{'K', 'i', 'S', 'S', 0x10, 24};
            bytes.resize(32);
            bytes[8] = 4;
            bytes[10] = 2;
            for (int i = 0; i < 24; ++i)
                bytes.push_back(static_cast<std::uint8_t>(i * 37));
            return bytes;
        }
        if (name == "a.cel" || name == "b.cel")
            return Cel(4, 3);
        if (name == "c.cel")
            return Cel(6, 6);
        if (name.ends_with(".wav") || name.ends_with(".mid"))
            return std::vector<std::uint8_t>{1, 2, 3};
        return std::nullopt;
    }
};

constexpr std::string_view kSet = "(40,30)\r\n%p.kcf\r\n#0 a.cel ;!grp :0 1 %u\r\n"
                                  "#1.2 b.cel ;!grp :1 %g\r\n#2 c.cel ;%t40\r\n#2 a.cel :1\r\n"
                                  "$0 1,1 10,10 20,5\r\n$1 * 3,3\r\n;@EventHandler\r\n";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string config(kSet);
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    while (start <= input.size())
    {
        std::size_t end = input.find('\n', start);
        if (end == std::string_view::npos)
            end = input.size();
        config += ";@";
        config += input.substr(start, end - start);
        config += "\r\n";
        start = end + 1;
    }

    FixedFiles files;
    Scene scene;
    scene.LoadSceneFromBytes(config, files);
    ScreenBuffer buffer;
    buffer.SetFormat(0, 0, 32);
    scene.ApplyToBuffer(buffer, true, true);
    QuietFkissHost host;
    SilentSoundPlayer player;
    auto session = FkissSession::Create(scene, buffer, host, "fuzz.cnf", 1);
    if (!session)
        return 0;
    FkissEngine& engine = session->Engine();
    engine.SetSound(&files, &player);
    engine.Start();
    engine.RunFor(50);
    const int cels = static_cast<int>(scene.PlacedCels().size());
    for (int cel = 0; cel < cels; ++cel)
    {
        engine.Press(cel, Point{cel, cel});
        engine.Drag(cel, 3, -2);
        engine.Unfixed(cel);
        engine.Release(cel, Point{cel + 3, cel - 2});
        engine.MouseMoved(Point{cel * 5, cel * 3});
    }
    for (const char* key : {"a", "k", "up", "1"})
    {
        engine.KeyPress(key);
        engine.KeyRelease(key);
    }
    scene.SelectSet(1, 0);
    engine.SetSelected();
    scene.SelectPaletteGroup(1, 0);
    engine.PaletteGroupSelected();
    engine.RunFor(50);
    buffer.MarkAllDirty();
    scene.DrawAll(buffer);
    engine.Stop();
    return 0;
}
