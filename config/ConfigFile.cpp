#include "config/ConfigFile.h"

#include <algorithm>
#include <cstdio>

namespace
{

// Splits the input into physical lines the way a text-mode read would on the systems the
// sets come from: a CR directly before LF is dropped, any other CR is kept, and 0x1A ends the
// input. Lines are read whole, however long.
class PhysicalLines
{
public:
    explicit PhysicalLines(std::string_view bytes) : m_bytes(bytes.substr(0, bytes.find('\x1A'))) {}

    bool AtEnd() const { return m_pos >= m_bytes.size(); }
    /// Whether the next unread line begins with a space, which continues a "$" line.
    bool NextIsContinuation() const { return !AtEnd() && m_bytes[m_pos] == ' '; }
    /// Whether the last Read ran into the end of the input rather than a line feed.
    bool MetEnd() const { return m_metEnd; }

    std::string_view Read()
    {
        const std::size_t start = m_pos;
        std::size_t end = m_bytes.find('\n', start);
        m_metEnd = end == std::string_view::npos;
        if (m_metEnd)
        {
            end = m_bytes.size();
            m_pos = end;
        }
        else
        {
            m_pos = end + 1;
            if (end > start && m_bytes[end - 1] == '\r')
                --end;
        }
        return m_bytes.substr(start, end - start);
    }

private:
    std::string_view m_bytes;
    std::size_t m_pos = 0;
    bool m_metEnd = false;
};

template <typename Record, typename... Args>
Record* Append(std::vector<std::unique_ptr<ConfigRecord>>& records, Args&&... args)
{
    auto record = std::make_unique<Record>(std::forward<Args>(args)...);
    Record* added = record.get();
    records.push_back(std::move(record));
    return added;
}

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

ConfigFile::ConfigFile(std::string_view bytes)
{
    PhysicalLines input(bytes);
    while (!input.AtEnd())
    {
        std::string line(input.Read());
        std::vector<std::size_t> joins;
        if (!input.MetEnd() && !line.empty() && line.front() == '$')
        {
            while (input.NextIsContinuation())
            {
                joins.push_back(line.size());
                line += ' ';
                line += input.Read();
                if (input.MetEnd())
                    break;
            }
        }
        AddLine(std::move(line), std::move(joins));
    }
    // Collected in file order; the document wants the last "#" line first.
    std::reverse(m_celLines.begin(), m_celLines.end());
}

std::unique_ptr<ConfigFile> ConfigFile::FromPath(const std::string& path)
{
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return nullptr;
    std::string bytes;
    char buffer[16384];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        bytes.append(buffer, count);
    if (std::ferror(file.get()))
        return nullptr;
    return std::make_unique<ConfigFile>(bytes);
}

void ConfigFile::AddLine(std::string line, std::vector<std::size_t> joins)
{
    const char kind = line.empty() ? ';' : line.front();
    switch (kind)
    {
    case '#':
        m_celLines.push_back(Append<CelLine>(m_records, std::move(line)));
        break;
    case '$':
        m_setLines.push_back(Append<SetLine>(m_records, std::move(line), std::move(joins)));
        break;
    case '%':
        m_paletteLines.push_back(Append<PaletteLine>(m_records, std::move(line)));
        break;
    case '(':
    {
        const WindowSizeLine* size = Append<WindowSizeLine>(m_records, std::move(line));
        if (!m_windowSize)
            m_windowSize = size;
        break;
    }
    case '=':
        Append<MemoryLine>(m_records, std::move(line));
        break;
    case '[':
    {
        const BorderLine* border = Append<BorderLine>(m_records, std::move(line));
        if (!m_border)
            m_border = border;
        break;
    }
    default:
        Append<ConfigRecord>(m_records, std::move(line));
        break;
    }
}

void ConfigFile::MergeSetLines(const std::vector<std::unique_ptr<SetLine>>& sets)
{
    for (std::size_t n = 0; n < sets.size(); ++n)
    {
        SetLine* target = nullptr;
        if (n < m_setLines.size())
        {
            target = m_setLines[n];
            *target = *sets[n];
        }
        else
        {
            target = Append<SetLine>(m_records, *sets[n]);
            m_setLines.push_back(target);
        }
        target->SetModified(true);
    }
}

void ConfigFile::WriteAll(std::ostream& out) const
{
    for (const auto& record : m_records)
        record->Write(out);
}
