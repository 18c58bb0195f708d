#include "shell/WxBridge.h"

#include "config/LineScan.h"
#include "shell/UiText.h"

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/rawbmp.h>
#include <wx/strconv.h>

#include <array>
#include <cstdint>
#include <vector>

#include <dlfcn.h>

namespace
{
/// The bytes that make up one character starting at i: two for a lead byte with a follower.
std::size_t CharacterLength(const std::string& bytes, std::size_t i)
{
    if (LineScan::IsLeadByte(bytes[i]) && i + 1 < bytes.size())
        return 2;
    return 1;
}

/// The length of the well-formed UTF-8 sequence at i, or 0 when there is none.
std::size_t Utf8SequenceLength(const std::string& bytes, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (length == 0 || i + length > bytes.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k)
    {
        if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
            return 0;
    }
    // Overlong and out-of-range forms are left to the other reading.
    return wxString::FromUTF8(bytes.data() + i, length).empty() ? 0 : length;
}

/// Colour table entry i of an 8-bit buffer as red, green, blue.
std::array<std::uint8_t, 3> TableColour(const ScreenBuffer& buffer, std::uint8_t index)
{
    constexpr std::size_t kHeaderSize = 40;
    const std::vector<std::uint8_t>& info = buffer.BitmapInfo();
    const std::size_t at = kHeaderSize + 4 * std::size_t{index};
    if (at + 3 > info.size())
        return {index, index, index};
    return {info[at + 2], info[at + 1], info[at]};
}
/// Writes the buffer's part into data, each pixel as a zoom × zoom square.
void WritePixels(const ScreenBuffer& buffer, const Rect& part, int zoom, wxNativePixelData& data)
{
    const std::int32_t depth = buffer.Depth();
    // The colour table looked up once rather than per pixel.
    std::array<std::array<std::uint8_t, 3>, 256> table{};
    if (depth == 8)
    {
        for (std::size_t i = 0; i < table.size(); ++i)
            table[i] = TableColour(buffer, static_cast<std::uint8_t>(i));
    }
    // One row of the part in red, green, blue, written zoom times over for each buffer row.
    std::vector<std::array<std::uint8_t, 3>> colours(static_cast<std::size_t>(part.Width()));
    wxNativePixelData::Iterator row(data);
    for (std::int32_t y = part.top; y < part.bottom; ++y)
    {
        const std::uint8_t* in = buffer.ScreenRow(y);
        for (std::int32_t x = part.left; x < part.right; ++x)
        {
            auto& colour = colours[static_cast<std::size_t>(x - part.left)];
            if (depth == 8)
            {
                colour = table[in[x]];
            }
            else
            {
                const std::uint8_t* pixel = in + static_cast<std::ptrdiff_t>(x) * (depth / 8);
                colour = {pixel[2], pixel[1], pixel[0]};
            }
        }
        for (int copy = 0; copy < zoom; ++copy)
        {
            wxNativePixelData::Iterator out = row;
            for (const auto& colour : colours)
            {
                for (int repeat = 0; repeat < zoom; ++repeat, ++out)
                {
                    out.Red() = colour[0];
                    out.Green() = colour[1];
                    out.Blue() = colour[2];
                }
            }
            row.OffsetY(data, 1);
        }
    }
}
} // namespace

wxString DecodeCp932(const std::string& bytes)
{
    static wxCSConv cp932(wxFONTENCODING_CP932);
    if (bytes.empty())
        return wxString();
    wxString whole(bytes.data(), cp932, bytes.size());
    if (!whole.empty())
        return whole;
    // Some byte is invalid: decode character by character so that the rest still reads.
    wxString text;
    for (std::size_t i = 0; i < bytes.size();)
    {
        const std::size_t length = CharacterLength(bytes, i);
        wxString piece(bytes.data() + i, cp932, length);
        text += piece.empty() ? wxString(wxUniChar(0xFFFD)) : piece;
        i += length;
    }
    return text;
}

wxString DecodeMessage(const std::string& bytes)
{
    const wxString whole = wxString::FromUTF8(bytes.data(), bytes.size());
    if (!whole.empty() || bytes.empty())
        return whole;
    // Runs of valid UTF-8 are the program's own words; the bytes between them are the set's.
    wxString text;
    std::string foreign;
    for (std::size_t i = 0; i < bytes.size();)
    {
        const std::size_t length = Utf8SequenceLength(bytes, i);
        if (length == 0)
        {
            const std::size_t take = CharacterLength(bytes, i);
            foreign.append(bytes, i, take);
            i += take;
            continue;
        }
        text += DecodeCp932(foreign);
        foreign.clear();
        text += wxString::FromUTF8(bytes.data() + i, length);
        i += length;
    }
    return text + DecodeCp932(foreign);
}

void CopyToBitmap(const ScreenBuffer& buffer, const Rect& rect, wxBitmap& bitmap, int zoom)
{
    Rect part = Rect::Intersect(rect, buffer.ScreenRect());
    const int width = buffer.Width() * zoom;
    const int height = buffer.Height() * zoom;
    bool whole = false;
    if (!bitmap.IsOk() || bitmap.GetWidth() != width || bitmap.GetHeight() != height)
    {
        bitmap = wxBitmap(width, height, 24);
        part = buffer.ScreenRect();
        whole = true;
    }
    if (part.IsEmpty() || !buffer.HasPixels())
        return;

    Rect target = part;
    target.left *= zoom;
    target.top *= zoom;
    target.right *= zoom;
    target.bottom *= zoom;
    // Writing a bitmap's pixels makes the toolkit convert all of them again before the next
    // paint, however few changed. So only a new bitmap is written directly; a changed part is
    // made as a bitmap of its own and drawn into the picture, which keeps the rest converted.
    // A bitmap with a scale factor is drawn scaled, so it too is written directly.
    const bool direct = whole || part == buffer.ScreenRect() || bitmap.GetScaleFactor() != 1.0;
    wxBitmap piece;
    wxBitmap& pixels = direct ? bitmap : piece;
    if (!direct)
        piece = wxBitmap(target.Width(), target.Height(), 24);
    const wxRect area = direct ? ToWx(target) : wxRect(0, 0, target.Width(), target.Height());
    {
        wxNativePixelData data(pixels, area);
        if (!data)
            return;
        WritePixels(buffer, part, zoom, data);
    }
    if (!direct)
    {
        wxMemoryDC picture(bitmap);
        picture.DrawBitmap(piece, target.left, target.top);
    }
}

int MenuBarMinimumWidth(wxMenuBar* bar)
{
    // GTK lays a menu bar out without overflow, so its minimum width is that of all its
    // titles. The function is looked up in the toolkit that wx has loaded, so that building
    // needs no GTK headers; elsewhere, or if it is missing, wx's own estimate serves.
    using PreferredWidth = void (*)(void* widget, int* minimum, int* natural);
    static const auto preferredWidth =
        reinterpret_cast<PreferredWidth>(::dlsym(RTLD_DEFAULT, "gtk_widget_get_preferred_width"));
    if (preferredWidth == nullptr || bar->GetHandle() == nullptr)
        return bar->GetBestSize().x;
    int minimum = 0;
    int natural = 0;
    preferredWidth(bar->GetHandle(), &minimum, &natural);
    return minimum;
}

void ResizeTopLevel(wxWindow* window, const wxSize& size)
{
    const wxSize before = window->GetSize();
    window->SetSize(size);
    const wxSize after = window->GetSize();
    // GTK drops a resize request that equals its previous one, even when the user has resized
    // the window since, so a window fitted to the picture and then enlarged by hand would stay
    // large. The same change therefore also goes to the window system directly; looked up in
    // the loaded toolkit as above.
    using GetWindow = void* (*)(void* widget);
    using GetExtent = int (*)(void* window);
    using Resize = void (*)(void* window, int width, int height);
    static const auto getWindow =
        reinterpret_cast<GetWindow>(::dlsym(RTLD_DEFAULT, "gtk_widget_get_window"));
    static const auto getWidth =
        reinterpret_cast<GetExtent>(::dlsym(RTLD_DEFAULT, "gdk_window_get_width"));
    static const auto getHeight =
        reinterpret_cast<GetExtent>(::dlsym(RTLD_DEFAULT, "gdk_window_get_height"));
    static const auto resize = reinterpret_cast<Resize>(::dlsym(RTLD_DEFAULT, "gdk_window_resize"));
    if (getWindow == nullptr || getWidth == nullptr || getHeight == nullptr || resize == nullptr ||
        window->GetHandle() == nullptr || after == before)
        return;
    if (void* native = getWindow(window->GetHandle()))
        resize(native, getWidth(native) + after.x - before.x, getHeight(native) + after.y - before.y);
}

void MessageBoxSink::ShowMessage(const std::string& text)
{
    wxWindow* parent = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
    // A message may quote a file name in the sets' code page, which alone would make the
    // whole text fail to read as UTF-8 and the box come up empty.
    wxMessageBox(DecodeMessage(text), Ui(UiText::kAppName), wxOK | wxICON_EXCLAMATION, parent);
}
