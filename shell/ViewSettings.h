#pragma once

#include "i18n/Language.h"

#include <wx/string.h>

#include <optional>

/// The view's lasting choices, kept in the "[View]" section of the same INI file as the recent
/// files: "Zoom" (1 to 4), "FitToWindow" and "FKiSS" (0 or 1) and "Language" (Automatic, Japanese
/// or English). Other sections are left as they are.
class ViewSettings
{
public:
    explicit ViewSettings(wxString iniPath);

    void Load();
    void Save() const;

    /// The stored factor, or nothing when none (or no valid one) is stored.
    std::optional<int> Zoom() const { return m_zoom; }
    bool FitToWindow() const { return m_bFit; }
    /// Whether sets play their FKiSS code; on unless switched off.
    bool Fkiss() const { return m_bFkiss; }
    LanguageChoice Language() const { return m_language; }

    /// Stores and saves the choices, when they differ from what is stored.
    void Set(int zoom, bool fitToWindow);
    void SetFkiss(bool enabled);
    void SetLanguage(LanguageChoice language);

private:
    wxString m_strIniPath;
    std::optional<int> m_zoom;
    bool m_bFit = false;
    bool m_bFkiss = true;
    LanguageChoice m_language = LanguageChoice::Automatic;
};
