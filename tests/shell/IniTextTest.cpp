#include "shell/IniText.h"

#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{
const std::string kOld = "[Recent File List]\nFile1=/sets/a/A.CNF\n[Other]\nKey=kept\n";
} // namespace

TEST(IniTextTest, AFullDiskKeepsTheWholeOldFile)
{
    TempDir home;
    const std::string ini = home.Write("velquin.INI", kOld);
    // Room for the old file's size only: the new one is longer, and begins differently.
    const int status = RunInChild(
        [&](std::ostream&)
        {
            if (!LimitFileSize(kOld.size()))
                return 99;
            IniText::WriteSection(ini, "[Recent File List]",
                                  {"File1=/sets/b/B.CNF", "File2=/sets/a/A.CNF"});
            return 0;
        });
    ASSERT_EQ(status, 0);
    EXPECT_EQ(home.Read("velquin.INI"), kOld);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.Path()),
                            std::filesystem::directory_iterator()),
              1);

    IniText::WriteSection(ini, "[View]", {"Zoom=2"});
    EXPECT_EQ(home.Read("velquin.INI"), kOld + "[View]\nZoom=2\n");
}

TEST(IniTextTest, ALinkPlantedBesideTheFileIsNeverWrittenThrough)
{
    TempDir home;
    TempDir elsewhere;
    const std::string victim = elsewhere.Write("victim", "untouched");
    const std::string ini = home.Write("velquin.INI", kOld);
    std::filesystem::create_symlink(victim, ini + ".new");
    IniText::WriteSection(ini, "[View]", {"Zoom=2"});
    EXPECT_EQ(elsewhere.Read("victim"), "untouched");
    EXPECT_EQ(home.Read("velquin.INI"), kOld + "[View]\nZoom=2\n");
}
