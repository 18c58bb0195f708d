#include "shell/CSysView.h"

#include "config/AsciiCase.h"
#include "shell/CSysDoc.h"
#include "shell/CMainFrame.h"
#include "shell/CSysCanvas.h"
#include "shell/CommandIds.h"
#include "shell/UiText.h"
#include "shell/ViewSettings.h"
#include "shell/WxBridge.h"

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/display.h>
#include <wx/event.h>

#include <algorithm>
#include <optional>
#include <string>

namespace
{

/// The name FKiSS key events use for a key: the character in lower case, or a word.
std::string KeyName(int keyCode)
{
    switch (keyCode)
    {
    case WXK_SPACE:
        return "space";
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        return "enter";
    case WXK_ESCAPE:
        return "escape";
    case WXK_TAB:
        return "tab";
    case WXK_BACK:
        return "backspace";
    case WXK_DELETE:
        return "delete";
    case WXK_INSERT:
        return "insert";
    case WXK_HOME:
        return "home";
    case WXK_END:
        return "end";
    case WXK_PAGEUP:
        return "pageup";
    case WXK_PAGEDOWN:
        return "pagedown";
    case WXK_LEFT:
        return "left";
    case WXK_UP:
        return "up";
    case WXK_RIGHT:
        return "right";
    case WXK_DOWN:
        return "down";
    default:
        break;
    }
    if (keyCode >= WXK_F1 && keyCode <= WXK_F12)
        return "f" + std::to_string(keyCode - WXK_F1 + 1);
    if (keyCode >= 'A' && keyCode <= 'Z')
        return std::string(1, LowerAscii(static_cast<char>(keyCode)));
    if (keyCode > ' ' && keyCode < 127)
        return std::string(1, static_cast<char>(keyCode));
    return std::string();
}

} // namespace

wxIMPLEMENT_DYNAMIC_CLASS(CSysView, wxView);

wxBEGIN_EVENT_TABLE(CSysView, wxView)
    EVT_MENU(ID_SIZE_ADJUST, CSysView::OnSizeAdjust)
    EVT_UPDATE_UI(ID_SIZE_ADJUST, CSysView::OnUpdateSizeAdjust)
    EVT_MENU(ID_ZOOM_IN, CSysView::OnZoomIn)
    EVT_MENU(ID_ZOOM_OUT, CSysView::OnZoomOut)
    EVT_MENU(ID_ZOOM_FIT, CSysView::OnZoomFit)
    EVT_UPDATE_UI(ID_ZOOM_IN, CSysView::OnUpdateZoomIn)
    EVT_UPDATE_UI(ID_ZOOM_OUT, CSysView::OnUpdateZoomOut)
    EVT_UPDATE_UI(ID_ZOOM_FIT, CSysView::OnUpdateZoomFit)
wxEND_EVENT_TABLE()

CSysView::CSysView() = default;

CSysView::~CSysView()
{
    if (m_pCanvas != nullptr)
        m_pCanvas->SetView(nullptr);
}

CSysDoc* CSysView::GetDocument() const
{
    return wxStaticCast(wxView::GetDocument(), CSysDoc);
}

CMainFrame* CSysView::Frame() const
{
    return wxDynamicCast(GetFrame(), CMainFrame);
}

bool CSysView::OnCreate(wxDocument*, long)
{
    // The frame and its canvas exist before the one document and outlive it.
    auto* frame = wxDynamicCast(wxTheApp->GetTopWindow(), CMainFrame);
    if (frame == nullptr)
        return false;
    SetFrame(frame);
    // What the user chose last; without a choice, the picture keeps its size on a display
    // that counts more than one pixel per ordinary one.
    const ViewSettings* settings = frame->Settings();
    const double displayScale = std::max(frame->GetContentScaleFactor(), frame->GetDPIScaleFactor());
    m_nZoom = settings && settings->Zoom() ? *settings->Zoom() : DefaultZoom(displayScale);
    m_bFitToWindow = settings && settings->FitToWindow();
    m_pCanvas = frame->Canvas();
    m_pCanvas->SetView(this);
    Activate(true);
    return true;
}

bool CSysView::OnClose(bool deleteWindow)
{
    if (!wxView::OnClose(deleteWindow))
        return false;
    Activate(false);
    if (m_pCanvas != nullptr)
    {
        if (m_pCanvas->HasCapture())
            m_pCanvas->ReleaseMouse();
        m_pCanvas->SetView(nullptr);
    }
    m_pCanvas = nullptr;
    return true;
}

void CSysView::OnChangeFilename()
{
    if (wxWindow* frame = GetFrame())
        frame->SetLabel(GetDocument()->GetTitle() + " - " + Ui(UiText::kAppName));
}

void CSysView::OnDraw(wxDC* dc)
{
    if (!m_bmpScreen.IsOk() || m_pCanvas == nullptr)
        return;
    const wxSize picture = m_bmpScreen.GetLogicalSize();
    if (m_bmpScreen.GetScaleFactor() != 1.0)
    {
        // Blitting takes no scale factor; drawing does, and the toolkit clips it to the update.
        dc->DrawBitmap(m_bmpScreen, 0, 0);
    }
    else
    {
        wxRect area(wxPoint(0, 0), picture);
        const wxRect update = m_pCanvas->GetUpdateRegion().GetBox();
        if (!update.IsEmpty())
            area.Intersect(wxRect(m_pCanvas->CalcUnscrolledPosition(update.GetPosition()),
                                  update.GetSize()));
        if (!area.IsEmpty())
        {
            wxMemoryDC source;
            source.SelectObjectAsSource(m_bmpScreen);
            dc->Blit(area.GetPosition(), area.GetSize(), &source, area.GetPosition());
        }
    }
    // Where the window is larger than the picture (it cannot get narrower than its menu
    // bar), the rest shows the window's plain background.
    const wxRect client(m_pCanvas->CalcUnscrolledPosition(wxPoint(0, 0)),
                        m_pCanvas->GetClientSize());
    dc->SetPen(*wxTRANSPARENT_PEN);
    dc->SetBrush(wxBrush(m_pCanvas->GetBackgroundColour()));
    if (client.GetRight() >= picture.x)
        dc->DrawRectangle(picture.x, client.y, client.GetRight() + 1 - picture.x, client.height);
    if (client.GetBottom() >= picture.y)
        dc->DrawRectangle(client.x, picture.y, picture.x - client.x, client.GetBottom() + 1 - picture.y);
}

void CSysView::StartPainting()
{
    m_bPainting = true;
    GetDocument()->UpdateAllViewsWithHint(kHintReset);
}

void CSysView::OnUpdate(wxView*, wxObject* hint)
{
    // The buffer stays dirty meanwhile, so the first update draws all of it.
    if (!m_bPainting)
        return;
    CSysDoc* doc = GetDocument();
    ScreenBuffer& screen = doc->Screen();
    const auto* code = dynamic_cast<const CSysUpdateHint*>(hint);
    const int which = code ? code->m_nHint : -1;
    // Fitting to the window follows every change of the window's or the picture's size.
    if (m_bFitToWindow && (which == kHintReset || which == kHintRefit))
        m_nZoom = FitWindowZoom(which == kHintReset);
    // A new picture may be too large for the factor: the bitmap could not be made.
    m_nZoom = std::min(m_nZoom, LargestZoom());

    const Rect dirty = screen.DirtyRect();
    doc->GetScene().DrawDirty(screen);
    const ZoomMapping mapping = Mapping();
    CopyToBitmap(screen, dirty, m_bmpScreen, mapping.zoom);
    if (m_bmpScreen.IsOk() && m_bmpScreen.GetScaleFactor() != mapping.scale)
        m_bmpScreen.SetScaleFactor(mapping.scale);
    // Cleared before the frame is fitted: the resize that fitting causes updates the view again
    // from inside this update, and must not draw and copy the same picture once more.
    screen.ClearDirty();

    switch (which)
    {
    case kHintReset:
    case kHintRefit:
        // A new picture takes the keys at once: a set's keypress needs no click first.
        if (which == kHintReset && m_pCanvas != nullptr)
            m_pCanvas->SetFocus();
        ResetStatus();
        SetScrollSizes();
        if (CMainFrame* frame = Frame())
            frame->RecalcLayoutBase();
        // A window sized by hand for fitting keeps its size; otherwise it follows the picture.
        if (!(m_bFitToWindow && which == kHintRefit))
        {
            FitFrame(which == kHintRefit);
            if (which == kHintReset)
                FitFrame(true);
        }
        if (m_pCanvas != nullptr)
            m_pCanvas->Refresh(false);
        break;
    case kHintRepaintAll:
        ResetStatus();
        if (m_pCanvas != nullptr)
            m_pCanvas->Refresh(false);
        break;
    case kHintRepaintDirty:
        if (m_pCanvas != nullptr && !dirty.IsEmpty())
        {
            wxRect area = ToWx(mapping.ToWindow(dirty));
            area.SetPosition(m_pCanvas->CalcScrolledPosition(area.GetPosition()));
            m_pCanvas->RefreshRect(area, false);
        }
        break;
    default:
        break;
    }
    if (m_pCanvas != nullptr)
        m_pCanvas->Update();
}

void CSysView::ResetStatus()
{
    m_nHoverObject = -1;
    m_ptStatus = Point{-1, -1};
}

void CSysView::SetScrollSizes()
{
    if (m_pCanvas != nullptr)
    {
        const ScreenBuffer& screen = GetDocument()->Screen();
        m_pCanvas->SetScrollSizes(ToWxSize(Mapping().WindowSize({screen.Width(), screen.Height()})));
    }
}

std::optional<wxSize> CSysView::FittedFrameSize(bool shrinkOnly) const
{
    CMainFrame* frame = Frame();
    if (frame == nullptr || m_pCanvas == nullptr)
        return std::nullopt;
    const ScreenBuffer& screen = GetDocument()->Screen();
    const wxSize total = ToWxSize(Mapping().WindowSize({screen.Width(), screen.Height()}));
    // The canvas has no border, so its size is its client size without scroll bars.
    const wxSize client = m_pCanvas->GetSize();
    wxSize wanted = total;
    if (shrinkOnly)
    {
        if (client.x <= total.x)
            wanted.x = client.x;
        if (client.y <= total.y)
            wanted.y = client.y;
    }
    if (wanted == client)
        return std::nullopt;
    wxSize size = frame->GetSize() + (wanted - client);
    if (!shrinkOnly)
    {
        // Scroll bars only when the screen cannot hold the picture.
        const int display = wxDisplay::GetFromWindow(frame);
        const wxRect area = wxDisplay(display == wxNOT_FOUND ? 0u : unsigned(display)).GetClientArea();
        size.x = std::min(size.x, area.width);
        size.y = std::min(size.y, area.height);
    }
    return size;
}

void CSysView::FitFrame(bool shrinkOnly)
{
    if (const std::optional<wxSize> size = FittedFrameSize(shrinkOnly))
    {
        ResizeTopLevel(Frame(), *size);
        Frame()->RecalcLayoutBase();
    }
}

void CSysView::RefitIfResized()
{
    const std::optional<wxSize> size = FittedFrameSize(false);
    if (size && *size != Frame()->GetSize())
        GetDocument()->UpdateAllViewsWithHint(kHintReset);
}

ZoomMapping CSysView::Mapping() const
{
    return ZoomMapping{m_nZoom, m_pCanvas != nullptr ? m_pCanvas->GetContentScaleFactor() : 1.0};
}

Point CSysView::ToPicture(const wxPoint& client) const
{
    return Mapping().ToPicture(
        FromWx(m_pCanvas != nullptr ? m_pCanvas->CalcUnscrolledPosition(client) : client));
}

int CSysView::LargestZoom() const
{
    const ScreenBuffer& screen = GetDocument()->Screen();
    return LargestZoomFor(Point{screen.Width(), screen.Height()});
}

int CSysView::FitWindowZoom(bool wholeScreen) const
{
    CMainFrame* frame = Frame();
    if (frame == nullptr || m_pCanvas == nullptr)
        return m_nZoom;
    const ScreenBuffer& screen = GetDocument()->Screen();
    const Point picture{screen.Width(), screen.Height()};
    wxSize room = m_pCanvas->GetSize();
    if (wholeScreen)
    {
        const int display = wxDisplay::GetFromWindow(frame);
        const wxRect area = wxDisplay(display == wxNOT_FOUND ? 0u : unsigned(display)).GetClientArea();
        room = area.GetSize() - (frame->GetSize() - m_pCanvas->GetSize());
    }
    return FitZoom(picture, Point{room.x, room.y}, m_pCanvas->GetContentScaleFactor());
}

void CSysView::StoreZoom() const
{
    if (CMainFrame* frame = Frame())
    {
        if (ViewSettings* settings = frame->Settings())
            settings->Set(m_nZoom, m_bFitToWindow);
    }
}

void CSysView::SetZoom(int zoom, std::optional<wxPoint> anchor)
{
    zoom = std::min(ClampZoom(zoom), LargestZoom());
    if (zoom == m_nZoom && !m_bFitToWindow)
        return;
    const wxSize middle = m_pCanvas != nullptr ? m_pCanvas->GetClientSize() / 2 : wxSize();
    const wxPoint client = anchor ? *anchor : wxPoint(middle.x, middle.y);
    const Point held = ToPicture(client);
    m_nZoom = zoom;
    m_bFitToWindow = false;
    StoreZoom();
    GetDocument()->UpdateAllViewsWithHint(kHintReset);
    // The picture pixel that was at the anchor stays there, as far as scrolling allows.
    if (m_pCanvas != nullptr)
    {
        const Rect pixel = Mapping().ToWindow(Rect{held.x, held.y, held.x + 1, held.y + 1});
        m_pCanvas->Scroll(std::max(pixel.left - client.x, 0), std::max(pixel.top - client.y, 0));
    }
}

void CSysView::SetFitToWindow(bool fit)
{
    m_bFitToWindow = fit;
    StoreZoom();
    GetDocument()->UpdateAllViewsWithHint(fit ? kHintRefit : kHintReset);
}

bool CSysView::OnMouseWheel(const wxMouseEvent& event)
{
    if (!event.ControlDown() || event.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL ||
        event.GetWheelRotation() == 0)
        return false;
    SetZoom(m_nZoom + (event.GetWheelRotation() > 0 ? 1 : -1), event.GetPosition());
    return true;
}

void CSysView::SetMessageText(const std::string& bytes) const
{
    if (CMainFrame* frame = Frame())
        frame->SetMessageText(DecodeCp932(bytes));
}

void CSysView::OnLButtonDown(const wxPoint& client)
{
    const Point p = ToPicture(client);
    if (m_bCatch)
        return;
    CSysDoc* doc = GetDocument();
    Scene& scene = doc->GetScene();
    const Scene::HitResult hit = scene.HitTest(p);
    m_nHoverObject = hit.objectNumber;
    m_ptStatus = hit.position;
    SetMessageText(hit.comment);
    if (hit.index < 0)
        return;
    if (m_pCanvas != nullptr && !m_pCanvas->HasCapture())
        m_pCanvas->CaptureMouse();
    m_bCatch = 1;
    m_drag = ObjectDrag(scene, doc->Screen().ScreenRect(), hit.index, p);

    doc->FkissPress(hit.index, p);
    if (!scene.IsLoaded())
        OnLButtonUp(client); // quit() closed the set
    else
        doc->Session().BeginDrag();
}

void CSysView::OnMouseMove(const wxPoint& client)
{
    Point p = ToPicture(client);
    CSysDoc* doc = GetDocument();
    Scene& scene = doc->GetScene();
    if (m_bCatch)
    {
        const ObjectDrag::Move move = m_drag.MoveTo(scene, p);
        if (move.loosened)
            doc->Apply(doc->Session().Unfixed(m_drag.Cel()));
        doc->Apply(doc->Session().Drag(m_drag.Cel(), move.delta.x, move.delta.y));
        p = move.pointer;
        doc->UpdateAllViewsWithHint(kHintRepaintDirty);
    }
    doc->FkissMouseMove(p);
    if (!scene.IsLoaded())
        return;
    const Scene::HitResult hit = scene.HitTest(p);
    m_nHoverObject = hit.objectNumber;
    m_ptStatus = hit.position;
    std::string text = hit.comment;
    if (!text.empty() && text.front() == ';')
        text.erase(0, 1);
    SetMessageText(text);
    if (!m_bCatch)
        m_ptStatus = p;
}

void CSysView::OnLButtonUp(const wxPoint& client)
{
    const Point p = ToPicture(client);
    if (m_bCatch)
    {
        CSysDoc* doc = GetDocument();
        const int released = m_drag.Cel();
        // Still fixed: it springs back to where it was caught (with what hangs from it).
        if (const std::optional<Point> back = m_drag.SpringBack())
            doc->Apply(doc->Session().SpringBack(released, *back));
        m_bCatch = 0;
        if (m_pCanvas != nullptr && m_pCanvas->HasCapture())
            m_pCanvas->ReleaseMouse();
        doc->Apply(doc->Session().Release(released, p));
    }
    m_ptStatus = p;
}

void CSysView::OnMouseLeave()
{
    if (!m_bCatch)
        GetDocument()->FkissMouseLeft();
}

bool CSysView::OnKey(int keyCode, bool down)
{
    const std::string name = KeyName(keyCode);
    return !name.empty() && GetDocument()->FkissKey(name, down);
}

bool CSysView::OnQueryNewPalette()
{
    return true;
}

void CSysView::OnPaletteChanged(wxWindow* changedBy)
{
    if (changedBy != m_pCanvas)
        OnQueryNewPalette();
}

void CSysView::OnSizeAdjust(wxCommandEvent&)
{
    GetDocument()->UpdateAllViewsWithHint(kHintReset);
}

void CSysView::OnUpdateSizeAdjust(wxUpdateUIEvent& event)
{
    event.Enable(true);
}

void CSysView::OnZoomIn(wxCommandEvent&)
{
    SetZoom(m_nZoom + 1);
}

void CSysView::OnZoomOut(wxCommandEvent&)
{
    SetZoom(m_nZoom - 1);
}

void CSysView::OnZoomFit(wxCommandEvent&)
{
    SetFitToWindow(!m_bFitToWindow);
}

void CSysView::OnUpdateZoomIn(wxUpdateUIEvent& event)
{
    event.Enable(m_nZoom < LargestZoom());
}

void CSysView::OnUpdateZoomOut(wxUpdateUIEvent& event)
{
    event.Enable(m_nZoom > kMinZoom);
}

void CSysView::OnUpdateZoomFit(wxUpdateUIEvent& event)
{
    event.Enable(true);
    event.Check(m_bFitToWindow);
}
