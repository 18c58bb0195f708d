#pragma once

#include "image/Rect.h"

#include <wx/aui/framemanager.h>
#include <wx/docview.h>

#include <array>
#include <chrono>
#include <cstdint>

class CMessagesDlg;
class CSysCanvas;
class CSysDoc;
class ViewSettings;
class CSysView;
class wxAuiToolBar;
class wxStatusBar;

/// What the status panes after the message pane are made from.
struct StatusValues
{
    Point point{-1, -1};
    bool catching = false;
    std::int32_t hoverObject = -1;
    int set = 0;
    std::int64_t paletteGroup = 0;
};

/// The texts of panes 1 to 5 (set, palette group, point, object, catch) for these values.
std::array<wxString, 5> FormatStatusPanes(const StatusValues& values);
/// The text of the zoom pane for a factor.
wxString FormatZoomPane(int zoom);

/// The main window: menus, shortcut keys, three dockable tool bars, the status bar and the
/// canvas that shows the view.
class CMainFrame : public wxDocParentFrame
{
public:
    CMainFrame(wxDocManager* manager, const wxString& title);
    ~CMainFrame() override;

    CSysCanvas* Canvas() const { return m_pCanvas; }
    wxAuiToolBar* MainBar() const { return m_bars[0]; }
    wxAuiToolBar* PaletteBar() const { return m_bars[1]; }
    wxAuiToolBar* SetBar() const { return m_bars[2]; }

    wxStatusBar* StatusBar() const { return m_pStatusBar; }

    /// Where the view's lasting choices are kept; null when nowhere.
    ViewSettings* Settings() const { return m_pSettings; }
    void SetSettings(ViewSettings* settings) { m_pSettings = settings; }

    /// The messages list, made when first asked for; null until then.
    CMessagesDlg* MessagesWindow() const { return m_pMessages; }
    /// Shows the messages list of the current document.
    void ShowMessages();
    /// Shows the menus, tool tips, prompts and the messages list in the current language.
    void TranslateTexts();

    bool IsBarShown(wxAuiToolBar* bar);
    bool IsStatusBarShown();
    /// Shows or hides a bar at once and lays the frame out again.
    void ShowBar(wxAuiToolBar* bar, bool show);

    /// Lets the views refit (hint 3), then lays out bars and canvas.
    void RecalcLayout();
    /// Lays out bars and canvas only; the views use it while they fit the frame.
    void RecalcLayoutBase();

    /// The text of the message pane; a set's own text holding it keeps it.
    void SetMessageText(const wxString& text);
    /// A set's notify or debug text: it holds the message pane against prompts for
    /// kScriptTextHoldMs, or until the next such text.
    void ShowScriptText(const wxString& text);
    static constexpr int kScriptTextHoldMs = 5000;
    /// Refreshes the five panes from the active view and document (done at idle).
    void UpdateStatusPanes();

    /// Menu and tool prompts go to the message pane; when they end it says "Ready.".
    void DoGiveHelp(const wxString& text, bool show) override;

private:
    void CreateBars();
    void CreateStatusPanes();
    CSysView* ActiveView() const;
    CSysDoc* ActiveDocument() const;

    /// Hint 3 to the views, unless a refit is already under way.
    void RefitOnce();
    void OnSize(wxSizeEvent& event);
    void OnCloseWindow(wxCloseEvent& event);
    void OnCanvasSize(wxSizeEvent& event);
    void OnIdle(wxIdleEvent& event);
    void OnViewPaletteBar(wxCommandEvent& event);
    void OnViewSetBar(wxCommandEvent& event);
    void OnViewToolBar(wxCommandEvent& event);
    void OnViewStatusBar(wxCommandEvent& event);
    void OnViewMessages(wxCommandEvent& event);
    void OnUpdateViewMessages(wxUpdateUIEvent& event);
    void OnUpdateViewPaletteBar(wxUpdateUIEvent& event);
    void OnUpdateViewSetBar(wxUpdateUIEvent& event);
    void OnUpdateViewToolBar(wxUpdateUIEvent& event);
    void OnUpdateViewStatusBar(wxUpdateUIEvent& event);
    void OnToolBarMotion(wxMouseEvent& event);
    void OnToolBarLeave(wxMouseEvent& event);
    void OnDropFiles(wxDropFilesEvent& event);
    void OnQueryNewPalette(wxQueryNewPaletteEvent& event);
    void OnPaletteChanged(wxPaletteChangedEvent& event);

    wxAuiManager m_mgr;
    CSysCanvas* m_pCanvas = nullptr;
    std::array<wxAuiToolBar*, 3> m_bars{};
    wxStatusBar* m_pStatusBar = nullptr;
    ViewSettings* m_pSettings = nullptr;
    CMessagesDlg* m_pMessages = nullptr;
    int m_nHoverTool = wxID_NONE;
    std::chrono::steady_clock::time_point m_tpTextHeldUntil{};
    bool m_bRefitPending = false;

    wxDECLARE_EVENT_TABLE();
};
