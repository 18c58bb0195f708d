#include "i18n/ConsoleCatalog.h"

#include "i18n/Language.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <system_error>

std::filesystem::path FindCatalogFolder(const std::filesystem::path& programFolder,
                                        std::span<const char* const> relativeFolders)
{
    for (const char* relative : relativeFolders)
    {
        const std::filesystem::path folder = programFolder / relative;
        const std::filesystem::path catalog =
            folder / kEnglishCatalog / "LC_MESSAGES" / (std::string(kCatalogDomain) + ".mo");
        std::error_code error;
        if (std::filesystem::is_regular_file(catalog, error))
            return folder.lexically_normal();
    }
    return {};
}

void UseEnvironmentLanguage(std::span<const char* const> catalogFolders)
{
    if (ChooseUiLanguage(LocaleEnvironment::FromProcess()) != UiLanguage::English)
        return;
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return;
    const std::filesystem::path folder = FindCatalogFolder(program.parent_path(), catalogFolders);
    if (folder.empty())
        return;
    // gettext ignores LANGUAGE under the plain C locale, and the user's own locale may not be
    // installed: C.UTF-8 always is, keeps the C library's messages English, and lets the
    // English catalog be chosen by name.
    if (std::setlocale(LC_MESSAGES, "C.UTF-8") == nullptr)
        return;
    setenv("LANGUAGE", kEnglishCatalog, 1);
    bindtextdomain(kCatalogDomain, folder.c_str());
    bind_textdomain_codeset(kCatalogDomain, "UTF-8");
}

std::string ConsoleTranslate(const char* msgid)
{
    return dgettext(kCatalogDomain, msgid);
}
