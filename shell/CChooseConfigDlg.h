#pragma once

#include <wx/choicdlg.h>

/// The choice of a configuration inside an archive: a single-choice dialog whose list shows
/// kVisibleRows rows before it scrolls.
class CChooseConfigDlg : public wxSingleChoiceDialog
{
public:
    static constexpr int kVisibleRows = 6;

    CChooseConfigDlg(wxWindow* parent, const wxString& message, const wxString& caption,
                     const wxArrayString& choices);

protected:
    wxListBoxBase* CreateList(int n, const wxString* choices, long styleLbox) override;
};
