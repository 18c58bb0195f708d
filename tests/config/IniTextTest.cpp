#include "config/IniText.h"

#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

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

TEST(IniTextTest, AFileThatCannotBeReadIsNeitherReadNorRewritten)
{
    TempDir home;
    // Unreadable for the user the test drops to: root reads anything.
    const std::string ini = home.Write("velquin.INI", kOld);
    // A folder anybody may write in, so that only the unreadable file stands in the way.
    std::filesystem::permissions(home.Path(), std::filesystem::perms::all);
    const int status = RunInChild(
        [&](std::ostream&)
        {
            std::filesystem::permissions(ini, std::filesystem::perms::owner_write);
            if (::getuid() == 0 && ::setuid(65534) != 0)
                return 99;
            if (!IniText::ReadLines(ini).empty())
                return 1;
            IniText::WriteSection(ini, "[View]", {"Zoom=2"});
            return 0;
        });
    EXPECT_EQ(status, 0);
    std::filesystem::permissions(ini, std::filesystem::perms::owner_read,
                                 std::filesystem::perm_options::add);
    EXPECT_EQ(home.Read("velquin.INI"), kOld);

    // A pipe is never opened: reading it would wait for a writer.
    const std::string pipe = home.File("pipe.INI");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_TRUE(IniText::ReadLines(pipe).empty());
    IniText::WriteSection(pipe, "[View]", {"Zoom=2"});
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
}

TEST(IniTextTest, ASectionIsReadFromEveryPlaceItStandsInAnyCase)
{
    TempDir home;
    const std::string ini = home.Write(
        "v.ini", "[view]\r\n Zoom = 2 \r\nnot an entry\r\n[Other]\nZoom=9\n[VIEW]\nFkiss=0\n=x\n");
    const std::vector<IniText::IniEntry> entries = IniText::ReadSection(ini, "[View]");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].key, "Zoom");
    EXPECT_EQ(entries[0].value, "2");
    EXPECT_EQ(entries[1].key, "Fkiss");
    EXPECT_EQ(entries[2].key, "");
    EXPECT_TRUE(IniText::ReadSection(home.File("none.ini"), "[View]").empty());
}
