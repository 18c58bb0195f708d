#include "shell/CAboutDlg.h"

#include "shell/ToolBarArt.h"
#include "shell/UiText.h"

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

namespace
{
/// A rectangle in dialog units, as the dialog template gives its controls.
struct DialogRect
{
    int x, y, width, height;
};
} // namespace

CAboutDlg::CAboutDlg(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, Ui(UiText::kAboutCaption), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX)
{
    SetClientSize(ConvertDialogToPixels(wxSize(217, 80)));
    auto place = [this](wxWindow* control, DialogRect r) {
        control->SetSize(wxRect(ConvertDialogToPixels(wxPoint(r.x, r.y)),
                                ConvertDialogToPixels(wxSize(r.width, r.height))));
    };

    // The icon keeps its own size; only its place comes from the template.
    new wxStaticBitmap(this, wxID_ANY, DrawAppIcon(32), ConvertDialogToPixels(wxPoint(11, 17)));
    place(new wxStaticText(this, wxID_ANY, Ui(UiText::kAboutVersion), wxDefaultPosition,
                           wxDefaultSize, wxST_NO_AUTORESIZE),
          {40, 10, 119, 8});
    place(new wxStaticText(this, wxID_ANY, Ui(UiText::kAboutCopyright), wxDefaultPosition,
                           wxDefaultSize, wxST_NO_AUTORESIZE),
          {40, 25, 119, 8});
    auto* ok = new wxButton(this, wxID_OK, Ui(UiText::kOk));
    place(ok, {178, 7, 32, 14});
    ok->SetDefault();
    auto* notice = new wxStaticText(this, wxID_ANY, Ui(UiText::kAboutNotice), wxDefaultPosition,
                                    wxDefaultSize, wxST_NO_AUTORESIZE);
    place(notice, {39, 44, 111, 22});
    notice->Wrap(notice->GetSize().x);
    CentreOnParent();
}
