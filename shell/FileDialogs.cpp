#include "shell/FileDialogs.h"

#include "config/AsciiCase.h"
#include "shell/UiText.h"

#include <wx/filedlg.h>
#include <wx/filename.h>

#include <cctype>

#include <sys/stat.h>
#include <unistd.h>

namespace
{

/// "*.ext" in every spelling of upper and lower case: the file chooser matches exactly.
wxString AnyCasePatterns(const std::string& extension)
{
    wxString patterns;
    const unsigned variants = 1u << extension.size();
    for (unsigned mask = 0; mask < variants; ++mask)
    {
        std::string spelling = extension;
        for (std::size_t i = 0; i < spelling.size(); ++i)
        {
            if (mask & (1u << i))
                spelling[i] = LowerAscii(spelling[i]);
        }
        if (!patterns.empty())
            patterns += ";";
        patterns += "*." + spelling;
    }
    return patterns;
}

wxString ConfigPatterns()
{
    const std::string extension = std::string(UiText::kTemplateExtension).substr(1);
    return Ui(UiText::kTemplateFilterName) + "|" + AnyCasePatterns(extension);
}

} // namespace

wxString ConfigFileFilter()
{
    // "*" rather than "*.*": here a name need not contain a dot.
    return ConfigPatterns() + "|" + Ui(UiText::kAllFilesFilterName) + "|*";
}

wxString OpenFileFilter()
{
    const wxString archives =
        AnyCasePatterns("LZH") + ";" + AnyCasePatterns("LHA") + ";" + AnyCasePatterns("ZIP");
    return ConfigPatterns() + "|" + Ui(UiText::kArchiveFilterName) + "|" + archives + "|" +
           Ui(UiText::kAllFilesFilterName) + "|*";
}

wxString WithDefaultExtension(const wxString& path)
{
    if (path.empty() || wxFileName(path).HasExt())
        return path;
    return path + Ui(UiText::kTemplateExtension);
}

wxString AskOpenPath(wxWindow* parent, const wxString& title)
{
    wxFileDialog dialog(parent, title.empty() ? Ui(UiText::kOpenTitle) : title, wxString(),
                        wxString(), OpenFileFilter(), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    return dialog.ShowModal() == wxID_OK ? dialog.GetPath() : wxString();
}

wxString AskSavePath(wxWindow* parent, const wxString& current)
{
    const wxFileName name(current);
    wxFileDialog dialog(parent, Ui(UiText::kSaveAsTitle), name.GetPath(), name.GetFullName(),
                        ConfigFileFilter(), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    return dialog.ShowModal() == wxID_OK ? WithDefaultExtension(dialog.GetPath()) : wxString();
}

bool NeedsNewName(const wxString& path)
{
    if (path.empty())
        return true;
    const std::string bytes(path.fn_str());
    struct stat info{};
    if (::stat(bytes.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return true;
    // A file without write permission is read-only even for a user (root) whom the system
    // would let write it anyway.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    return ::access(bytes.c_str(), W_OK) != 0;
}
