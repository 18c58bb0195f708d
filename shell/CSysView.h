#pragma once

#include "image/Rect.h"

#include <wx/bitmap.h>
#include <wx/docview.h>

#include <cstdint>
#include <string>

class CMainFrame;
class CSysCanvas;
class CSysDoc;
class wxCommandEvent;
class wxUpdateUIEvent;

/// Shows the document's screen buffer one to one and turns the mouse into object drags.
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

    /// The picture as last copied for painting.
    const wxBitmap& ScreenBitmap() const { return m_bmpScreen; }

private:
    void OnSizeAdjust(wxCommandEvent& event);
    void OnUpdateSizeAdjust(wxUpdateUIEvent& event);

    Point ToPicture(const wxPoint& client) const;
    void SetMessageText(const std::string& bytes) const;
    void ResetStatus();
    void SetScrollSizes();
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

    CSysCanvas* m_pCanvas = nullptr;
    wxBitmap m_bmpScreen;

    wxDECLARE_EVENT_TABLE();
};
