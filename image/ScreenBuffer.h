#pragma once

#include "config/Problem.h"
#include "image/PaletteFile.h"
#include "image/Rect.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

/// Where the screen buffer gets its pixel storage. The section path stands for a bitmap the
/// display can use directly; when it fails once, full colour continues at 24 bits in plain
/// memory for good. Both return nullptr on failure.
struct ScreenMemory
{
    virtual ~ScreenMemory() = default;
    virtual std::unique_ptr<std::uint8_t[]> CreateSection(std::size_t bytes) = 0;
    virtual std::unique_ptr<std::uint8_t[]> AllocatePlain(std::size_t bytes) = 0;
};

/// The off-screen picture in the device-independent-bitmap layout: rows bottom-up, each padded
/// to a multiple of 4 bytes; 8 bits (colour-table indices), 24 bits (blue, green, red) or 32 bits
/// (blue, green, red, unused).
class ScreenBuffer
{
public:
    /// Both pointers may be null: the default memory, and no problems reported.
    explicit ScreenBuffer(ScreenMemory* memory = nullptr, ProblemSink* sink = nullptr);
    ~ScreenBuffer();
    ScreenBuffer(const ScreenBuffer&) = delete;
    ScreenBuffer& operator=(const ScreenBuffer&) = delete;

    void SetProblemSink(ProblemSink* sink);

    /// Width and height apply when both are non-zero; depth when non-zero. Rebuilds the storage.
    void SetFormat(std::int32_t width, std::int32_t height, std::int32_t depth);
    /// Replaces the palette data; with count 0 it only drops it. Otherwise rebuilds the storage.
    void SetPalette(const PaletteColour* entries, std::int32_t count);
    /// Clears the part of rect inside the screen with the background.
    void FillBackground(const Rect& rect);

    /// The background: index at 8 bits; at 24 and 32 bits fullColour when given, else the
    /// palette entry at index, else the grey of that value.
    void SetBackground(std::int32_t index, std::optional<PaletteColour> fullColour = std::nullopt);
    std::int32_t BackgroundIndex() const { return m_backgroundIndex; }
    /// The full-colour background: blue, green, red, unused.
    const std::uint8_t* BackgroundColour() const { return m_backgroundColour; }

    std::int32_t Depth() const { return m_depth; }
    std::int32_t Width() const { return m_screen.right; }
    std::int32_t Height() const { return m_screen.bottom; }
    /// Bytes per storage row; meaningful while there is pixel storage.
    std::int32_t RowSize() const;
    bool HasPixels() const { return m_pixels != nullptr; }
    std::uint8_t* Pixels() { return m_pixels.get(); }
    const std::uint8_t* Pixels() const { return m_pixels.get(); }
    /// Start of screen row y (top-down) in the bottom-up storage.
    std::uint8_t* ScreenRow(std::int32_t y) { return m_pixels.get() + RowOffset(y); }
    const std::uint8_t* ScreenRow(std::int32_t y) const { return m_pixels.get() + RowOffset(y); }
    bool UsesSection() const { return m_useSection; }

    const Rect& ScreenRect() const { return m_screen; }
    const Rect& DirtyRect() const { return m_dirty; }
    void AddDirty(const Rect& rect) { m_dirty = Rect::Union(m_dirty, rect); }
    void MarkAllDirty() { m_dirty = m_screen; }
    void ClearDirty() { m_dirty.SetEmpty(); }

    const std::vector<PaletteColour>& PaletteData() const { return m_palette; }
    std::int32_t PaletteEntryCount() const { return static_cast<std::int32_t>(m_palette.size()); }
    /// The 40-byte bitmap information header, followed at depth 8 by 256 colour-table entries
    /// (blue, green, red, 0).
    const std::vector<std::uint8_t>& BitmapInfo() const { return m_bitmapInfo; }

private:
    std::size_t RowOffset(std::int32_t y) const
    {
        return static_cast<std::size_t>(m_screen.bottom - 1 - y) *
               static_cast<std::size_t>(RowSize());
    }
    void Rebuild();
    /// Drops the storage, settles the depth and builds the bitmap info; returns the bytes the
    /// new storage needs, or nothing when a row would not fit in 32 bits.
    std::optional<std::size_t> ResetStorage();
    void BuildBitmapInfo();
    ScreenMemory& Memory();

    std::int32_t m_backgroundIndex = 255;
    std::uint8_t m_backgroundColour[4] = {255, 255, 255, 0};
    std::int32_t m_depth = 32;
    Rect m_dirty;
    Rect m_screen{0, 0, 1, 1};
    std::vector<std::uint8_t> m_bitmapInfo;
    std::unique_ptr<std::uint8_t[]> m_pixels;
    std::vector<PaletteColour> m_palette;
    bool m_useSection = true;
    ScreenMemory* m_memory;
    ProblemSink* m_sink;
};
