#include "shell/Translation.h"

#include <wx/filename.h>
#include <wx/stdpaths.h>
#include <wx/translation.h>

namespace
{
UiLanguage g_language = UiLanguage::Original;

void AddCatalogFolders()
{
    static bool added = false;
    if (added)
        return;
    added = true;
    // Relative to the program, so that the build tree and any installation prefix both work.
    const wxString folder = wxFileName(wxStandardPaths::Get().GetExecutablePath()).GetPath();
    for (const char* relative : {CATALOG_FROM_BUILD, CATALOG_FROM_INSTALL})
    {
        wxFileName prefix = wxFileName::DirName(folder + "/" + relative);
        prefix.Normalize(wxPATH_NORM_DOTS | wxPATH_NORM_ABSOLUTE);
        wxFileTranslationsLoader::AddCatalogLookupPathPrefix(prefix.GetPath());
    }
}
} // namespace

void UseLanguage(UiLanguage language)
{
    g_language = language;
    if (language == UiLanguage::Original)
    {
        // No translations at all: wxGetTranslation gives back the msgids, today's texts.
        wxTranslations::Set(nullptr);
        return;
    }
    AddCatalogFolders();
    auto* translations = new wxTranslations;
    translations->SetLanguage(kEnglishCatalog);
    translations->AddCatalog(kCatalogDomain, wxLANGUAGE_JAPANESE);
    wxTranslations::Set(translations);
}

UiLanguage CurrentLanguage()
{
    return g_language;
}
