#pragma once

#include "image/Rect.h"
#include "image/Zoom.h"

#include <wx/bitmap.h>
#include <wx/docview.h>

#include <cstdint>
#include <optional>
#include <string>

class CMainFrame;
class CSysCanvas;
class CSysDoc;
class wxCommandEvent;
class wxMouseEvent;
class wxUpdateUIEvent;

/// Shows the document's screen buffer at a whole zoom factor and turns the mouse into object
/// drags. Everything past the mouse handlers works in picture pixels.
class CSysView : public wxView
{
    wxDECLARE_DYNAMIC_CLASS(CSysView);

public:
    CSysView();
    ~CSysView() override;

    CSysDoc* GetDocument() const;

    bool OnCreate(wxDocument* doc, long flags) override;
    bool OnClose(bool deleteWindow) override;
    void OnDraw(wxDC* dc) override;
    void OnUpdate(wxView* sender, wxObject* hint) override;
    void OnChangeFilename() override;

    // Mouse, in client coordinates of the canvas.
    void OnLButtonDown(const wxPoint& client);
    void OnMouseMove(const wxPoint& client);
    void OnLButtonUp(const wxPoint& client);
    /// The pointer left the canvas (a hold keeps it, as the mouse is captured).
    void OnMouseLeave();
    /// The wheel with Ctrl zooms in (away from the user) or out; false when it is no zoom.
    bool OnMouseWheel(const wxMouseEvent& event);

    /// The picture pixel under a client position of the canvas: the one place where the
    /// window's positions become picture pixels.
    Point ToPicture(const wxPoint& client) const;

    int Zoom() const { return m_nZoom; }
    bool IsFitToWindow() const { return m_bFitToWindow; }
    /// Shows the picture at zoom (kept within the steps), leaving fit-to-window, remembers the
    /// choice and fits the frame to the zoomed picture. The picture pixel at anchor (client
    /// coordinates; the middle of the canvas when none) stays where it is when scrolling allows.
    void SetZoom(int zoom, std::optional<wxPoint> anchor = std::nullopt);
    /// Turns fitting the factor to the window on or off and remembers it.
    void SetFitToWindow(bool fit);

    /// Until this is called, updates only collect the dirty part: start-up builds the first
    /// picture and fits the frame once, when the document is in place, instead of for the
    /// empty document first.
    void StartPainting();
    /// Fits the frame to the picture again when the window system has changed the frame's
    /// size since (its decorations, known once it is on the screen); else leaves it, so
    /// nothing is painted twice.
    void RefitIfResized();

    /// A key went down or up over the canvas; true when an FKiSS handler took it.
    bool OnKey(int keyCode, bool down);

    /// Palette messages: there is nothing to realize on this platform, so they never repaint.
    bool OnQueryNewPalette();
    void OnPaletteChanged(wxWindow* changedBy);

    // What the frame shows in its status panes.
    std::int32_t HoverObject() const { return m_nHoverObject; }
    Point StatusPoint() const { return m_ptStatus; }
    bool IsCatching() const { return m_bCatch != 0; }

    // The hold, for tests.
    int CaughtIndex() const { return m_nCaught; }
    std::int32_t CaughtFix() const { return m_nCaughtFix; }
    const Rect& DragLimit() const { return m_rcDragLimit; }

    /// The picture as last copied for painting, at the zoom factor.
    const wxBitmap& ScreenBitmap() const { return m_bmpScreen; }

private:
    void OnSizeAdjust(wxCommandEvent& event);
    void OnUpdateSizeAdjust(wxUpdateUIEvent& event);
    void OnZoomIn(wxCommandEvent& event);
    void OnZoomOut(wxCommandEvent& event);
    void OnZoomFit(wxCommandEvent& event);
    void OnUpdateZoomIn(wxUpdateUIEvent& event);
    void OnUpdateZoomOut(wxUpdateUIEvent& event);
    void OnUpdateZoomFit(wxUpdateUIEvent& event);

    ZoomMapping Mapping() const;
    /// The largest factor the current picture can be shown at.
    int LargestZoom() const;
    /// The factor that fits the picture: in the canvas as it is, or (for a new picture, when
    /// the frame is still to be fitted) in the largest canvas the screen leaves room for.
    int FitWindowZoom(bool wholeScreen) const;
    void StoreZoom() const;
    void SetMessageText(const std::string& bytes) const;
    void ResetStatus();
    void SetScrollSizes();
    /// The frame size that fits the picture, or nothing when the canvas fits it already.
    std::optional<wxSize> FittedFrameSize(bool shrinkOnly) const;
    void FitFrame(bool shrinkOnly);
    CMainFrame* Frame() const;

    std::int32_t m_nHoverObject = -1;
    Point m_ptStatus{-1, -1};
    Rect m_rcDragLimit;
    int m_nCaught = -8;
    std::int32_t m_nCaughtFix = 0;
    int m_bCatch = 0;
    int m_bFirstMove = 0;
    Point m_ptLast;
    Point m_ptPress;
    Point m_ptPressPos;

    int m_nZoom = 1;
    bool m_bFitToWindow = false;
    bool m_bPainting = false;

    CSysCanvas* m_pCanvas = nullptr;
    wxBitmap m_bmpScreen;

    wxDECLARE_EVENT_TABLE();
};
