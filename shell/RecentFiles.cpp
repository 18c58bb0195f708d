#include "shell/RecentFiles.h"

#include "config/AsciiCase.h"
#include "shell/CommandIds.h"
#include "shell/CommandTable.h"
#include "config/IniText.h"
#include "shell/UiText.h"

#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/utils.h>

#include <algorithm>
#include <string>

namespace
{
constexpr const char* kSectionHeader = "[Recent File List]";
constexpr const char* kPlaceholderText = wxTRANSLATE("最新のﾌｧｲﾙ");
} // namespace

using namespace IniText;

RecentFiles::RecentFiles(wxString iniPath) : m_strIniPath(std::move(iniPath))
{
}

wxString RecentFiles::DefaultIniPath()
{
    wxString folder;
    // Only an absolute setting counts; a relative one is to be ignored.
    if (wxGetEnv("XDG_CONFIG_HOME", &folder) && wxFileName(folder).IsAbsolute())
        return wxFileName(folder, "velquin.INI").GetFullPath();
    return wxFileName(wxGetHomeDir() + "/.config", "velquin.INI").GetFullPath();
}

wxString RecentFiles::Abbreviate(const wxString& path, std::size_t maxLength)
{
    if (path.length() <= maxLength)
        return path;
    const std::size_t lastSlash = path.find_last_of('/');
    if (lastSlash == wxString::npos)
        return path;
    const wxString root = path.StartsWith("/") ? wxString("/") : wxString();
    const wxString name = path.Mid(lastSlash + 1);
    // Drop folders from the front until root + ".../" + the rest fits.
    wxString rest = path.Mid(root.length(), lastSlash - root.length());
    while (!rest.empty())
    {
        const std::size_t slash = rest.find('/');
        rest = slash == wxString::npos ? wxString() : rest.Mid(slash + 1);
        const wxString candidate = root + "..." + (rest.empty() ? "" : "/" + rest) + "/" + name;
        if (candidate.length() <= maxLength)
            return candidate;
    }
    return name;
}

void RecentFiles::Load()
{
    // The profile-file form: a "[Recent File List]" section of "File1=..." lines; section and
    // key names compare without regard to case.
    m_files.clear();
    std::vector<wxString> byNumber(kMaxEntries);
    for (const IniEntry& entry : ReadSection(std::string(m_strIniPath.fn_str()), kSectionHeader))
    {
        for (std::size_t i = 0; i < kMaxEntries; ++i)
        {
            if (EqualsIgnoringAsciiCase(entry.key, "File" + std::to_string(i + 1)))
                byNumber[i] = wxString::FromUTF8(entry.value);
        }
    }
    for (const wxString& file : byNumber)
    {
        if (!file.empty())
            m_files.push_back(file);
    }
    RefreshMenu();
}

void RecentFiles::Save() const
{
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < m_files.size(); ++i)
        entries.push_back("File" + std::to_string(i + 1) + "=" + m_files[i].utf8_string());
    WriteSection(std::string(m_strIniPath.fn_str()), kSectionHeader, entries);
}

void RecentFiles::Add(const wxString& path)
{
    wxFileName name(path);
    name.MakeAbsolute();
    const wxString full = name.GetFullPath();
    m_files.erase(std::remove(m_files.begin(), m_files.end(), full), m_files.end());
    m_files.insert(m_files.begin(), full);
    if (m_files.size() > kMaxEntries)
        m_files.resize(kMaxEntries);
    Save();
    RefreshMenu();
}

void RecentFiles::Remove(std::size_t index)
{
    if (index >= m_files.size())
        return;
    m_files.erase(m_files.begin() + static_cast<std::ptrdiff_t>(index));
    Save();
    RefreshMenu();
}

void RecentFiles::UseMenu(wxMenu* menu)
{
    m_pMenu = menu;
    if (m_pMenu == nullptr)
        return;
    size_t position = 0;
    if (m_pMenu->FindChildItem(ID_FILE_MRU_FIRST, &position) != nullptr)
        m_nMenuPosition = position;
    RefreshMenu();
}

void RecentFiles::RefreshMenu()
{
    if (m_pMenu == nullptr)
        return;
    for (int id = ID_FILE_MRU_FIRST; id < ID_FILE_MRU_FIRST + static_cast<int>(kMaxEntries); ++id)
    {
        if (m_pMenu->FindChildItem(id) != nullptr)
            m_pMenu->Destroy(id);
    }
    if (m_files.empty())
    {
        m_pMenu->Insert(m_nMenuPosition, ID_FILE_MRU_FIRST, Ui(kPlaceholderText),
                        CommandTable::PromptOf(ID_FILE_MRU_FIRST));
        m_pMenu->Enable(ID_FILE_MRU_FIRST, false);
        return;
    }
    for (std::size_t i = 0; i < m_files.size(); ++i)
    {
        wxString shown = Abbreviate(m_files[i], kMenuTextLength);
        shown.Replace("&", "&&");
        m_pMenu->Insert(m_nMenuPosition + i, ID_FILE_MRU_FIRST + static_cast<int>(i),
                        wxString::Format("&%zu %s", i + 1, shown),
                        CommandTable::PromptOf(ID_FILE_MRU_FIRST));
    }
}
