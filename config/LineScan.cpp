#include "config/LineScan.h"

#include <algorithm>
#include <array>
#include <limits>

namespace
{

constexpr std::string_view kFileNameChars =
    ".'@-~_0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

constexpr std::array<bool, 256> MakeFileNameTable()
{
    std::array<bool, 256> table{};
    for (char c : kFileNameChars)
        table[static_cast<unsigned char>(c)] = true;
    return table;
}

constexpr std::array<bool, 256> kFileNameTable = MakeFileNameTable();

// Large enough to hold the magnitude of -2147483648; the digit loop stops growing there.
constexpr std::uint32_t kMagnitudeLimit = 2147483648u;

} // namespace

bool LineScan::IsFileNameChar(char c)
{
    return kFileNameTable[static_cast<unsigned char>(c)];
}

bool LineScan::IsLeadByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::uint32_t LineScan::ReadMagnitude()
{
    std::uint64_t value = 0;
    for (; AtDigit(); ++m_pos)
        value = std::min<std::uint64_t>(value * 10 + static_cast<unsigned>(Current() - '0'),
                                        kMagnitudeLimit);
    return static_cast<std::uint32_t>(value);
}

std::int32_t LineScan::ReadNumber()
{
    const std::uint32_t max = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::min(ReadMagnitude(), max));
}

std::int32_t LineScan::ReadSignedNumber()
{
    const bool negative = AtDigit() && m_pos > 0 && m_line[m_pos - 1] == '-';
    if (!negative)
        return ReadNumber();
    return static_cast<std::int32_t>(-static_cast<std::int64_t>(ReadMagnitude()));
}

bool LineScan::SkipToDigit()
{
    while (!AtEnd() && !IsDigit(Current()) && Current() != ';')
        ++m_pos;
    return AtDigit();
}

std::int32_t LineScan::FindNumber()
{
    return SkipToDigit() ? ReadNumber() : 0;
}

std::string LineScan::TakeFileName()
{
    while (!AtEnd() && !IsFileNameChar(Current()))
        m_pos += IsLeadByte(Current()) && m_pos + 1 < m_line.size() ? 2 : 1;
    const std::size_t start = m_pos;
    while (!AtEnd() && IsFileNameChar(Current()))
        ++m_pos;
    return std::string(m_line.substr(start, m_pos - start));
}

std::string LineScan::TakeComment()
{
    const std::size_t semicolon = m_line.find(';', std::min(m_pos, m_line.size()));
    m_pos = m_line.size();
    return semicolon == std::string_view::npos ? std::string()
                                               : std::string(m_line.substr(semicolon));
}
