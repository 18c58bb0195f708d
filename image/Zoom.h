#pragma once

#include "image/Rect.h"

/// Whole zoom factors only, so that every picture pixel is a square of whole screen pixels.
constexpr int kMinZoom = 1;
constexpr int kMaxZoom = 4;

/// How picture pixels lie on the window: each is zoom × zoom screen pixels, and the window
/// counts positions in units of scale screen pixels (the display's scale factor).
struct ZoomMapping
{
    int zoom = 1;
    double scale = 1.0;

    /// The picture pixel under a window position; positions left of or above the picture give
    /// negative pixels, rounded towards minus infinity like the rest.
    Point ToPicture(Point window) const;
    /// The window rectangle that covers the picture rectangle.
    Rect ToWindow(const Rect& picture) const;
    /// The window extent of a picture of this size.
    Point WindowSize(Point picture) const;
};

/// The largest factor at which a picture of this size fits in the window (both in window
/// units), at least kMinZoom.
int FitZoom(Point picture, Point window, double scale);

/// The factor that keeps a picture's size on a display with this scale factor the same as at
/// one picture pixel per pixel of an ordinary display.
int DefaultZoom(double displayScale);

/// The factor within kMinZoom to kMaxZoom.
int ClampZoom(int zoom);

/// The largest factor (at least kMinZoom) at which a picture of this size still makes a bitmap
/// that the window system can hold: at most 32767 pixels a side and 512 MiB at 4 bytes a pixel.
int LargestZoomFor(Point picture);

/// The play field shrunk, where it must be, to what the window system can hold at kMinZoom
/// (see LargestZoomFor): sides of at most 32767 pixels, then as many rows as 512 MiB allow.
Point ClampPlayField(Point size);
