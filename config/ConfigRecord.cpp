#include "config/ConfigRecord.h"

namespace
{

// Shared by every record of the process and never reset, so the records of a reloaded file
// get new numbers.
std::int32_t g_nextSerial = 1;

} // namespace

ConfigRecord::ConfigRecord(std::string lineText)
    : m_commentText(lineText), m_lineText(std::move(lineText)), m_serial(g_nextSerial++)
{
}

void ConfigRecord::Write(std::ostream& out)
{
    const std::string& text = m_modified ? m_commentText : m_lineText;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    WriteLineEnd(out);
}

void ConfigRecord::WriteLineEnd(std::ostream& out)
{
    // Sets are shared with users of systems whose text files end lines in CR LF.
    out.write("\r\n", 2);
}
