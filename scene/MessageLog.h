#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// One message about the current set: the file it concerns (empty when none), the line in that
/// file (0 when none) and the text, all UTF-8 except file names, which stay bytes as on disk.
struct MessageEntry
{
    std::string file;
    std::int32_t line = 0;
    std::string text;
};

/// Every message of the current set, oldest first, without the limit of the load box. Each
/// change bumps the revision, so a window that lists the log knows when to read it again.
class MessageLog
{
public:
    void Add(std::string file, std::int32_t line, std::string text);
    void Clear();

    const std::vector<MessageEntry>& Entries() const { return m_entries; }
    std::uint64_t Revision() const { return m_revision; }

    /// One entry per line as "file(line): text", "file: text" or "text", each line ending in
    /// "\n": what a copy puts on the clipboard.
    std::string AsText() const;
    /// One entry in the form of AsText, without the line end.
    static std::string FormatEntry(const MessageEntry& entry);

private:
    std::vector<MessageEntry> m_entries;
    std::uint64_t m_revision = 0;
};
