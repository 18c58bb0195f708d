#include "shell/RecentFiles.h"

#include "shell/CommandIds.h"
#include "shell/CommandTable.h"
#include "shell/UiText.h"

#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/utils.h>

#include <algorithm>

namespace
{
constexpr const char* kSection = "/Recent File List";
constexpr const char* kPlaceholderText = "最新のﾌｧｲﾙ";

wxString KeyOf(std::size_t index)
{
    return wxString::Format("%s/File%zu", kSection, index + 1);
}
} // namespace

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
    m_files.clear();
    if (wxFileName::FileExists(m_strIniPath))
    {
        wxFileConfig config(wxString(), wxString(), m_strIniPath, wxString(),
                            wxCONFIG_USE_LOCAL_FILE);
        for (std::size_t i = 0; i < kMaxEntries; ++i)
        {
            wxString file;
            if (config.Read(KeyOf(i), &file) && !file.empty())
                m_files.push_back(file);
        }
    }
    RefreshMenu();
}

void RecentFiles::Save() const
{
    const wxFileName ini(m_strIniPath);
    if (!ini.DirExists())
        wxFileName::Mkdir(ini.GetPath(), 0700, wxPATH_MKDIR_FULL);
    wxFileConfig config(wxString(), wxString(), m_strIniPath, wxString(), wxCONFIG_USE_LOCAL_FILE);
    config.DeleteGroup(kSection);
    // wxFileHistory would write "file1"; the stored spelling is "File1".
    for (std::size_t i = 0; i < m_files.size(); ++i)
        config.Write(KeyOf(i), m_files[i]);
    config.Flush();
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
