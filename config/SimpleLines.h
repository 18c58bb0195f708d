#pragma once

#include "config/ConfigRecord.h"

#include <cstdint>
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

/// A "[" line: a border colour index, kept but not used for drawing.
class BorderLine : public ConfigRecord
{
public:
    explicit BorderLine(std::string lineText);
    std::int32_t ColourIndex() const { return m_colourIndex; }

private:
    std::int32_t m_colourIndex = 0;
};
