#include "shell/FileDialogs.h"

#include "shell/OpenCheck.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

TEST(FileDialogsTest, FilterMatchesTheExtensionInAnyCaseAndAddsItWhenMissing)
{
    const wxString filter = ConfigFileFilter();
    EXPECT_TRUE(filter.StartsWith("KISS Files (*.CNF)|*.CNF;"));
    for (const char* spelling : {"*.cnf", "*.Cnf", "*.cNf", "*.cnF", "*.CNf"})
        EXPECT_NE(filter.Find(spelling), wxNOT_FOUND) << spelling;
    EXPECT_TRUE(filter.EndsWith(wxString::FromUTF8("|すべてのﾌｧｲﾙ (*.*)|*")));
    EXPECT_EQ(WithDefaultExtension("/sets/doll"), "/sets/doll.CNF");
    EXPECT_EQ(WithDefaultExtension("/sets/doll.cnf"), "/sets/doll.cnf");
    EXPECT_EQ(WithDefaultExtension("/sets.d/doll"), "/sets.d/doll.CNF");
}

TEST(FileDialogsTest, OpenFailuresAreToldByTheirCause)
{
    TempDir dir;
    EXPECT_EQ(CheckReadable(dir.Write("ok.cnf", "x")), 0);
    EXPECT_EQ(CheckReadable(dir.File("none.cnf")), ENOENT);
    EXPECT_EQ(CheckReadable(dir.Path()), EISDIR);
    EXPECT_EQ(CheckReadable(dir.Write("file", "x") + "/below.cnf"), ENOTDIR);
    const std::string pipe = dir.File("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(CheckReadable(pipe), EACCES);

    EXPECT_EQ(OpenFailureMessage(ENOENT, "a.cnf"), wxString::FromUTF8("a.cnf が見つかりません。"));
    EXPECT_EQ(OpenFailureMessage(EISDIR, "d"), wxString::FromUTF8("d へのｱｸｾｽは拒否されました。"));
    EXPECT_EQ(OpenFailureMessage(ENOTDIR, "p"), wxString::FromUTF8("p は無効なﾊﾟｽです。"));
    EXPECT_EQ(OpenFailureMessage(EMFILE, "f"),
              wxString::FromUTF8("開いているﾌｧｲﾙが多すぎるため f を開けませんでした。"));
    EXPECT_EQ(OpenFailureMessage(0, "x"), wxString::FromUTF8("ｴﾗｰはありません。"));
    EXPECT_EQ(OpenFailureMessage(EOVERFLOW, "x"),
              wxString::FromUTF8("x へのｱｸｾｽ中に予期しないｴﾗｰが発生しました。"));
}

TEST(FileDialogsTest, OpenFilterOffersArchivesInAnyCaseBetweenTheOthers)
{
    const wxString filter = OpenFileFilter();
    EXPECT_TRUE(filter.StartsWith("KISS Files (*.CNF)|*.CNF;"));
    EXPECT_NE(filter.Find(wxString::FromUTF8("|LZH/ZIP 書庫 (*.LZH;*.LHA;*.ZIP)|*.LZH;")), wxNOT_FOUND);
    for (const char* spelling : {"*.lzh", "*.LzH", "*.lha", "*.Lha", "*.zip", "*.ZIp"})
        EXPECT_NE(filter.Find(spelling), wxNOT_FOUND) << spelling;
    EXPECT_TRUE(filter.EndsWith(wxString::FromUTF8("|すべてのﾌｧｲﾙ (*.*)|*")));
}
