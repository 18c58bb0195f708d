#include "image/ScreenBuffer.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <optional>

namespace
{

constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kColourTableEntries = 256;
// A window-size line may ask for any size; a picture beyond 16384 × 16384 at 32 bits is refused
// like a failed allocation instead of letting the system overcommit and kill the viewer.
constexpr std::size_t kMaxStorageBytes = std::size_t{1} << 30;

/// Storage in ordinary memory for both paths; a failed allocation returns nullptr.
struct PlainScreenMemory : ScreenMemory
{
    std::unique_ptr<std::uint8_t[]> CreateSection(std::size_t bytes) override
    {
        return Allocate(bytes);
    }
    std::unique_ptr<std::uint8_t[]> AllocatePlain(std::size_t bytes) override
    {
        return Allocate(bytes);
    }
    static std::unique_ptr<std::uint8_t[]> Allocate(std::size_t bytes)
    {
        return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[bytes]());
    }
};

std::int64_t RowBytes(std::int64_t width, std::int32_t depth)
{
    switch (depth)
    {
    case 8:
        return (width + 3) & ~std::int64_t{3};
    case 24:
        return (3 * width + 3) & ~std::int64_t{3};
    default:
        return 4 * width;
    }
}

void PutLittleEndian(std::uint8_t* p, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace

ScreenBuffer::ScreenBuffer(ScreenMemory* memory, ProblemSink* sink) : m_memory(memory), m_sink(sink)
{
}

ScreenBuffer::~ScreenBuffer() = default;

void ScreenBuffer::SetProblemSink(ProblemSink* sink)
{
    m_sink = sink;
}

ScreenMemory& ScreenBuffer::Memory()
{
    static PlainScreenMemory plain;
    return m_memory ? *m_memory : plain;
}

std::int32_t ScreenBuffer::RowSize() const
{
    return static_cast<std::int32_t>(RowBytes(m_screen.right, m_depth));
}

void ScreenBuffer::SetFormat(std::int32_t width, std::int32_t height, std::int32_t depth)
{
    // A negative size cannot be laid out; it is ignored like a zero one.
    if (width > 0 && height > 0)
        m_screen = Rect{0, 0, width, height};
    if (depth == 8 || depth == 24 || depth == 32)
        m_depth = depth;
    m_dirty = m_screen;
    Rebuild();
}

void ScreenBuffer::SetPalette(const PaletteColour* entries, std::int32_t count)
{
    m_palette.clear();
    if (entries == nullptr || count <= 0)
        return;
    m_palette.assign(entries, entries + count);
    Rebuild();
}

void ScreenBuffer::SetBackground(std::int32_t index, std::optional<PaletteColour> fullColour)
{
    m_backgroundIndex = index;
    if (fullColour)
    {
        m_backgroundColour[0] = fullColour->blue;
        m_backgroundColour[1] = fullColour->green;
        m_backgroundColour[2] = fullColour->red;
    }
    else if (index >= 0 && index < PaletteEntryCount())
    {
        const PaletteColour& e = m_palette[static_cast<std::size_t>(index)];
        m_backgroundColour[0] = e.blue;
        m_backgroundColour[1] = e.green;
        m_backgroundColour[2] = e.red;
    }
    else
    {
        const auto grey = static_cast<std::uint8_t>(index);
        m_backgroundColour[0] = m_backgroundColour[1] = m_backgroundColour[2] = grey;
    }
    m_backgroundColour[3] = 0;
}

void ScreenBuffer::FillBackground(const Rect& rect)
{
    const Rect area = Rect::Intersect(rect, m_screen);
    if (!m_pixels || area.IsEmpty())
        return;
    const int pixelBytes = m_depth / 8;
    const auto runBytes = static_cast<std::size_t>(area.Width()) * pixelBytes;
    std::uint8_t* first = ScreenRow(area.top) + static_cast<std::size_t>(area.left) * pixelBytes;
    if (m_depth == 8)
    {
        std::memset(first, static_cast<std::uint8_t>(m_backgroundIndex), runBytes);
    }
    else
    {
        for (std::size_t i = 0; i < runBytes; i += pixelBytes)
            std::memcpy(first + i, m_backgroundColour, pixelBytes);
    }
    // The first row is the pattern for the others.
    for (std::int32_t y = area.top + 1; y < area.bottom; ++y)
        std::memcpy(ScreenRow(y) + static_cast<std::size_t>(area.left) * pixelBytes, first,
                    runBytes);
}

void ScreenBuffer::BuildBitmapInfo()
{
    const std::size_t tableEntries = m_depth == 8 ? kColourTableEntries : 0;
    m_bitmapInfo.assign(kInfoHeaderSize + 4 * tableEntries, 0);
    std::uint8_t* h = m_bitmapInfo.data();
    PutLittleEndian(h, kInfoHeaderSize, 4);
    PutLittleEndian(h + 4, static_cast<std::uint32_t>(m_screen.right), 4);
    PutLittleEndian(h + 8, static_cast<std::uint32_t>(m_screen.bottom), 4);
    PutLittleEndian(h + 12, 1, 2);
    PutLittleEndian(h + 14, static_cast<std::uint32_t>(m_depth), 2);

    std::uint8_t* entry = h + kInfoHeaderSize;
    for (std::size_t i = 0; i < tableEntries; ++i, entry += 4)
    {
        if (m_palette.empty())
        {
            entry[0] = entry[1] = entry[2] = static_cast<std::uint8_t>(i);
        }
        else if (i < m_palette.size())
        {
            entry[0] = m_palette[i].blue;
            entry[1] = m_palette[i].green;
            entry[2] = m_palette[i].red;
        }
    }
}

std::optional<std::size_t> ScreenBuffer::ResetStorage()
{
    m_pixels.reset();
    if (!m_useSection && m_depth == 32)
        m_depth = 24;
    BuildBitmapInfo();
    const std::int64_t rowBytes = RowBytes(m_screen.right, m_depth);
    if (rowBytes > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    const std::size_t bytes =
        static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(m_screen.bottom);
    if (bytes > kMaxStorageBytes)
        return std::nullopt;
    return bytes;
}

void ScreenBuffer::Rebuild()
{
    m_dirty = m_screen;
    std::optional<std::size_t> bytes = ResetStorage();
    if (bytes && m_useSection)
    {
        m_pixels = Memory().CreateSection(*bytes);
        if (m_pixels)
            return;
        // Full colour carries on at 24 bits in plain memory for good.
        m_useSection = false;
        bytes = ResetStorage();
    }
    if (bytes)
        m_pixels = Memory().AllocatePlain(*bytes);
    if (!m_pixels)
    {
        m_bitmapInfo.clear();
        if (m_sink)
        {
            const Problem problem{ProblemKind::NoScreenBuffer, {}, 0, {}, 0};
            m_sink->Report({&problem, 1});
        }
    }
}
