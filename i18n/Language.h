#pragma once

#include <string>

/// The languages the interface speaks: its original Japanese texts, or their English catalog.
enum class UiLanguage
{
    Original,
    English,
};

/// The user's choice in the viewer's menu; Automatic follows the environment.
enum class LanguageChoice
{
    Automatic,
    Japanese,
    English,
};

/// The variables that name the language, as the process received them (empty when unset).
struct LocaleEnvironment
{
    std::string language; ///< LANGUAGE: a colon-separated list of preferences
    std::string lcAll;
    std::string lcMessages;
    std::string lang;

    static LocaleEnvironment FromProcess();
};

/// As gettext reads the environment: the C and POSIX locales keep the original texts and then
/// LANGUAGE is ignored; otherwise LANGUAGE's entries come first. Japanese keeps the original;
/// English, and any language without a catalog of its own, shows English.
UiLanguage ChooseUiLanguage(const LocaleEnvironment& environment);
UiLanguage ResolveLanguage(LanguageChoice choice, const LocaleEnvironment& environment);

/// The catalog's domain, shared by the viewer and Tarnel.
constexpr const char* kCatalogDomain = "velquin";
/// The catalog's language code, as in share/locale/<code>/LC_MESSAGES.
constexpr const char* kEnglishCatalog = "en";
