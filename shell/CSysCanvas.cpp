#include "shell/CSysCanvas.h"

#include "shell/CSysView.h"

#include <wx/dcclient.h>

#include <algorithm>

/// Sits in front of the scrolling machinery so that line and page scrolls move by the steps
/// of SetScrollSizes instead of one unit and one window.
class CSysCanvas::StepHandler : public wxEvtHandler
{
public:
    explicit StepHandler(CSysCanvas& canvas) : m_canvas(canvas)
    {
        Bind(wxEVT_SCROLLWIN_LINEUP, &StepHandler::OnStep, this);
        Bind(wxEVT_SCROLLWIN_LINEDOWN, &StepHandler::OnStep, this);
        Bind(wxEVT_SCROLLWIN_PAGEUP, &StepHandler::OnStep, this);
        Bind(wxEVT_SCROLLWIN_PAGEDOWN, &StepHandler::OnStep, this);
    }

private:
    void OnStep(wxScrollWinEvent& event)
    {
        const wxEventType type = event.GetEventType();
        const bool pages = type == wxEVT_SCROLLWIN_PAGEUP || type == wxEVT_SCROLLWIN_PAGEDOWN;
        const bool up = type == wxEVT_SCROLLWIN_LINEUP || type == wxEVT_SCROLLWIN_PAGEUP;
        m_canvas.ScrollBySteps(event.GetOrientation(), up ? -1 : 1, pages);
    }

    CSysCanvas& m_canvas;
};

CSysCanvas::CSysCanvas(wxWindow* parent)
    : wxScrolledCanvas(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                       wxHSCROLL | wxVSCROLL | wxBORDER_NONE),
      m_pSteps(new StepHandler(*this))
{
    // Everything is painted from the picture, so erasing first would only flicker.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetScrollRate(1, 1);
    PushEventHandler(m_pSteps);
    Bind(wxEVT_LEFT_DOWN, &CSysCanvas::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CSysCanvas::OnLeftUp, this);
    Bind(wxEVT_MOTION, &CSysCanvas::OnMotion, this);
    // Entering is a motion like any other: it may land on a cel.
    Bind(wxEVT_ENTER_WINDOW, &CSysCanvas::OnMotion, this);
    Bind(wxEVT_LEAVE_WINDOW, &CSysCanvas::OnLeave, this);
    Bind(wxEVT_MOUSEWHEEL, &CSysCanvas::OnWheel, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CSysCanvas::OnCaptureLost, this);
    // Before the shortcuts: a key that the set's code takes does not also switch sets.
    Bind(wxEVT_CHAR_HOOK, &CSysCanvas::OnKey, this);
    Bind(wxEVT_KEY_UP, &CSysCanvas::OnKey, this);
}

CSysCanvas::~CSysCanvas()
{
    PopEventHandler(true);
}

void CSysCanvas::SetScrollSizes(const wxSize& total)
{
    m_szPage = wxSize(std::max(total.x / 10, 1), std::max(total.y / 10, 1));
    m_szLine = wxSize(std::max(m_szPage.x / 10, 1), std::max(m_szPage.y / 10, 1));
    SetScrollRate(1, 1);
    SetVirtualSize(total);
}

void CSysCanvas::ScrollBySteps(int orientation, int steps, bool pages)
{
    const wxSize step = pages ? m_szPage : m_szLine;
    const wxSize limit = GetVirtualSize() - GetClientSize();
    wxPoint start = GetViewStart();
    if (orientation == wxHORIZONTAL)
        start.x = std::clamp(start.x + steps * step.x, 0, std::max(limit.x, 0));
    else
        start.y = std::clamp(start.y + steps * step.y, 0, std::max(limit.y, 0));
    Scroll(start);
}

void CSysCanvas::OnDraw(wxDC& dc)
{
    if (m_pView != nullptr)
        m_pView->OnDraw(&dc);
}

void CSysCanvas::OnLeftDown(wxMouseEvent& event)
{
    SetFocus();
    if (m_pView != nullptr)
        m_pView->OnLButtonDown(event.GetPosition());
}

void CSysCanvas::OnLeftUp(wxMouseEvent& event)
{
    if (m_pView != nullptr)
        m_pView->OnLButtonUp(event.GetPosition());
}

void CSysCanvas::OnMotion(wxMouseEvent& event)
{
    if (m_pView != nullptr)
        m_pView->OnMouseMove(event.GetPosition());
}

void CSysCanvas::OnLeave(wxMouseEvent& event)
{
    if (m_pView != nullptr)
        m_pView->OnMouseLeave();
    event.Skip();
}

void CSysCanvas::OnKey(wxKeyEvent& event)
{
    const bool down = event.GetEventType() == wxEVT_CHAR_HOOK;
    const bool plain = !event.HasAnyModifiers();
    if (m_pView == nullptr || !plain || !m_pView->OnKey(event.GetKeyCode(), down))
        event.Skip();
}

void CSysCanvas::OnWheel(wxMouseEvent& event)
{
    // With Ctrl the wheel zooms; without, it scrolls as usual.
    if (m_pView == nullptr || !m_pView->OnMouseWheel(event))
        event.Skip();
}

void CSysCanvas::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    // The hold itself goes on until the next left-button release reaches the view.
}
