#pragma once

#include "config/ConfigRecord.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

/// A "$" line: the palette group of one set and the position of every object in it.
class SetLine : public ConfigRecord
{
public:
    struct Position
    {
        std::int32_t x = 0;
        std::int32_t y = 0;
        friend constexpr bool operator==(const Position&, const Position&) = default;
    };

    explicit SetLine(std::string lineText);
    /// A line that the reader joined from several physical lines; joins are the offsets in
    /// lineText of the spaces that it put between them. Unmodified, the line is written back
    /// with its original breaks.
    SetLine(std::string lineText, std::vector<std::size_t> joins);
    SetLine(const SetLine&) = default;
    SetLine& operator=(const SetLine&) = default;

    std::int32_t PaletteGroup() const { return m_paletteGroup; }
    void SetPaletteGroup(std::int32_t group) { m_paletteGroup = group; }

    /// (0, 0) removes the object's entry: having no position and standing at 0,0 are the same.
    void SetPosition(std::int32_t object, std::int32_t x, std::int32_t y);
    std::int32_t GetX(std::int32_t object) const;
    std::int32_t GetY(std::int32_t object) const;
    const std::map<std::int32_t, Position>& Positions() const { return m_positions; }

    /// When modified, writes a freshly generated line, broken after column 67 into
    /// continuation lines that begin with a space.
    void Write(std::ostream& out) override;

private:
    std::int32_t m_paletteGroup = 0;
    std::map<std::int32_t, Position> m_positions;
    std::vector<std::size_t> m_joins;
};
