#pragma once

#include <string>
#include <vector>

/// The small text rules shared by the INI file's sections: the recent files and the view's
/// settings each rewrite their own section and keep the others' lines as they are.
namespace IniText
{
/// The text without leading and trailing blanks (spaces, tabs, a CR left by another system).
std::string Trimmed(const std::string& text);
bool IsSectionHeader(const std::string& line);
/// The file's lines, or none when it cannot be read or is no regular file.
std::vector<std::string> ReadLines(const std::string& path);
/// One "key=value" line of a section, both without the blanks around them.
struct IniEntry
{
    std::string key;
    std::string value;
};
/// The entries of the section with header (e.g. "[View]", in any case) in file order, from
/// every place the header stands; none when the file cannot be read.
std::vector<IniEntry> ReadSection(const std::string& path, const char* header);

/// Rewrites the file with the section header (e.g. "[View]") holding entries ("Key=value"
/// lines) at its end, every other section's lines kept as they are. The file is replaced only
/// once the new one is complete, so a failed write (a full disk) never costs any section. A file
/// that is there but cannot be read whole (or is no regular file) is left alone.
void WriteSection(const std::string& path, const char* header,
                  const std::vector<std::string>& entries);
} // namespace IniText
