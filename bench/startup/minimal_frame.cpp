// The toolkit's floor: a wx program that shows one empty frame, the size of the large set's
// picture, in the marker colour, and does nothing else.
#include <wx/app.h>
#include <wx/frame.h>

class MinimalApp : public wxApp
{
public:
    bool OnInit() override
    {
        auto* frame = new wxFrame(nullptr, wxID_ANY, "minimal");
        frame->SetBackgroundColour(wxColour(255, 0, 255));
        frame->SetClientSize(1500, 600);
        frame->Show();
        return true;
    }
};

wxIMPLEMENT_APP(MinimalApp);
