#include "scene/Scene.h"

#include "SceneFixtures.h"
#include "i18n/ProblemText.h"
#include "support/ConfigText.h"
#include "support/TempDir.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace
{

std::string Saved(Scene& scene)
{
    std::ostringstream out;
    scene.SaveScene(out);
    return out.str();
}

std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

/// The "$" lines appended for sets the file lacked.
std::string EmptySets(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "$0 *\r\n";
    return text;
}

mode_t ModeOf(const std::string& path)
{
    struct stat info
    {
    };
    stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

} // namespace

TEST(SceneSaveTest, WritesTheFileSetLinesInPlaceAndAppendsTheMissingSets)
{
    FakeFileSource files;
    files.Add("c.cel", SolidCel(1, 1, 1));
    Scene scene;
    scene.LoadSceneFromBytes(
        ConfigText({"%p.kcf", "$0 1,1", "; comment", "$1 2,2 ;keep", "$0 *", "#0 c.cel"}), files);
    ScreenBuffer buffer;
    scene.MoveObjectBy(buffer, 0, -5, -5);
    scene.SelectSet(1, 0);
    scene.SelectPaletteGroup(3, 0);

    const std::string saved = Saved(scene);
    const std::string expected =
        ConfigText({"%p.kcf", "$0 -4,-4", "; comment", "$3 2,2;keep", "$0 *", "#0 c.cel"});
    EXPECT_EQ(saved, expected + EmptySets(7));

    // A negative position survives the round trip.
    scene.LoadSceneFromBytes(saved, files);
    EXPECT_EQ(scene.GetCelPosition(0), (Point{-4, -4}));
    EXPECT_EQ(scene.WorkingSetLines().size(), 10u);

    // A restore after a save returns to what was saved.
    scene.SelectSet(1, 0);
    scene.SelectPaletteGroup(5, 0);
    Saved(scene);
    scene.SelectPaletteGroup(6, 0);
    scene.RestoreLoadState();
    EXPECT_EQ(scene.CurrentPaletteGroup(), 5);
}

TEST(SceneSaveTest, SaveToFileReplacesTheFileKeepingItsPermissions)
{
    TempDir dir;
    dir.Write("c.cel", SolidCel(1, 1, 1));
    const std::string path = dir.Write("kiss.cnf", ConfigText({"#0 c.cel", "$0 7,7"}));
    chmod(path.c_str(), 0640);
    Scene scene;
    ASSERT_TRUE(scene.LoadScene(path));
    ScreenBuffer buffer;
    scene.MoveObjectBy(buffer, 0, 1, 2);

    ASSERT_EQ(scene.SaveSceneToFile(path), std::nullopt);
    EXPECT_EQ(dir.Read("kiss.cnf"), ConfigText({"#0 c.cel", "$0 8,9"}) + EmptySets(9));
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"c.cel", "kiss.cnf"}));

    // Through a symbolic link the file it points to is replaced and the link stays.
    const std::string link = dir.File("link.cnf");
    std::filesystem::create_symlink(path, link);
    ASSERT_EQ(scene.SaveSceneToFile(link), std::nullopt);
    EXPECT_TRUE(std::filesystem::is_symlink(link));

    // A new file gets the usual permissions.
    const std::string fresh = dir.File("new.cnf");
    ASSERT_EQ(scene.SaveSceneToFile(fresh), std::nullopt);
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(ModeOf(fresh), 0666u & ~mask);
    EXPECT_EQ(dir.Read("new.cnf"), dir.Read("kiss.cnf"));
}

TEST(SceneSaveTest, FailedSaveLeavesTheTargetUntouchedAndSaysWhy)
{
    TempDir dir;
    Scene scene;
    FakeFileSource files;
    scene.LoadSceneFromBytes(ConfigText({"$0 1,1"}), files);

    const std::string missingFolder = dir.File("gone/kiss.cnf");
    std::optional<Problem> problem = scene.SaveSceneToFile(missingFolder);
    ASSERT_TRUE(problem);
    std::string error = ProblemText(*problem);
    EXPECT_NE(error.find(missingFolder), std::string::npos);
    EXPECT_NE(error.find("No such file or directory"), std::string::npos);

    const std::string folder = dir.File("kiss.cnf");
    std::filesystem::create_directory(folder);
    dir.Write("kiss.cnf/inside", "keep");
    problem = scene.SaveSceneToFile(folder);
    ASSERT_TRUE(problem);
    EXPECT_NE(ProblemText(*problem).find(folder), std::string::npos);
    EXPECT_EQ(dir.Read("kiss.cnf/inside"), "keep");
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"kiss.cnf"}));
}

TEST(SceneSaveTest, SavingWithoutAConfigurationWritesAnEmptyFile)
{
    TempDir dir;
    const std::string path = dir.Write("old.cnf", "old text");
    Scene scene;
    EXPECT_EQ(scene.SaveSceneToFile(path), std::nullopt);
    EXPECT_EQ(dir.Read("old.cnf"), "");
}
