#pragma once

#include "archive/Archive.h"

#include <wx/choicdlg.h>

#include <optional>
#include <string>
#include <vector>

/// The choice of a configuration inside an archive: a single-choice dialog whose list shows
/// kVisibleRows rows before it scrolls.
class CChooseConfigDlg : public wxSingleChoiceDialog
{
public:
    static constexpr int kVisibleRows = 6;

    CChooseConfigDlg(wxWindow* parent, const wxString& message, const wxString& caption,
                     const wxArrayString& choices);

    /// The configuration of archive the user picks, each shown with its first comment line;
    /// the only one without asking. Nothing when the user cancels.
    static std::optional<std::string> Choose(wxWindow* parent, const wxString& archivePath,
                                             const Archive& archive,
                                             const std::vector<std::string>& configs);

protected:
    wxListBoxBase* CreateList(int n, const wxString* choices, long styleLbox) override;
};
