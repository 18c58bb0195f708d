#include "shell/CMainFrame.h"

#include "shell/CSysDoc.h"
#include "shell/CMessagesDlg.h"
#include "shell/CSysApp.h"
#include "shell/CSysCanvas.h"
#include "shell/CSysView.h"
#include "shell/CommandTable.h"
#include "shell/ToolBarArt.h"
#include "shell/UiText.h"
#include "shell/WxBridge.h"

#include <wx/aui/auibar.h>
#include <wx/menu.h>
#include <wx/statusbr.h>

namespace
{
// Outside the tool bars' layer, so that the status bar runs along the whole bottom edge.
constexpr int kStatusBarLayer = 20;

// The status bar draws a pane's text 2 pixels in from each side, and clips or shortens what
// does not fit; 2 more keep the sample texts clear of the pane's edge.
constexpr int kPaneTextMargins = 6;

// Set while the frame's size handler refits the views, for the whole process: the refit
// resizes the frame, which must not start another refit.
int g_nInOnSize = 0;

constexpr std::array kPaneSamples = {UiText::kPaneSetSample, UiText::kPanePaletteSample,
                                     UiText::kPanePointSample, UiText::kPaneObjectSample,
                                     UiText::kPaneCatchSample, UiText::kPaneZoomSample};
} // namespace

std::array<wxString, 5> FormatStatusPanes(const StatusValues& values)
{
    std::array<wxString, 5> texts;
    texts[0] = wxString::Format("Set %d", values.set);
    texts[1] = wxString::Format("Pal %lld", static_cast<long long>(values.paletteGroup));
    if (values.point.x >= 0 && values.point.y >= 0)
        texts[2] = wxString::Format("%d,%d", values.point.x, values.point.y);
    if (values.hoverObject > 0)
        texts[3] = wxString::Format("#%d", values.hoverObject);
    if (values.catching)
        texts[4] = "Catch";
    return texts;
}

wxString FormatZoomPane(int zoom)
{
    return Ui("×") + wxString::Format("%d", zoom);
}

wxBEGIN_EVENT_TABLE(CMainFrame, wxDocParentFrame)
    EVT_SIZE(CMainFrame::OnSize)
    EVT_IDLE(CMainFrame::OnIdle)
    EVT_MENU(ID_VIEW_PALETTE_BAR, CMainFrame::OnViewPaletteBar)
    EVT_MENU(ID_VIEW_SET_BAR, CMainFrame::OnViewSetBar)
    EVT_MENU(ID_VIEW_TOOLBAR, CMainFrame::OnViewToolBar)
    EVT_MENU(ID_VIEW_STATUS_BAR, CMainFrame::OnViewStatusBar)
    EVT_MENU(ID_VIEW_MESSAGES, CMainFrame::OnViewMessages)
    EVT_UPDATE_UI(ID_VIEW_MESSAGES, CMainFrame::OnUpdateViewMessages)
    EVT_UPDATE_UI(ID_VIEW_PALETTE_BAR, CMainFrame::OnUpdateViewPaletteBar)
    EVT_UPDATE_UI(ID_VIEW_SET_BAR, CMainFrame::OnUpdateViewSetBar)
    EVT_UPDATE_UI(ID_VIEW_TOOLBAR, CMainFrame::OnUpdateViewToolBar)
    EVT_UPDATE_UI(ID_VIEW_STATUS_BAR, CMainFrame::OnUpdateViewStatusBar)
    EVT_DROP_FILES(CMainFrame::OnDropFiles)
    EVT_QUERY_NEW_PALETTE(CMainFrame::OnQueryNewPalette)
    EVT_PALETTE_CHANGED(CMainFrame::OnPaletteChanged)
wxEND_EVENT_TABLE()

CMainFrame::CMainFrame(wxDocManager* manager, const wxString& title)
    : wxDocParentFrame(manager, nullptr, wxID_ANY, title)
{
    SetIcons(AppIcons());
    // Bound rather than in the table: the base binds its own close handler, and the handler
    // bound last runs first.
    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnCloseWindow, this);
    SetMenuBar(CommandTable::BuildMenuBar());
    // The window cannot be narrower than its menu bar; fitting must know that.
    SetMinSize(wxSize(MenuBarMinimumWidth(GetMenuBar()), -1));
    SetAcceleratorTable(CommandTable::BuildAccelerators());

    m_mgr.SetManagedWindow(this);
    m_pCanvas = new CSysCanvas(this);
    m_mgr.AddPane(m_pCanvas, wxAuiPaneInfo().Name("Canvas").CenterPane().PaneBorder(false));
    m_pCanvas->Bind(wxEVT_SIZE, &CMainFrame::OnCanvasSize, this);
    CreateBars();
    CreateStatusPanes();
    DragAcceptFiles(true);
    m_mgr.Update();
}

CMainFrame::~CMainFrame()
{
    m_mgr.UnInit();
}

void CMainFrame::CreateBars()
{
    const auto layouts = CommandTable::ToolBars();
    for (std::size_t i = 0; i < layouts.size(); ++i)
    {
        const ToolBarLayout& layout = layouts[i];
        m_bars[i] = CommandTable::BuildToolBar(this, layout);
        // Each bar docks at any edge or floats; both change bars share the bottom edge.
        wxAuiPaneInfo info;
        info.Name(layout.paneName).ToolbarPane().Dockable(true).Floatable(true).Row(int(i));
        if (layout.edge == DockEdge::Top)
            info.Top();
        else
            info.Bottom();
        info.Show(layout.visibleAtStart);
        m_mgr.AddPane(m_bars[i], info);
        // Entering counts as well: a pointer that lands on a button in one step moves no
        // further there.
        m_bars[i]->Bind(wxEVT_MOTION, &CMainFrame::OnToolBarMotion, this);
        m_bars[i]->Bind(wxEVT_ENTER_WINDOW, &CMainFrame::OnToolBarMotion, this);
        m_bars[i]->Bind(wxEVT_LEAVE_WINDOW, &CMainFrame::OnToolBarLeave, this);
    }
}

void CMainFrame::CreateStatusPanes()
{
    // The status bar is laid out with the tool bars rather than by the toolkit's frame, so
    // that hiding it gives its room back at once and the frame can shrink to the picture.
    m_pStatusBar = new wxStatusBar(this, wxID_ANY);
    m_pStatusBar->SetFieldsCount(kPaneCount);
    std::array<int, kPaneCount> widths{};
    widths[0] = -1;
    for (std::size_t i = 0; i < kPaneSamples.size(); ++i)
    {
        // As wide as the sample text plus the pane's border and text margins, and no wider:
        // what the panes do not take is the message pane's, which shows the prompts. The last
        // pane also leaves room for the size grip.
        widths[i + 1] = m_pStatusBar->GetTextExtent(Ui(kPaneSamples[i])).x +
                        2 * m_pStatusBar->GetBorderX() + kPaneTextMargins;
        if (i + 1 == kPaneSamples.size())
            widths[i + 1] += m_pStatusBar->GetBestSize().y;
        m_pStatusBar->SetStatusText(Ui(kPaneSamples[i]), static_cast<int>(i + 1));
    }
    m_pStatusBar->SetStatusWidths(kPaneCount, widths.data());
    m_pStatusBar->SetStatusText(Ui(UiText::kReady), kPaneMessage);
    const int height = m_pStatusBar->GetBestSize().y;
    m_mgr.AddPane(m_pStatusBar, wxAuiPaneInfo()
                                    .Name("StatusBar")
                                    .Bottom()
                                    .Layer(kStatusBarLayer)
                                    .CaptionVisible(false)
                                    .PaneBorder(false)
                                    .Gripper(false)
                                    .Dockable(false)
                                    .Floatable(false)
                                    .Movable(false)
                                    .Resizable(false)
                                    .MinSize(-1, height)
                                    .BestSize(-1, height));
}

CSysView* CMainFrame::ActiveView() const
{
    wxDocManager* manager = GetDocumentManager();
    return manager ? wxDynamicCast(manager->GetCurrentView(), CSysView) : nullptr;
}

CSysDoc* CMainFrame::ActiveDocument() const
{
    wxDocManager* manager = GetDocumentManager();
    return manager ? wxDynamicCast(manager->GetCurrentDocument(), CSysDoc) : nullptr;
}

bool CMainFrame::IsStatusBarShown()
{
    return m_mgr.GetPane(m_pStatusBar).IsShown();
}

bool CMainFrame::IsBarShown(wxAuiToolBar* bar)
{
    return m_mgr.GetPane(bar).IsShown();
}

void CMainFrame::ShowBar(wxAuiToolBar* bar, bool show)
{
    m_mgr.GetPane(bar).Show(show);
    RecalcLayout();
}

void CMainFrame::RecalcLayout()
{
    if (CSysDoc* doc = ActiveDocument())
        doc->UpdateAllViewsWithHint(kHintRefit);
    RecalcLayoutBase();
}

void CMainFrame::RecalcLayoutBase()
{
    m_mgr.Update();
}

void CMainFrame::SetMessageText(const wxString& text)
{
    if (std::chrono::steady_clock::now() < m_tpTextHeldUntil)
        return;
    m_pStatusBar->SetStatusText(text, kPaneMessage);
}

void CMainFrame::ShowScriptText(const wxString& text)
{
    m_tpTextHeldUntil =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kScriptTextHoldMs);
    m_pStatusBar->SetStatusText(text, kPaneMessage);
}

void CMainFrame::DoGiveHelp(const wxString& text, bool show)
{
    SetMessageText(show ? text : Ui(UiText::kReady));
}

void CMainFrame::OnToolBarMotion(wxMouseEvent& event)
{
    // Fly-by prompts: the command's prompt shows while the mouse rests on its button.
    auto* bar = wxStaticCast(event.GetEventObject(), wxAuiToolBar);
    const wxAuiToolBarItem* item = bar->FindToolByPosition(event.GetX(), event.GetY());
    const int id = item != nullptr && item->GetKind() != wxITEM_SEPARATOR ? item->GetId()
                                                                          : wxID_NONE;
    if (id != m_nHoverTool)
    {
        m_nHoverTool = id;
        DoGiveHelp(id == wxID_NONE ? wxString() : item->GetLongHelp(), id != wxID_NONE);
    }
    event.Skip();
}

void CMainFrame::OnToolBarLeave(wxMouseEvent& event)
{
    if (m_nHoverTool != wxID_NONE)
    {
        m_nHoverTool = wxID_NONE;
        DoGiveHelp(wxString(), false);
    }
    event.Skip();
}

void CMainFrame::UpdateStatusPanes()
{
    wxStatusBar* bar = m_pStatusBar;
    StatusValues values;
    if (const CSysView* view = ActiveView())
    {
        values.point = view->StatusPoint();
        values.catching = view->IsCatching();
        values.hoverObject = view->HoverObject();
    }
    if (CSysDoc* doc = ActiveDocument())
    {
        values.set = doc->GetScene().CurrentSet();
        values.paletteGroup = doc->GetScene().CurrentPaletteGroup();
    }
    const std::array<wxString, 5> texts = FormatStatusPanes(values);
    for (std::size_t i = 0; i < texts.size(); ++i)
    {
        const int pane = static_cast<int>(i + 1);
        if (bar->GetStatusText(pane) != texts[i])
            bar->SetStatusText(texts[i], pane);
    }
    if (const CSysView* view = ActiveView())
    {
        const wxString zoom = FormatZoomPane(view->Zoom());
        if (bar->GetStatusText(kPaneZoom) != zoom)
            bar->SetStatusText(zoom, kPaneZoom);
    }
}

void CMainFrame::ShowMessages()
{
    if (m_pMessages == nullptr)
    {
        m_pMessages = new CMessagesDlg(this, [this]() -> const MessageLog* {
            CSysDoc* doc = ActiveDocument();
            return doc != nullptr ? &doc->GetScene().Log() : nullptr;
        });
    }
    m_pMessages->UpdateList(true);
    m_pMessages->Show();
    m_pMessages->Raise();
}

void CMainFrame::TranslateTexts()
{
    CommandTable::TranslateMenuBar(GetMenuBar());
    SetMinSize(wxSize(MenuBarMinimumWidth(GetMenuBar()), -1));
    for (wxAuiToolBar* bar : m_bars)
        CommandTable::TranslateToolBar(bar);
    m_nHoverTool = wxID_NONE;
    SetMessageText(Ui(UiText::kReady));
    // The list is made again in the new language; it stays on the screen if it was.
    if (m_pMessages != nullptr)
    {
        const bool shown = m_pMessages->IsShown();
        m_pMessages->Destroy();
        m_pMessages = nullptr;
        if (shown)
            ShowMessages();
    }
}

void CMainFrame::OnViewMessages(wxCommandEvent&)
{
    ShowMessages();
}

void CMainFrame::OnUpdateViewMessages(wxUpdateUIEvent& event)
{
    event.Enable(true);
}

void CMainFrame::OnSize(wxSizeEvent& event)
{
    RefitOnce();
    event.Skip();
}

void CMainFrame::OnCanvasSize(wxSizeEvent& event)
{
    // The bars' manager lays them out again on its own when one is floated, docked or moved,
    // without going through RecalcLayout; the canvas then changes size in a frame that keeps
    // its own, and the frame must follow as it does for a re-layout. Afterwards, because the
    // manager is still in the middle of that layout here.
    if (!g_nInOnSize && !m_bRefitPending)
    {
        m_bRefitPending = true;
        CallAfter([this] {
            m_bRefitPending = false;
            RefitOnce();
        });
    }
    event.Skip();
}

void CMainFrame::RefitOnce()
{
    if (!g_nInOnSize)
    {
        g_nInOnSize = 1;
        if (CSysDoc* doc = ActiveDocument())
            doc->UpdateAllViewsWithHint(kHintRefit);
        g_nInOnSize = 0;
    }
}

void CMainFrame::OnCloseWindow(wxCloseEvent& event)
{
    // The set's end() may keep it on the screen a little; the window closes after it.
    CSysDoc* doc = ActiveDocument();
    // Closing again waits for the timer's event to be over: it deletes the document.
    if (doc != nullptr && event.CanVeto() &&
        doc->CloseSetThen([this] { CallAfter([this] { Close(); }); }))
    {
        event.Veto();
        return;
    }
    event.Skip();
}

void CMainFrame::OnIdle(wxIdleEvent& event)
{
    UpdateStatusPanes();
    event.Skip();
}

void CMainFrame::OnViewPaletteBar(wxCommandEvent&)
{
    ShowBar(PaletteBar(), !IsBarShown(PaletteBar()));
}

void CMainFrame::OnViewSetBar(wxCommandEvent&)
{
    ShowBar(SetBar(), !IsBarShown(SetBar()));
}

void CMainFrame::OnViewToolBar(wxCommandEvent&)
{
    ShowBar(MainBar(), !IsBarShown(MainBar()));
}

void CMainFrame::OnViewStatusBar(wxCommandEvent&)
{
    wxAuiPaneInfo& pane = m_mgr.GetPane(m_pStatusBar);
    pane.Show(!pane.IsShown());
    RecalcLayout();
}

void CMainFrame::OnUpdateViewPaletteBar(wxUpdateUIEvent& event)
{
    event.Enable(true);
    event.Check(IsBarShown(PaletteBar()));
}

void CMainFrame::OnUpdateViewSetBar(wxUpdateUIEvent& event)
{
    event.Enable(true);
    event.Check(IsBarShown(SetBar()));
}

void CMainFrame::OnUpdateViewToolBar(wxUpdateUIEvent& event)
{
    event.Enable(true);
    event.Check(IsBarShown(MainBar()));
}

void CMainFrame::OnUpdateViewStatusBar(wxUpdateUIEvent& event)
{
    event.Enable(true);
    event.Check(IsStatusBarShown());
}

void CMainFrame::OnDropFiles(wxDropFilesEvent& event)
{
    // Each in turn, so the last one dropped stays open.
    for (int i = 0; i < event.GetNumberOfFiles(); ++i)
        wxGetApp().OpenDocumentFile(event.GetFiles()[i]);
}

void CMainFrame::OnQueryNewPalette(wxQueryNewPaletteEvent& event)
{
    if (CSysView* view = ActiveView())
        view->OnQueryNewPalette();
    event.SetPaletteRealized(false);
}

void CMainFrame::OnPaletteChanged(wxPaletteChangedEvent& event)
{
    if (CSysView* view = ActiveView())
        view->OnPaletteChanged(event.GetChangedWindow());
}
