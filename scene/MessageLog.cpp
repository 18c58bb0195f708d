#include "scene/MessageLog.h"

#include <utility>

void MessageLog::Add(std::string file, std::int32_t line, std::string text)
{
    m_entries.push_back(MessageEntry{std::move(file), line, std::move(text)});
    ++m_revision;
}

void MessageLog::Clear()
{
    if (m_entries.empty())
        return;
    m_entries.clear();
    ++m_revision;
}

std::string MessageLog::FormatEntry(const MessageEntry& entry)
{
    std::string text;
    if (!entry.file.empty())
    {
        text = entry.file;
        if (entry.line > 0)
            text += "(" + std::to_string(entry.line) + ")";
        text += ": ";
    }
    return text + entry.text;
}

std::string MessageLog::AsText() const
{
    std::string text;
    for (const MessageEntry& entry : m_entries)
        text += FormatEntry(entry) + "\n";
    return text;
}
