#include "config/CelLine.h"

#include "config/LineScan.h"

#include <algorithm>
#include <optional>

namespace
{

constexpr std::int64_t kOpaque = 256;

/// An offset tag's value stands right after its letter, a "-" included; a tag without digits
/// there is no tag.
void ReadOffsetTag(LineScan& scan, std::optional<std::int32_t>& offset)
{
    if (!scan.AtEnd() && scan.Current() == '-')
    {
        scan.Advance();
        if (!scan.AtDigit())
            return;
    }
    if (scan.AtDigit())
        offset = scan.ReadSignedNumber();
}

} // namespace

CelLine::CelLine(std::string lineText) : ConfigRecord(std::move(lineText))
{
    SetCommentText({});
    const std::string& line = LineText();
    LineScan scan(line);

    m_objectNumber = scan.FindNumber();
    if (!scan.AtEnd() && scan.Current() == '.')
    {
        scan.Advance();
        m_fix = scan.ReadNumber();
    }
    m_celFileName = scan.TakeFileName();

    while (!scan.AtEnd())
    {
        const char c = scan.Current();
        if (c == '*')
        {
            m_paletteNumber = scan.FindNumber();
        }
        else if (c == ':')
        {
            // Each digit names one set: "12" is sets 1 and 2, never set 12.
            m_setFlags.fill(0);
            scan.Advance();
            for (; !scan.AtEnd(); scan.Advance())
            {
                const char s = scan.Current();
                if (LineScan::IsDigit(s))
                    m_setFlags[static_cast<std::size_t>(s - '0')] = 1;
                else if (s != ' ' && s != '\t')
                    break;
            }
        }
        else if (c == ';')
        {
            break;
        }
        else
        {
            scan.Advance();
        }
    }
    if (scan.AtEnd())
        return;

    SetCommentText(scan.TakeComment());
    const std::string& comment = CommentText();
    LineScan option(comment);
    option.Advance();
    while (!option.AtEnd())
    {
        const char c = option.Current();
        option.Advance();
        if (c != '%' || option.AtEnd())
            continue;
        const char kind = option.Current();
        option.Advance();
        if (kind == 'T' || kind == 't')
            m_transparency = static_cast<std::int32_t>(
                std::clamp(kOpaque - option.FindNumber(), std::int64_t{0}, kOpaque));
        else if (kind == 'X' || kind == 'x')
            ReadOffsetTag(option, m_xOffset);
        else if (kind == 'Y' || kind == 'y')
            ReadOffsetTag(option, m_yOffset);
    }
}
