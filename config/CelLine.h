#pragma once

#include "config/ConfigRecord.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

/// A "#" line: one cel, its object, fix, palette, sets, transparency and offsets.
class CelLine : public ConfigRecord
{
public:
    explicit CelLine(std::string lineText);

    std::int32_t ObjectNumber() const { return m_objectNumber; }
    std::int32_t Fix() const { return m_fix; }
    const std::string& CelFileName() const { return m_celFileName; }
    std::int32_t PaletteNumber() const { return m_paletteNumber; }
    /// Whether the cel is visible in set n (0 to 9).
    bool IsInSet(int n) const { return m_setFlags[static_cast<std::size_t>(n)] != 0; }
    /// -1 when the line gives none, else an opacity 0 to 256.
    std::int32_t Transparency() const { return m_transparency; }
    /// The comment's "%xN" and "%yN": the cel's offsets within its object, in place of those
    /// of the cel file; nothing when the comment gives none.
    std::optional<std::int32_t> XOffset() const { return m_xOffset; }
    std::optional<std::int32_t> YOffset() const { return m_yOffset; }

private:
    std::int32_t m_objectNumber = 0;
    std::int32_t m_fix = 0;
    std::string m_celFileName;
    std::int32_t m_paletteNumber = 0;
    std::array<std::int32_t, 10> m_setFlags{1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    std::int32_t m_transparency = -1;
    std::optional<std::int32_t> m_xOffset;
    std::optional<std::int32_t> m_yOffset;
};
