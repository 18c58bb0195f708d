#include "config/SetLine.h"

#include "config/LineScan.h"

#include <algorithm>
#include <string_view>

namespace
{

// A generated line breaks before the first item that would start at this column or later.
constexpr std::size_t kBreakColumn = 67;

void WriteText(std::ostream& out, std::string_view text)
{
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

} // namespace

SetLine::SetLine(std::string lineText) : SetLine(std::move(lineText), {}) {}

SetLine::SetLine(std::string lineText, std::vector<std::size_t> joins)
    : ConfigRecord(std::move(lineText)), m_joins(std::move(joins))
{
    SetCommentText({});
    const std::string& line = LineText();
    LineScan scan(line);

    m_paletteGroup = scan.FindNumber();
    std::int32_t object = 0;
    while (!scan.AtEnd())
    {
        const char c = scan.Current();
        if (LineScan::IsDigit(c))
        {
            const std::int32_t x = scan.ReadSignedNumber();
            const std::int32_t y = scan.SkipToDigit() ? scan.ReadSignedNumber() : 0;
            SetPosition(object++, x, y);
        }
        else if (c == '*')
        {
            scan.Advance();
            SetPosition(object++, 0, 0);
        }
        else if (c == ';')
        {
            SetCommentText(scan.TakeComment());
        }
        else
        {
            scan.Advance();
        }
    }
}

void SetLine::SetPosition(std::int32_t object, std::int32_t x, std::int32_t y)
{
    if (x == 0 && y == 0)
        m_positions.erase(object);
    else
        m_positions[object] = Position{x, y};
}

std::int32_t SetLine::GetX(std::int32_t object) const
{
    const auto found = m_positions.find(object);
    return found == m_positions.end() ? 0 : found->second.x;
}

std::int32_t SetLine::GetY(std::int32_t object) const
{
    const auto found = m_positions.find(object);
    return found == m_positions.end() ? 0 : found->second.y;
}

void SetLine::Write(std::ostream& out)
{
    if (!IsModified())
    {
        if (m_joins.empty())
        {
            ConfigRecord::Write(out);
            return;
        }
        const std::string_view text = LineText();
        std::size_t start = 0;
        for (std::size_t join : m_joins)
        {
            WriteText(out, text.substr(start, join - start));
            WriteLineEnd(out);
            start = join + 1;
        }
        WriteText(out, text.substr(start));
        WriteLineEnd(out);
        return;
    }

    std::size_t column = 0;
    const auto writeItem = [&](std::string_view item)
    {
        if (column >= kBreakColumn)
        {
            WriteLineEnd(out);
            column = 0;
        }
        column += item.size();
        WriteText(out, item);
    };

    writeItem("$" + std::to_string(m_paletteGroup));
    const std::int32_t last = m_positions.empty() ? 0 : std::max(0, m_positions.rbegin()->first);
    std::string item;
    for (std::int64_t object = 0; object <= last; ++object)
    {
        const auto found = m_positions.find(static_cast<std::int32_t>(object));
        if (found == m_positions.end())
        {
            writeItem(" *");
            continue;
        }
        item = ' ';
        item += std::to_string(found->second.x);
        item += ',';
        item += std::to_string(found->second.y);
        writeItem(item);
    }
    ConfigRecord::Write(out);
}
