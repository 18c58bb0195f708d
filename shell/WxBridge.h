#pragma once

#include "image/Rect.h"
#include "image/ScreenBuffer.h"

#include <wx/bitmap.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

#include <string>

class wxMenuBar;
class wxWindow;

// The one place where core values become wx values and back.

inline wxRect ToWx(const Rect& r)
{
    return wxRect(r.left, r.top, r.Width(), r.Height());
}

inline Rect FromWx(const wxRect& r)
{
    return Rect{r.x, r.y, r.x + r.width, r.y + r.height};
}

inline wxPoint ToWx(const Point& p)
{
    return wxPoint(p.x, p.y);
}

inline Point FromWx(const wxPoint& p)
{
    return Point{p.x, p.y};
}

inline wxSize ToWxSize(const Point& extent)
{
    return wxSize(extent.x, extent.y);
}

/// Text in the sets' code page (Shift-JIS as Windows writes it) for display. Bytes that do not
/// decode show as U+FFFD instead of making the whole text vanish.
wxString DecodeCp932(const std::string& bytes);
/// A message for display: the program's texts are UTF-8, but a message that quotes a file
/// name from a set may hold that name's bytes in the sets' code page.
wxString DecodeMessage(const std::string& bytes);

/// Copies the part of the buffer inside rect into bitmap, each pixel as a zoom × zoom square,
/// so the bitmap is zoom times the buffer's size; it is (re)made at that size first when it
/// differs, and then the whole buffer is copied. 8-bit pixels go through the buffer's colour
/// table.
void CopyToBitmap(const ScreenBuffer& buffer, const Rect& rect, wxBitmap& bitmap, int zoom = 1);

/// The narrowest the menu bar can be drawn; a frame cannot be narrower.
int MenuBarMinimumWidth(wxMenuBar* bar);

/// Resizes a top-level window to size (as the window's own size constraints allow), also when
/// the toolkit believes it already has that size.
void ResizeTopLevel(wxWindow* window, const wxSize& size);

/// Receives the texts the viewer shows the user, one box's worth at a time (UTF-8).
struct MessageSink
{
    virtual ~MessageSink() = default;
    virtual void ShowMessage(const std::string& text) = 0;
};

/// Shows each message in a box captioned with the program's name, with the exclamation icon.
class MessageBoxSink : public MessageSink
{
public:
    void ShowMessage(const std::string& text) override;
};
