#include "shell/CChooseConfigDlg.h"

#include <wx/listbox.h>

CChooseConfigDlg::CChooseConfigDlg(wxWindow* parent, const wxString& message,
                                   const wxString& caption, const wxArrayString& choices)
{
    // Created in two steps so that the dialog builds its list with CreateList below.
    Create(parent, message, caption, choices);
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
