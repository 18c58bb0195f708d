#pragma once

#include "shell/CommandTable.h"

#include <wx/bitmap.h>

constexpr int kToolImageWidth = 16;

/// The button images, drawn pixel by pixel so that they look the same on every desktop.
wxBitmap DrawToolImage(ToolImage image, int digit, int height);
/// The application icon (a small doll) at size by size pixels.
wxBitmap DrawAppIcon(int size);
