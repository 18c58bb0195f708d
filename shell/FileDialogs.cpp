#include "shell/FileDialogs.h"

#include "shell/UiText.h"

#include <wx/filedlg.h>
#include <wx/filename.h>

#include <cctype>

wxString ConfigFileFilter()
{
    // The file chooser matches patterns by exact case, so every spelling of CNF is listed.
    const std::string extension = std::string(UiText::kTemplateExtension).substr(1);
    wxString patterns;
    const unsigned variants = 1u << extension.size();
    for (unsigned mask = 0; mask < variants; ++mask)
    {
        std::string spelling = extension;
        for (std::size_t i = 0; i < spelling.size(); ++i)
        {
            if (mask & (1u << i))
                spelling[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(spelling[i])));
        }
        if (!patterns.empty())
            patterns += ";";
        patterns += "*." + spelling;
    }
    // "*" rather than "*.*": here a name need not contain a dot.
    return Ui(UiText::kTemplateFilterName) + "|" + patterns + "|" +
           Ui(UiText::kAllFilesFilterName) + "|*";
}

wxString WithDefaultExtension(const wxString& path)
{
    if (path.empty() || wxFileName(path).HasExt())
        return path;
    return path + Ui(UiText::kTemplateExtension);
}

wxString AskOpenPath(wxWindow* parent)
{
    wxFileDialog dialog(parent, Ui(UiText::kOpenTitle), wxString(), wxString(), ConfigFileFilter(),
                        wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    return dialog.ShowModal() == wxID_OK ? dialog.GetPath() : wxString();
}

wxString AskSavePath(wxWindow* parent, const wxString& current)
{
    const wxFileName name(current);
    wxFileDialog dialog(parent, Ui(UiText::kSaveAsTitle), name.GetPath(), name.GetFullName(),
                        ConfigFileFilter(), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    return dialog.ShowModal() == wxID_OK ? WithDefaultExtension(dialog.GetPath()) : wxString();
}
