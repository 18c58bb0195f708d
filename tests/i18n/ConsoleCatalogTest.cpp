#include "i18n/ConsoleCatalog.h"

#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace
{
/// Puts an English catalog under folder, as msgfmt lays it out.
void WriteCatalog(const TempDir& dir, const std::string& folder)
{
    std::filesystem::create_directories(dir.File(folder + "/en/LC_MESSAGES"));
    dir.Write(folder + "/en/LC_MESSAGES/velquin.mo", "catalog");
}

/// What a load message came out as.
enum Wording : int
{
    kOriginal = 0,
    kEnglish = 1,
    kNeither = 2,
};

/// In a child, as a console program starting with these locale variables: binds the catalog of
/// the build tree and words a load message.
int WordingAfterBinding(const char* language, const char* lang)
{
    return RunInChild(
        [&](std::ostream&)
        {
            for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
                unsetenv(name);
            setenv("LANGUAGE", language, 1);
            setenv("LANG", lang, 1);
            // An absolute folder stands as it is, whatever the program's own folder.
            const char* const folders[] = {VELQUIN_LOCALE_DIR};
            UseEnvironmentLanguage(folders);
            const std::string text = ConsoleTranslate("ファイル %1 を開けません。");
            if (text == "Cannot open the file %1.")
                return kEnglish;
            return text == "ファイル %1 を開けません。" ? kOriginal : kNeither;
        });
}
} // namespace

TEST(ConsoleCatalogTest, TheBuildTreesCatalogComesFirstThenTheInstalledOne)
{
    TempDir dir;
    std::filesystem::create_directories(dir.File("bin"));
    const std::filesystem::path program = dir.File("bin");
    const char* const folders[] = {"../build/locale", "../share/locale"};

    EXPECT_EQ(FindCatalogFolder(program, folders), std::filesystem::path());
    // A folder where the catalog's file should be is not a catalog.
    std::filesystem::create_directories(dir.File("share/locale/en/LC_MESSAGES/velquin.mo"));
    EXPECT_EQ(FindCatalogFolder(program, folders), std::filesystem::path());

    WriteCatalog(dir, "installed");
    const char* const installed[] = {"../build/locale", "../installed"};
    EXPECT_EQ(FindCatalogFolder(program, installed), std::filesystem::path(dir.File("installed")));

    WriteCatalog(dir, "build/locale");
    EXPECT_EQ(FindCatalogFolder(program, installed),
              std::filesystem::path(dir.File("build/locale")));
}

TEST(ConsoleCatalogTest, OnlyAnEnglishOrUncataloguedLanguageBindsTheCatalog)
{
    // Nothing bound in the test program itself: every text is its own msgid.
    EXPECT_EQ(ConsoleTranslate("ファイル %1 を開けません。"), "ファイル %1 を開けません。");

    EXPECT_EQ(WordingAfterBinding("", "en_US.UTF-8"), kEnglish);
    EXPECT_EQ(WordingAfterBinding("fr", "fr_FR.UTF-8"), kEnglish);
    EXPECT_EQ(WordingAfterBinding("", "ja_JP.UTF-8"), kOriginal);
    EXPECT_EQ(WordingAfterBinding("en", "C"), kOriginal);
}
