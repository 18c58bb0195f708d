#include "i18n/Language.h"

#include <cstdlib>
#include <optional>
#include <string_view>

namespace
{
std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool IsPlainLocale(std::string_view name)
{
    return name.empty() || name == "C" || name == "POSIX" || name.starts_with("C.");
}

/// "ja_JP.UTF-8@euro" -> "ja".
std::string_view LanguageCode(std::string_view name)
{
    return name.substr(0, name.find_first_of("_.@"));
}

std::optional<UiLanguage> CatalogFor(std::string_view name)
{
    const std::string_view code = LanguageCode(name);
    if (code == "ja" || IsPlainLocale(name))
        return UiLanguage::Original;
    if (code == "en")
        return UiLanguage::English;
    return std::nullopt;
}
} // namespace

LocaleEnvironment LocaleEnvironment::FromProcess()
{
    return LocaleEnvironment{Variable("LANGUAGE"), Variable("LC_ALL"), Variable("LC_MESSAGES"),
                             Variable("LANG")};
}

UiLanguage ChooseUiLanguage(const LocaleEnvironment& environment)
{
    const std::string& locale = !environment.lcAll.empty()        ? environment.lcAll
                                : !environment.lcMessages.empty() ? environment.lcMessages
                                                                  : environment.lang;
    if (IsPlainLocale(locale))
        return UiLanguage::Original;
    // A preference without a catalog passes to the next one, as gettext does; when none has
    // one, English serves.
    std::string_view preferences = environment.language;
    bool anyPreference = false;
    while (!preferences.empty())
    {
        const std::size_t colon = preferences.find(':');
        const std::string_view entry = preferences.substr(0, colon);
        if (!entry.empty())
        {
            anyPreference = true;
            if (const auto language = CatalogFor(entry))
                return *language;
        }
        preferences = colon == std::string_view::npos ? "" : preferences.substr(colon + 1);
    }
    if (anyPreference)
        return UiLanguage::English;
    return CatalogFor(locale).value_or(UiLanguage::English);
}

UiLanguage ResolveLanguage(LanguageChoice choice, const LocaleEnvironment& environment)
{
    switch (choice)
    {
    case LanguageChoice::Japanese:
        return UiLanguage::Original;
    case LanguageChoice::English:
        return UiLanguage::English;
    case LanguageChoice::Automatic:
        break;
    }
    return ChooseUiLanguage(environment);
}
