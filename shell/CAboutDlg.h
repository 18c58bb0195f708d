#pragma once

#include <wx/dialog.h>

/// The About box: icon, version, copyright and a note on the build's status.
class CAboutDlg : public wxDialog
{
public:
    explicit CAboutDlg(wxWindow* parent);
};
