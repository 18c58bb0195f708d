#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

/// A cursor over one line of a configuration file with the scans that every line grammar
/// shares. Numbers are runs of the ASCII digits only; a value beyond the 32-bit range
/// saturates (see ReadNumber).
class LineScan
{
public:
    explicit LineScan(std::string_view line) : m_line(line) {}

    bool AtEnd() const { return m_pos >= m_line.size(); }
    /// The byte at the cursor; only valid when not AtEnd().
    char Current() const { return m_line[m_pos]; }
    bool AtDigit() const { return !AtEnd() && IsDigit(Current()); }
    void Advance() { ++m_pos; }

    /// Reads the run of digits at the cursor; 0 when there is none. A value above 2147483647
    /// yields 2147483647, so a long run never turns negative or wraps to a small number.
    std::int32_t ReadNumber();
    /// Like ReadNumber, but a "-" directly before the digits makes the value negative (down to
    /// -2147483648), so every 32-bit value that a writer wrote reads back unchanged.
    std::int32_t ReadSignedNumber();
    /// Skips to the next digit, ";" or the end; true when it stopped at a digit.
    bool SkipToDigit();
    /// Skips to the next digit, ";" or the end and reads the number there; 0 when there is
    /// none, and the cursor then stays at the ";" or the end.
    std::int32_t FindNumber();
    /// Skips every character outside the file-name set, then takes the run of file-name
    /// characters. A Shift-JIS double-byte character is one character outside the set, so its
    /// trail byte never becomes part of a name.
    std::string TakeFileName();
    /// The text from the next ";" to the end of the line, ";" included; empty without one.
    /// The cursor moves to the end.
    std::string TakeComment();

    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static bool IsFileNameChar(char c);
    static bool IsLeadByte(char c);

private:
    std::uint32_t ReadMagnitude();

    std::string_view m_line;
    std::size_t m_pos = 0;
};
