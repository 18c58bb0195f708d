#include "scene/Scene.h"

#include "SceneFixtures.h"
#include "i18n/ProblemText.h"
#include "support/ConfigText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace
{

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<PaletteColour> Greys(int count, int first = 0)
{
    std::vector<PaletteColour> colours;
    for (int i = 0; i < count; ++i)
    {
        const auto v = static_cast<std::uint8_t>(first + i);
        colours.push_back(Rgb(v, v, v));
    }
    return colours;
}

} // namespace

TEST(SceneTest, LoadsPalettesInLineOrderThenCelsFromTheLastLineUp)
{
    FakeFileSource files;
    Scene scene;
    files.Add("bad.cel", "KiSS\x30 nothing that a cel loader accepts");
    scene.LoadSceneFromBytes(ConfigText({"#1 first.cel", "%a.kcf", "#2 bad.cel", "%b.kcf"}), files);

    ASSERT_FALSE(scene.LoadProblems().empty());
    EXPECT_EQ(
        Lines(ProblemLines(scene.LoadProblems(), ProblemForm::Sentence)),
        (std::vector<std::string>{"ファイル a.kcf を開けません。", "ファイル b.kcf を開けません。",
                                  "ファイル bad.cel は，認識できないフォーマットです。",
                                  "ファイル first.cel を開けません。"}));
    EXPECT_EQ(scene.LoadProblems().size(), 4u);
    EXPECT_TRUE(scene.IsLoaded());
    EXPECT_TRUE(scene.PlacedCels().empty());
}

TEST(SceneTest, TwelveMissingFilesListTenThenAnEllipsis)
{
    FakeFileSource files;
    Scene scene;
    std::string config;
    for (int i = 0; i < 12; ++i)
        config += "%p" + std::to_string(i) + ".kcf\r\n";
    scene.LoadSceneFromBytes(config, files);

    ASSERT_FALSE(scene.LoadProblems().empty());
    const auto lines = Lines(ProblemLines(scene.LoadProblems(), ProblemForm::Sentence));
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], "ファイル p0.kcf を開けません。");
    EXPECT_EQ(lines[9], "ファイル p9.kcf を開けません。");
    EXPECT_EQ(lines[10], "...");

    // A clean load shows nothing.
    files.Add("p.kcf", Palette24({Greys(16)}));
    scene.LoadSceneFromBytes(ConfigText({"%p.kcf"}), files);
    EXPECT_EQ(scene.LoadProblems().size(), 0u);
}

TEST(SceneTest, FileLoadsOnceAndPlacedCelsShareItsPixels)
{
    FakeFileSource files;
    files.Add("p.kcf", Palette24({Greys(16)}));
    files.Add("a.cel", SolidCel(2, 2, 1));
    Scene scene;
    scene.LoadSceneFromBytes(
        ConfigText({"%p.kcf", "%p.kcf", "#0 a.cel", "#1 a.cel", "#2 gone.cel", "#3 gone.cel"}),
        files);

    EXPECT_EQ(files.ReadCount("p.kcf"), 1);
    EXPECT_EQ(files.ReadCount("a.cel"), 1);
    EXPECT_EQ(files.ReadCount("gone.cel"), 2);
    ASSERT_FALSE(scene.LoadProblems().empty());
    EXPECT_EQ(Lines(ProblemLines(scene.LoadProblems(), ProblemForm::Sentence)).size(), 2u);
    EXPECT_EQ(scene.ColourMaps().size(), 2u); // two "%" lines naming one file: two maps
    ASSERT_EQ(scene.PlacedCels().size(), 2u);
    EXPECT_EQ(scene.PlacedCels()[0]->pixels, scene.PlacedCels()[1]->pixels);
    EXPECT_EQ(scene.PlacedCels()[0]->pixels.use_count(), 3); // the cache and two placed cels
}

TEST(SceneTest, ColourMapsAreNumberedOverTheLoadedPalettesOnly)
{
    FakeFileSource files;
    files.Add("a.kcf", Palette24({{Rgb(1, 1, 1), Rgb(2, 2, 2)}}));
    files.Add("c.kcf", Palette24({{Rgb(3, 3, 3), Rgb(1, 1, 1)}}));
    files.Add("x.cel", SolidCel(1, 1, 1));
    Scene scene;
    scene.LoadSceneFromBytes(
        ConfigText({"%a.kcf", "%b.kcf", "%c.kcf", "#0 x.cel *0", "#1 x.cel *1", "#2 x.cel *2"}),
        files);

    ASSERT_EQ(scene.ColourMaps().size(), 2u);
    const auto& cels = scene.PlacedCels();
    ASSERT_EQ(cels.size(), 3u); // array order is the reverse of the file's
    EXPECT_EQ(cels[0]->colourMap, nullptr);
    EXPECT_EQ(cels[1]->colourMap, scene.ColourMaps()[1].get());
    EXPECT_EQ(cels[2]->colourMap, scene.ColourMaps()[0].get());

    // Colours in order of first appearance; repeats share one entry; the rest of a map is 0.
    EXPECT_EQ(scene.Colours().count, 3);
    EXPECT_EQ(scene.Colours().entries[0], Rgb(1, 1, 1));
    EXPECT_EQ(scene.Colours().entries[2], Rgb(3, 3, 3));
    const auto& mapC = scene.ColourMaps()[1]->map;
    EXPECT_EQ(mapC[0], 2);
    EXPECT_EQ(mapC[1], 0);
    EXPECT_EQ(mapC[2], 0);
    EXPECT_EQ(mapC[255], 0);
}

TEST(SceneTest, ColoursBeyondAFullTableTakeTheNearestEntry)
{
    FakeFileSource files;
    std::vector<PaletteColour> reds;
    for (int i = 0; i < 255; ++i)
        reds.push_back(Rgb(static_cast<std::uint8_t>(i), 0, 0));
    files.Add("reds.kcf", Palette24({reds}));
    files.Add("more.kcf", Palette24({{Rgb(0, 0, 200), Rgb(0, 0, 100), Rgb(10, 1, 2), Rgb(254, 0, 0),
                                      Rgb(255, 255, 255)}}));
    Scene scene;
    scene.LoadSceneFromBytes(ConfigText({"%reds.kcf", "%more.kcf"}), files);

    EXPECT_EQ(scene.Colours().count, 256);
    const auto& map = scene.ColourMaps()[1]->map;
    EXPECT_EQ(map[0], 255); // the last free entry
    EXPECT_EQ(map[1], 0);   // as near to (0,0,0) as to (0,0,200): the lower index wins
    EXPECT_EQ(map[2], 10);
    EXPECT_EQ(map[3], 254); // an exact match
    EXPECT_EQ(map[4], 254); // white: (254,0,0) is nearest
}

TEST(SceneTest, GroupOfMoreThan256ColoursUsesItsFirst256)
{
    FakeFileSource files;
    std::vector<PaletteColour> big(300, Rgb(1, 2, 3));
    big[0] = Rgb(5, 5, 5);
    big[290] = Rgb(200, 0, 0);
    files.Add("big.kcf", Palette24({big}));
    Scene scene;
    scene.LoadSceneFromBytes(ConfigText({"%big.kcf"}), files);

    EXPECT_EQ(scene.Colours().count, 2);
    EXPECT_EQ(scene.ColourMaps()[0]->map[0], 0);
    EXPECT_EQ(scene.ColourMaps()[0]->map[255], 1);
}

TEST(SceneTest, RecognisedPaletteWithoutGroupsKeepsItsPlaceWithAnEmptyMap)
{
    FakeFileSource files;
    files.Add("empty.kcf", Palette24({}));
    files.Add("c.kcf", Palette24({{Rgb(9, 9, 9)}}));
    files.Add("x.cel", SolidCel(1, 1, 0));
    Scene scene;
    scene.LoadSceneFromBytes(ConfigText({"%empty.kcf", "%c.kcf", "#0 x.cel *1"}), files);

    EXPECT_TRUE(scene.LoadProblems().empty());
    ASSERT_EQ(scene.ColourMaps().size(), 2u);
    EXPECT_EQ(scene.ColourMaps()[0]->map[0], 0);
    EXPECT_EQ(scene.Colours().count, 1);
    EXPECT_EQ(scene.PlacedCels()[0]->colourMap, scene.ColourMaps()[1].get());
}

TEST(SceneTest, WorkingSetLinesArePaddedToTen)
{
    FakeFileSource files;
    Scene scene;
    scene.LoadSceneFromBytes(ConfigText({"; nothing"}), files);
    ASSERT_EQ(scene.WorkingSetLines().size(), 10u);
    for (const auto& set : scene.WorkingSetLines())
    {
        EXPECT_EQ(set->PaletteGroup(), 0);
        EXPECT_TRUE(set->Positions().empty());
    }

    scene.LoadSceneFromBytes(ConfigText({"$1 5,6", "$2", "$3 * 7,8"}), files);
    const auto& sets = scene.WorkingSetLines();
    ASSERT_EQ(sets.size(), 10u);
    EXPECT_EQ(sets[0]->GetX(0), 5);
    EXPECT_EQ(sets[2]->PaletteGroup(), 3);
    EXPECT_EQ(sets[2]->GetY(1), 8);
    EXPECT_EQ(sets[0]->Serial(), scene.Config()->SetLines()[0]->Serial());
    EXPECT_EQ(sets[3]->PaletteGroup(), 0);
    EXPECT_EQ(scene.CurrentPaletteGroup(), 1);
}

TEST(SceneTest, BuildSetPlacesEveryLoadedCelOfTheCurrentSet)
{
    FakeFileSource files;
    files.Add("p.kcf", Palette24({Greys(16)}));
    files.Add("t.cel", CelBytes::Indexed(2, 3, std::vector<std::uint8_t>(6, 1))
                           .Offset(4, 5)
                           .Transparency(100) // opacity 156
                           .Bytes());
    files.Add("s.cel", SolidCel(1, 1, 2));
    Scene scene;
    scene.LoadSceneFromBytes(ConfigText({"%p.kcf", "#3.7 t.cel :0 2 ;note", "#3 s.cel :1 ;%t256",
                                         "#4 t.cel ;%T0", "$0 * * * 10,20", "$0 * * * 30,40"}),
                             files);

    const auto& cels = scene.PlacedCels();
    ASSERT_EQ(cels.size(), 3u);
    const PlacedCel& top = *cels[2]; // the first "#" line
    EXPECT_EQ(top.objectNumber, 3);
    EXPECT_EQ(top.fix, 7);
    EXPECT_EQ(top.x, 10);
    EXPECT_EQ(top.y, 20);
    EXPECT_EQ(top.xOffset, 4);
    EXPECT_EQ(top.width, 2);
    EXPECT_EQ(top.visible, 1);
    EXPECT_EQ(top.opacity, 156);
    EXPECT_EQ(top.comment, ";note");
    EXPECT_EQ(top.celLineSerial, scene.Config()->CelLines()[2]->Serial());
    EXPECT_EQ(cels[1]->visible, 0);
    EXPECT_EQ(cels[1]->opacity, 0);
    EXPECT_EQ(cels[0]->opacity, 256);
    EXPECT_EQ(cels[0]->x, 0); // object 4 has no position

    scene.BuildSet(-1, 1);
    EXPECT_EQ(scene.CurrentSet(), 1);
    EXPECT_EQ(scene.PlacedCels()[2]->x, 30);
    EXPECT_EQ(scene.PlacedCels()[2]->visible, 0);
    EXPECT_EQ(scene.PlacedCels()[1]->visible, 1);
    scene.BuildSet(9, 1);
    EXPECT_EQ(scene.CurrentSet(), 1);
}

TEST(SceneTest, LoadSceneFindsFilesBesideTheConfigurationIgnoringCase)
{
    TempDir dir;
    dir.Write("fukidasi.cel", SolidCel(1, 1, 1));
    dir.Write("col.kcf", Palette24({Greys(16)}));
    dir.Write("kiss.cnf", ConfigText({"%COL.KCF", "#0 FUKIDASI.CEL"}));
    Scene scene;
    ASSERT_TRUE(scene.LoadScene(dir.File("kiss.cnf")));
    EXPECT_TRUE(scene.LoadProblems().empty());
    EXPECT_EQ(scene.PlacedCels().size(), 1u);
    EXPECT_EQ(scene.ColourMaps().size(), 1u);

    EXPECT_FALSE(scene.LoadScene(dir.File("missing.cnf")));
    EXPECT_FALSE(scene.IsLoaded());
    EXPECT_TRUE(scene.PlacedCels().empty());
}

TEST(SceneTest, ApplyToBufferSetsColoursBackgroundAndSize)
{
    ScreenBuffer buffer;
    Scene scene;
    scene.ApplyToBuffer(buffer, false, true);
    EXPECT_EQ(buffer.Width(), 448);
    EXPECT_EQ(buffer.Height(), 320);
    EXPECT_EQ(buffer.BackgroundIndex(), 255);
    EXPECT_EQ(buffer.BackgroundColour()[0], 255);

    FakeFileSource files;
    files.Add("p.kcf", Palette24({{Rgb(10, 20, 30), Rgb(1, 2, 3)}}));
    scene.LoadSceneFromBytes(ConfigText({"(640,0)", "%p.kcf", "(100,100)"}), files);
    scene.ApplyToBuffer(buffer, true, true);
    EXPECT_EQ(buffer.Width(), 640);
    EXPECT_EQ(buffer.Height(), 320);
    EXPECT_EQ(buffer.PaletteEntryCount(), 2);
    EXPECT_EQ(buffer.BackgroundIndex(), 0);
    EXPECT_EQ(buffer.BackgroundColour()[0], 30); // blue, green, red
    EXPECT_EQ(buffer.BackgroundColour()[2], 10);
    EXPECT_EQ(buffer.DirtyRect(), buffer.ScreenRect());

    scene.LoadSceneFromBytes(ConfigText({"(0,200)"}), files);
    scene.ApplyToBuffer(buffer, true, true);
    EXPECT_EQ(buffer.Width(), 448);
    EXPECT_EQ(buffer.Height(), 200);
    EXPECT_EQ(buffer.BackgroundColour()[0], 0); // no palette: black
}

TEST(SceneTest, RgbBorderLineIsTheFullColourBackgroundOnly)
{
    FakeFileSource files;
    files.Add("p.kcf", Palette24({{Rgb(10, 20, 30), Rgb(1, 2, 3)}}));
    Scene scene;
    scene.LoadSceneFromBytes(ConfigText({"(4,2)", "[204,255,255 ;sky", "%p.kcf"}), files);
    for (const std::int32_t depth : {32, 8})
    {
        SCOPED_TRACE(depth);
        ScreenBuffer buffer;
        buffer.SetFormat(0, 0, depth);
        scene.ApplyToBuffer(buffer, true, true);
        buffer.FillBackground(buffer.ScreenRect());
        EXPECT_EQ(buffer.BackgroundIndex(), 0);
        const std::uint8_t* pixel = buffer.ScreenRow(1) + (depth / 8) * 3;
        if (depth == 8)
            EXPECT_EQ(pixel[0], 0); // colour 0 of the palette, as without the line
        else
            EXPECT_EQ(std::vector<std::uint8_t>(pixel, pixel + 3),
                      (std::vector<std::uint8_t>{255, 255, 204}));
        // Switching the mode keeps the reading.
        buffer.SetFormat(0, 0, depth == 8 ? 32 : 8);
        buffer.FillBackground(buffer.ScreenRect());
        EXPECT_EQ(buffer.ScreenRow(0)[0], depth == 8 ? 255 : 0);
    }

    // The one-number form and an incomplete colour keep the palette's colour 0.
    for (const char* line : {"[3", "[1,2"})
    {
        scene.LoadSceneFromBytes(ConfigText({line, "%p.kcf"}), files);
        ScreenBuffer buffer;
        scene.ApplyToBuffer(buffer, true, true);
        EXPECT_EQ(buffer.BackgroundColour()[0], 30) << line;
        EXPECT_EQ(buffer.BackgroundColour()[2], 10) << line;
    }
}
