#pragma once

#include <cstdint>
#include <istream>
#include <span>

/// What the header check of a bitmap found.
enum class BitmapCheck
{
    Ok,
    NotBitmap,   ///< no complete file header, or its type is not "BM"
    Unsupported, ///< not a 24-bit uncompressed bitmap of a size a cel can hold
};

/// Reads a 24-bit uncompressed bitmap from a stream positioned at its start. Only the two
/// headers are read up front; rows are read one at a time, so the size that a header claims
/// never decides how much memory is taken.
class BmpReader
{
public:
    static constexpr std::int64_t kHeaderBytes = 14 + 40;
    /// Cel headers hold 16-bit sizes.
    static constexpr std::int32_t kMaxSide = 0xFFFF;

    explicit BmpReader(std::istream& in);

    BitmapCheck Check() const { return m_check; }
    std::int32_t Width() const { return m_width; }
    std::int32_t Height() const { return m_height; }

    /// Bytes per stored row: three per pixel, padded to a multiple of four.
    static std::int64_t RowBytes(std::int32_t width) { return (3 * std::int64_t{width} + 3) & ~3; }

    /// Reads stored row `row` (0 is the bottom row) of a bitmap `width` pixels wide into `out`,
    /// which must hold RowBytes(width) bytes. Bytes that the file lacks read as 0.
    void ReadRow(std::int32_t width, std::int32_t row, std::span<std::uint8_t> out);

private:
    std::istream& m_in;
    BitmapCheck m_check = BitmapCheck::NotBitmap;
    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
};
