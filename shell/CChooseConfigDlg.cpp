#include "shell/CChooseConfigDlg.h"

#include "archive/ArchiveFileSource.h"
#include "shell/UiText.h"
#include "shell/WxBridge.h"

#include <wx/filename.h>
#include <wx/listbox.h>

CChooseConfigDlg::CChooseConfigDlg(wxWindow* parent, const wxString& message,
                                   const wxString& caption, const wxArrayString& choices)
{
    // Created in two steps so that the dialog builds its list with CreateList below.
    Create(parent, message, caption, choices);
}

std::optional<std::string> CChooseConfigDlg::Choose(wxWindow* parent, const wxString& archivePath,
                                                    const Archive& archive,
                                                    const std::vector<std::string>& configs)
{
    if (configs.size() == 1)
        return configs.front();
    wxArrayString items;
    for (const std::string& config : configs)
    {
        wxString item = DecodeCp932(config);
        const auto& bytes = archive.Find(config)->bytes;
        if (const std::string hint = bytes ? FirstCommentLine(*bytes) : std::string();
            !hint.empty())
            item += wxString::FromUTF8("  \u2014  ") + DecodeCp932(hint);
        items.Add(item);
    }
    wxString prompt = Ui(UiText::kChooseConfigPrompt);
    prompt.Replace("%1", wxFileName(archivePath).GetFullName());
    CChooseConfigDlg dialog(parent, prompt, Ui(UiText::kChooseConfigTitle), items);
    if (dialog.ShowModal() != wxID_OK || dialog.GetSelection() < 0)
        return std::nullopt;
    return configs[static_cast<std::size_t>(dialog.GetSelection())];
}

wxListBoxBase* CChooseConfigDlg::CreateList(int n, const wxString* choices, long styleLbox)
{
    // The list gets its height before the dialog is laid out: one sized from two or three
    // entries leaves GTK too little room for the scroll bar that it allocates anyway.
    wxListBoxBase* list = wxSingleChoiceDialog::CreateList(n, choices, styleLbox);
    const int rowHeight = list->GetCharHeight() + FromDIP(8);
    list->SetMinSize(wxSize(FromDIP(320), rowHeight * kVisibleRows + FromDIP(8)));
    return list;
}
