#include "shell/ToolBarArt.h"

#include "packaging/icon/AppIconPng.h"

#include <wx/image.h>
#include <wx/mstream.h>

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace
{
struct Colour
{
    std::uint8_t r, g, b;
};

// The sixteen colours of a 4-bit image.
constexpr Colour kBlack{0, 0, 0};
constexpr Colour kDarkRed{128, 0, 0};
constexpr Colour kDarkBlue{0, 0, 128};
constexpr Colour kDarkGrey{128, 128, 128};
constexpr Colour kGrey{192, 192, 192};
constexpr Colour kRed{255, 0, 0};
constexpr Colour kGreen{0, 255, 0};
constexpr Colour kYellow{255, 255, 0};
constexpr Colour kBlue{0, 0, 255};
constexpr Colour kMagenta{255, 0, 255};
constexpr Colour kCyan{0, 255, 255};
constexpr Colour kWhite{255, 255, 255};
constexpr Colour kOlive{128, 128, 0};

/// A transparent image to draw on, one pixel at a time.
class PixelArt
{
public:
    PixelArt(int width, int height) : m_image(width, height)
    {
        m_image.InitAlpha();
        std::fill_n(m_image.GetAlpha(), width * height, std::uint8_t{0});
    }

    void Set(int x, int y, Colour c)
    {
        if (x < 0 || y < 0 || x >= m_image.GetWidth() || y >= m_image.GetHeight())
            return;
        m_image.SetRGB(x, y, c.r, c.g, c.b);
        m_image.SetAlpha(x, y, 255);
    }

    void Fill(int left, int top, int right, int bottom, Colour c)
    {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                Set(x, y, c);
    }

    void Frame(int left, int top, int right, int bottom, Colour c)
    {
        for (int x = left; x < right; ++x)
        {
            Set(x, top, c);
            Set(x, bottom - 1, c);
        }
        for (int y = top; y < bottom; ++y)
        {
            Set(left, y, c);
            Set(right - 1, y, c);
        }
    }

    /// A triangle pointing left or right, its point at (tipX, midY), half height h.
    void Triangle(int tipX, int midY, int h, bool pointsLeft, Colour fill, Colour edge)
    {
        for (int d = 0; d <= h; ++d)
        {
            const int x = pointsLeft ? tipX + d : tipX - d;
            for (int y = midY - d; y <= midY + d; ++y)
                Set(x, y, (y == midY - d || y == midY + d || d == h) ? edge : fill);
        }
    }

    /// Text in the 3 by 5 font, each font pixel scale by scale.
    void Text(std::string_view text, int left, int top, int scale, Colour c);

    wxBitmap Bitmap() const { return wxBitmap(m_image); }

private:
    wxImage m_image;
};

struct Glyph
{
    char ch;
    std::array<std::string_view, 5> rows;
};

constexpr std::array kFont = {
    Glyph{'0', {"###", "#.#", "#.#", "#.#", "###"}}, Glyph{'1', {".#.", "##.", ".#.", ".#.", "###"}},
    Glyph{'2', {"###", "..#", "###", "#..", "###"}}, Glyph{'3', {"###", "..#", ".##", "..#", "###"}},
    Glyph{'4', {"#.#", "#.#", "###", "..#", "..#"}}, Glyph{'5', {"###", "#..", "###", "..#", "###"}},
    Glyph{'6', {"###", "#..", "###", "#.#", "###"}}, Glyph{'7', {"###", "..#", "..#", ".#.", ".#."}},
    Glyph{'8', {"###", "#.#", "###", "#.#", "###"}}, Glyph{'9', {"###", "#.#", "###", "..#", "###"}},
    Glyph{'P', {"##.", "#.#", "##.", "#..", "#.."}}, Glyph{'a', {"...", ".##", "#.#", "#.#", ".##"}},
    Glyph{'l', {"#..", "#..", "#..", "#..", "##."}}, Glyph{'S', {".##", "#..", ".#.", "..#", "##."}},
    Glyph{'e', {".#.", "#.#", "###", "#..", ".##"}}, Glyph{'t', {".#.", "###", ".#.", ".#.", "..#"}},
};

void PixelArt::Text(std::string_view text, int left, int top, int scale, Colour c)
{
    int x0 = left;
    for (char ch : text)
    {
        for (const Glyph& glyph : kFont)
        {
            if (glyph.ch != ch)
                continue;
            for (int row = 0; row < 5; ++row)
                for (int col = 0; col < 3; ++col)
                    if (glyph.rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] == '#')
                        Fill(x0 + col * scale, top + row * scale, x0 + (col + 1) * scale,
                             top + (row + 1) * scale, c);
        }
        x0 += 4 * scale;
    }
}

void DrawBlankSheet(PixelArt& art)
{
    art.Fill(3, 1, 12, 14, kWhite);
    art.Frame(3, 1, 13, 15, kBlack);
    // Folded corner.
    for (int i = 0; i < 4; ++i)
    {
        art.Set(9 + i, 1 + i, kBlack);
        for (int x = 10 + i; x < 13; ++x)
            art.Set(x, 1 + i, kGrey);
    }
    art.Fill(9, 4, 13, 5, kBlack);
    art.Fill(9, 1, 10, 5, kBlack);
}

void DrawOpenFolder(PixelArt& art)
{
    // Back of the folder with its tab, then the open front flap.
    art.Fill(1, 4, 7, 6, kOlive);
    art.Fill(1, 5, 12, 13, kOlive);
    art.Frame(1, 5, 12, 14, kBlack);
    for (int y = 8; y < 14; ++y)
    {
        const int shift = 13 - y;
        for (int x = 2 + shift; x < 14 + shift - 1; ++x)
            art.Set(x, y, y == 8 || y == 13 ? kBlack : kYellow);
        art.Set(2 + shift, y, kBlack);
        art.Set(14 + shift - 2, y, kBlack);
    }
    // The arrow of the original shape: something comes out.
    art.Fill(10, 1, 13, 2, kBlack);
    art.Set(13, 2, kBlack);
    art.Set(14, 3, kBlack);
}

void DrawDiskette(PixelArt& art)
{
    art.Fill(1, 1, 15, 15, kDarkBlue);
    art.Frame(1, 1, 15, 15, kBlack);
    art.Fill(4, 2, 12, 7, kWhite);
    art.Fill(5, 10, 11, 15, kGrey);
    art.Fill(6, 11, 8, 14, kDarkBlue);
}

void DrawPaletteBand(PixelArt& art)
{
    constexpr std::array kBand = {kRed, kYellow, kGreen, kCyan, kBlue, kMagenta, kDarkRed};
    for (std::size_t i = 0; i < kBand.size(); ++i)
        art.Fill(1 + 2 * static_cast<int>(i), 11, 3 + 2 * static_cast<int>(i), 14, kBand[i]);
    art.Frame(0, 10, 16, 15, kBlack);
}
} // namespace

wxBitmap DrawToolImage(ToolImage image, int digit, int height)
{
    PixelArt art(kToolImageWidth, height);
    const int mid = height / 2;
    switch (image)
    {
    case ToolImage::BlankSheet:
        DrawBlankSheet(art);
        break;
    case ToolImage::OpenFolder:
        DrawOpenFolder(art);
        break;
    case ToolImage::Diskette:
        DrawDiskette(art);
        break;
    case ToolImage::PreviousSet:
        art.Triangle(4, mid, 6, true, kDarkGrey, kBlack);
        break;
    case ToolImage::NextSet:
        art.Triangle(11, mid, 6, false, kDarkGrey, kBlack);
        break;
    case ToolImage::PreviousPalette:
        art.Triangle(4, 4, 4, true, kGrey, kBlack);
        DrawPaletteBand(art);
        break;
    case ToolImage::NextPalette:
        art.Triangle(11, 4, 4, false, kGrey, kBlack);
        DrawPaletteBand(art);
        break;
    case ToolImage::PaletteLabel:
        art.Text("Pal", 2, (height - 5) / 2, 1, kBlack);
        break;
    case ToolImage::SetLabel:
        art.Text("Set", 2, (height - 5) / 2, 1, kBlack);
        break;
    case ToolImage::Digit:
        art.Text(std::string_view("0123456789").substr(static_cast<std::size_t>(digit), 1), 5,
                 (height - 10) / 2, 2, kBlack);
        break;
    }
    return art.Bitmap();
}

wxBitmap DrawAppIcon(int size)
{
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    // The rendering of this size, else the smallest larger one reduced, else the largest.
    int source = AppIconSizes().back();
    for (const int rendered : AppIconSizes())
    {
        if (rendered >= size)
        {
            source = rendered;
            break;
        }
    }
    const std::span<const std::uint8_t> png = AppIconPng(source);
    wxMemoryInputStream stream(png.data(), png.size());
    wxImage image(stream, wxBITMAP_TYPE_PNG);
    if (source != size)
        image.Rescale(size, size, wxIMAGE_QUALITY_HIGH);
    return wxBitmap(image);
}

wxIconBundle AppIcons()
{
    wxIconBundle icons;
    for (const int size : AppIconSizes())
    {
        wxIcon icon;
        icon.CopyFromBitmap(DrawAppIcon(size));
        icons.AddIcon(icon);
    }
    return icons;
}
