#include "i18n/Language.h"

#include <gtest/gtest.h>

namespace
{
LocaleEnvironment Env(const char* language, const char* lcAll, const char* lcMessages,
                      const char* lang)
{
    return LocaleEnvironment{language, lcAll, lcMessages, lang};
}
} // namespace

TEST(LanguageTest, TheLocaleNamesTheLanguageAsGettextReadsIt)
{
    struct Case
    {
        LocaleEnvironment environment;
        UiLanguage expected;
    };
    const Case cases[] = {
        // Nothing set, C and POSIX: the original texts, whatever LANGUAGE asks.
        {Env("", "", "", ""), UiLanguage::Original},
        {Env("", "", "", "C"), UiLanguage::Original},
        {Env("", "", "", "POSIX"), UiLanguage::Original},
        {Env("", "", "", "C.UTF-8"), UiLanguage::Original},
        {Env("en", "", "", "C"), UiLanguage::Original},
        {Env("en", "C", "", "en_US.UTF-8"), UiLanguage::Original},
        // Japanese keeps the original; English and languages without a catalog show English.
        {Env("", "", "", "ja_JP.UTF-8"), UiLanguage::Original},
        {Env("", "", "", "ja_JP.eucJP"), UiLanguage::Original},
        {Env("", "", "", "en_GB.UTF-8"), UiLanguage::English},
        {Env("", "", "", "fr_FR.UTF-8"), UiLanguage::English},
        {Env("", "", "", "de_DE@euro"), UiLanguage::English},
        // LC_ALL before LC_MESSAGES before LANG.
        {Env("", "en_US.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8"), UiLanguage::English},
        {Env("", "", "ja_JP.UTF-8", "en_US.UTF-8"), UiLanguage::Original},
        {Env("", "", "en_US.UTF-8", "ja_JP.UTF-8"), UiLanguage::English},
        // LANGUAGE's first entry with a catalog wins; a list without one means English.
        {Env("ja", "", "", "en_US.UTF-8"), UiLanguage::Original},
        {Env("fr:ja:en", "", "", "en_US.UTF-8"), UiLanguage::Original},
        {Env("fr:en_GB:ja", "", "", "ja_JP.UTF-8"), UiLanguage::English},
        {Env("fr", "", "", "ja_JP.UTF-8"), UiLanguage::English},
        {Env("::", "", "", "ja_JP.UTF-8"), UiLanguage::Original},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(ChooseUiLanguage(c.environment), c.expected)
            << "LANGUAGE=" << c.environment.language << " LC_ALL=" << c.environment.lcAll
            << " LC_MESSAGES=" << c.environment.lcMessages << " LANG=" << c.environment.lang;
    }
}

TEST(LanguageTest, AChoiceInTheMenuOverridesTheEnvironment)
{
    const LocaleEnvironment english = Env("", "", "", "en_US.UTF-8");
    const LocaleEnvironment plain = Env("", "", "", "C");
    EXPECT_EQ(ResolveLanguage(LanguageChoice::Automatic, english), UiLanguage::English);
    EXPECT_EQ(ResolveLanguage(LanguageChoice::Automatic, plain), UiLanguage::Original);
    EXPECT_EQ(ResolveLanguage(LanguageChoice::Japanese, english), UiLanguage::Original);
    EXPECT_EQ(ResolveLanguage(LanguageChoice::English, plain), UiLanguage::English);
}
