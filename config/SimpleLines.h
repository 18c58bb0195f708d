#pragma once

#include "config/ConfigRecord.h"

#include <cstdint>
#include <optional>
#include <string>

/// A "%" line: one palette file.
class PaletteLine : public ConfigRecord
{
public:
    explicit PaletteLine(std::string lineText);
    const std::string& PaletteFileName() const { return m_fileName; }

private:
    std::string m_fileName;
};

/// A "(" line: the screen size.
class WindowSizeLine : public ConfigRecord
{
public:
    explicit WindowSizeLine(std::string lineText);
    std::int32_t Width() const { return m_width; }
    std::int32_t Height() const { return m_height; }

private:
    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
};

/// A "=" line: a memory figure, kept only to be written back.
class MemoryLine : public ConfigRecord
{
public:
    explicit MemoryLine(std::string lineText);
    std::int32_t Value() const { return m_value; }

private:
    std::int32_t m_value = 0;
};

/// A "[" line: a border colour index, kept but not used for drawing; or, written as three
/// numbers "[R,G,B", the background colour of the full-colour picture.
class BorderLine : public ConfigRecord
{
public:
    struct Rgb
    {
        std::uint8_t red = 0;
        std::uint8_t green = 0;
        std::uint8_t blue = 0;
        friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
    };

    explicit BorderLine(std::string lineText);
    std::int32_t ColourIndex() const { return m_colourIndex; }
    /// Nothing unless the line is exactly three numbers 0 to 255 separated by commas (spaces
    /// and tabs allowed around them), before its comment.
    std::optional<Rgb> Colour() const { return m_colour; }

private:
    std::int32_t m_colourIndex = 0;
    std::optional<Rgb> m_colour;
};
