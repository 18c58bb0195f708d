#pragma once

#include "shell/CommandTable.h"

#include <wx/bitmap.h>
#include <wx/iconbndl.h>

constexpr int kToolImageWidth = 16;

/// The button images, drawn pixel by pixel so that they look the same on every desktop.
wxBitmap DrawToolImage(ToolImage image, int digit, int height);
/// The application icon (a paper doll) at size by size pixels.
wxBitmap DrawAppIcon(int size);
/// The application icon at every size it was rendered at, for the window manager to choose.
wxIconBundle AppIcons();
