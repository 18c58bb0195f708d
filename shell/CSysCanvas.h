#pragma once

#include <wx/scrolwin.h>

class CSysView;

/// The scrolling window that shows the view. It belongs to the frame and lives for the whole
/// run; painting and the mouse are handed to the view.
class CSysCanvas : public wxScrolledCanvas
{
public:
    explicit CSysCanvas(wxWindow* parent);
    ~CSysCanvas() override;

    void SetView(CSysView* view) { m_pView = view; }

    /// One scroll unit per pixel over the whole picture; a page is a tenth of it and a line a
    /// tenth of a page, for each axis.
    void SetScrollSizes(const wxSize& total);
    /// Scrolls by steps of the given kind, clamped to the picture.
    void ScrollBySteps(int orientation, int steps, bool pages);

    void OnDraw(wxDC& dc) override;

private:
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeave(wxMouseEvent& event);
    void OnKey(wxKeyEvent& event);
    void OnWheel(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);

    class StepHandler;

    CSysView* m_pView = nullptr;
    wxSize m_szPage{1, 1};
    wxSize m_szLine{1, 1};
    StepHandler* m_pSteps;
};
