#pragma once

#include "image/Cel.h"
#include "image/ColourTables.h"
#include "image/Compose.h"
#include "image/Rect.h"

#include <cstdint>
#include <string>

class ScreenBuffer;

/// One cel line's cel in the current set; shares its Cel's pixels.
struct PlacedCel : CelImage
{
    const ColourMap* colourMap = nullptr; ///< not owned; null when the palette number has no map
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t visible = 1;
    std::int32_t objectNumber = -1;
    std::int32_t fix = 0;
    std::int32_t celLineSerial = -1;
    bool mapped = true;   ///< FKiSS: an unmapped cel is neither drawn nor hit
    bool ghosted = false; ///< FKiSS: a ghosted cel is drawn but clicks pass through it
    std::string comment; ///< from the cel line's ";" on, bytes as in the file

    PlacedCel() = default;
    explicit PlacedCel(const CelImage& image) : CelImage(image) {}

    /// Position + offset, position + offset + size.
    Rect CelRect() const;
    /// Composes the cel into the buffer, clipped to the dirty and screen rectangles; the
    /// compositing code can be chosen so that tests compare the vector code with the reference.
    void Draw(ScreenBuffer& buffer, ComposeFunction compose = ComposeVector) const;
    /// Visible, mapped, not ghosted, and the pixel under the point is not transparent.
    bool HitTest(std::int32_t px, std::int32_t py) const;
    /// The pixel under the point is not transparent, whether the cel shows or not.
    bool IsOpaqueAt(std::int32_t px, std::int32_t py) const;
    /// A position stops at the 32-bit limits rather than wrapping.
    void MoveBy(ScreenBuffer& buffer, std::int32_t dx, std::int32_t dy);
    void MoveTo(ScreenBuffer& buffer, std::int32_t newX, std::int32_t newY);
};
