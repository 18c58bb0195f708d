#include "shell/ViewSettings.h"

#include "config/AsciiCase.h"
#include "image/Zoom.h"
#include "config/IniText.h"

#include <array>
#include <charconv>
#include <string>
#include <vector>

namespace
{
constexpr const char* kSection = "[View]";

struct LanguageName
{
    LanguageChoice choice;
    const char* name;
};
constexpr std::array kLanguageNames = {
    LanguageName{LanguageChoice::Automatic, "Automatic"},
    LanguageName{LanguageChoice::Japanese, "Japanese"},
    LanguageName{LanguageChoice::English, "English"},
};

std::optional<LanguageChoice> ParseLanguage(const std::string& text)
{
    for (const LanguageName& entry : kLanguageNames)
    {
        if (EqualsIgnoringAsciiCase(text, entry.name))
            return entry.choice;
    }
    return std::nullopt;
}

const char* LanguageKeyValue(LanguageChoice choice)
{
    for (const LanguageName& entry : kLanguageNames)
    {
        if (entry.choice == choice)
            return entry.name;
    }
    return kLanguageNames[0].name;
}

std::optional<int> ParseNumber(const std::string& text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}
} // namespace

using namespace IniText;

ViewSettings::ViewSettings(wxString iniPath) : m_strIniPath(std::move(iniPath))
{
}

void ViewSettings::Load()
{
    // Section and key names compare without regard to case, as in the recent-file section.
    m_zoom.reset();
    m_bFit = false;
    m_bFkiss = true;
    m_language = LanguageChoice::Automatic;
    for (const auto& [key, text] : ReadSection(std::string(m_strIniPath.fn_str()), kSection))
    {
        if (EqualsIgnoringAsciiCase(key, "language"))
        {
            m_language = ParseLanguage(text).value_or(LanguageChoice::Automatic);
            continue;
        }
        const std::optional<int> value = ParseNumber(text);
        if (!value)
            continue;
        // A factor outside the steps is not trusted at all: the display's default serves.
        if (EqualsIgnoringAsciiCase(key, "zoom") && *value >= kMinZoom && *value <= kMaxZoom)
            m_zoom = *value;
        else if (EqualsIgnoringAsciiCase(key, "fittowindow"))
            m_bFit = *value != 0;
        else if (EqualsIgnoringAsciiCase(key, "fkiss"))
            m_bFkiss = *value != 0;
    }
}

void ViewSettings::Save() const
{
    std::vector<std::string> entries;
    if (m_zoom)
        entries.push_back("Zoom=" + std::to_string(*m_zoom));
    entries.push_back(std::string("FitToWindow=") + (m_bFit ? "1" : "0"));
    entries.push_back(std::string("FKiSS=") + (m_bFkiss ? "1" : "0"));
    entries.push_back(std::string("Language=") + LanguageKeyValue(m_language));
    WriteSection(std::string(m_strIniPath.fn_str()), kSection, entries);
}

void ViewSettings::Set(int zoom, bool fitToWindow)
{
    if (m_zoom == zoom && m_bFit == fitToWindow)
        return;
    m_zoom = ClampZoom(zoom);
    m_bFit = fitToWindow;
    Save();
}

void ViewSettings::SetFkiss(bool enabled)
{
    if (m_bFkiss == enabled)
        return;
    m_bFkiss = enabled;
    Save();
}

void ViewSettings::SetLanguage(LanguageChoice language)
{
    if (m_language == language)
        return;
    m_language = language;
    Save();
}
