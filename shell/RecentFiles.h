#pragma once

#include <wx/string.h>

#include <cstddef>
#include <vector>

class wxMenu;

/// The five most recently used files, most recent first, kept in the "Recent File List"
/// section of an INI file under the keys File1 to File5, and shown in the File menu in place of
/// its greyed placeholder item.
class RecentFiles
{
public:
    static constexpr std::size_t kMaxEntries = 5;
    static constexpr std::size_t kMenuTextLength = 30;

    explicit RecentFiles(wxString iniPath);

    /// "velquin.INI" in $XDG_CONFIG_HOME, or in ~/.config when that is not set.
    static wxString DefaultIniPath();
    /// The path shortened to at most maxLength characters: leading folders give way to "...",
    /// the file name itself is always kept whole.
    static wxString Abbreviate(const wxString& path, std::size_t maxLength);

    void Load();
    void Save() const;

    /// Moves or adds path to the top, drops what falls off the end, and saves.
    void Add(const wxString& path);
    /// Removes entry index and saves.
    void Remove(std::size_t index);
    std::size_t Count() const { return m_files.size(); }
    const wxString& File(std::size_t index) const { return m_files[index]; }

    /// Attaches the list to the File menu at the place of the placeholder item.
    void UseMenu(wxMenu* menu);
    /// Gives the placeholder item and the prompts the texts of the current language.
    void TranslateMenu() { RefreshMenu(); }

private:
    void RefreshMenu();

    wxString m_strIniPath;
    std::vector<wxString> m_files;
    wxMenu* m_pMenu = nullptr;
    std::size_t m_nMenuPosition = 0;
};
