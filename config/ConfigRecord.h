#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>

/// One logical line of a configuration file. Used directly for comment lines (any line that is
/// not one of the typed statements); the typed records derive from it.
class ConfigRecord
{
public:
    /// Takes a serial number from the process-wide counter.
    explicit ConfigRecord(std::string lineText);
    ConfigRecord(const ConfigRecord&) = default;
    ConfigRecord& operator=(const ConfigRecord&) = default;
    virtual ~ConfigRecord() = default;

    /// Writes the record as one line ending in CR LF: the line text as read, or the regenerated
    /// text when the record is modified.
    virtual void Write(std::ostream& out);

    const std::string& LineText() const { return m_lineText; }
    const std::string& CommentText() const { return m_commentText; }
    std::int32_t Serial() const { return m_serial; }
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }

protected:
    /// For subclasses whose grammar finds a comment: the text from that ";" to the end.
    void SetCommentText(std::string text) { m_commentText = std::move(text); }
    /// Every line written ends in CR LF, whatever the platform.
    static void WriteLineEnd(std::ostream& out);

private:
    std::string m_commentText;
    std::string m_lineText;
    std::int32_t m_serial;
    bool m_modified = false;
};
