#include "config/SimpleLines.h"

#include "config/LineScan.h"

namespace
{

void SkipBlanks(LineScan& scan)
{
    while (!scan.AtEnd() && (scan.Current() == ' ' || scan.Current() == '\t'))
        scan.Advance();
}

/// Reads "R,G,B" from the cursor; anything else but blanks before the comment is no colour.
std::optional<BorderLine::Rgb> ReadColour(LineScan scan)
{
    std::uint8_t parts[3] = {};
    for (int i = 0; i < 3; ++i)
    {
        SkipBlanks(scan);
        if (i > 0)
        {
            if (scan.AtEnd() || scan.Current() != ',')
                return std::nullopt;
            scan.Advance();
            SkipBlanks(scan);
        }
        if (!scan.AtDigit())
            return std::nullopt;
        const std::int32_t value = scan.ReadNumber();
        if (value > 255)
            return std::nullopt;
        parts[i] = static_cast<std::uint8_t>(value);
    }
    SkipBlanks(scan);
    if (!scan.AtEnd() && scan.Current() != ';')
        return std::nullopt;
    return BorderLine::Rgb{parts[0], parts[1], parts[2]};
}

} // namespace

PaletteLine::PaletteLine(std::string lineText) : ConfigRecord(std::move(lineText))
{
    LineScan scan(LineText());
    m_fileName = scan.TakeFileName();
    SetCommentText(scan.TakeComment());
}

WindowSizeLine::WindowSizeLine(std::string lineText) : ConfigRecord(std::move(lineText))
{
    LineScan scan(LineText());
    m_width = scan.FindNumber();
    m_height = scan.FindNumber();
    SetCommentText(scan.TakeComment());
}

MemoryLine::MemoryLine(std::string lineText) : ConfigRecord(std::move(lineText))
{
    LineScan scan(LineText());
    m_value = scan.FindNumber();
    SetCommentText(scan.TakeComment());
}

BorderLine::BorderLine(std::string lineText) : ConfigRecord(std::move(lineText))
{
    LineScan scan(LineText());
    scan.Advance();
    m_colour = ReadColour(scan);
    m_colourIndex = scan.FindNumber();
    SetCommentText(scan.TakeComment());
}
