#include "Messages.h"

#include "i18n/Language.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace
{
std::filesystem::path CatalogFolder()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    for (const char* relative : {TARNEL_LOCALE_FROM_BUILD, TARNEL_LOCALE_FROM_INSTALL})
    {
        const std::filesystem::path folder = program.parent_path() / relative;
        const std::filesystem::path catalog =
            folder / kEnglishCatalog / "LC_MESSAGES" / (std::string(kCatalogDomain) + ".mo");
        if (std::filesystem::is_regular_file(catalog, error))
            return folder.lexically_normal();
    }
    return {};
}
} // namespace

std::string Tr(const char* msgid)
{
    return dgettext(kCatalogDomain, msgid);
}

std::string Fill(std::string_view text, std::string_view first, std::string_view second)
{
    std::string filled;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2'))
        {
            filled += text[i + 1] == '1' ? first : second;
            ++i;
            continue;
        }
        filled += text[i];
    }
    return filled;
}

void UseEnvironmentLanguage()
{
    if (ChooseUiLanguage(LocaleEnvironment::FromProcess()) != UiLanguage::English)
        return;
    const std::filesystem::path folder = CatalogFolder();
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
