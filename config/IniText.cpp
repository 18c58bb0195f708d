#include "config/IniText.h"

#include "config/AsciiCase.h"
#include "scene/ReplaceFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>

namespace IniText
{

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool IsSectionHeader(const std::string& line)
{
    const std::string text = Trimmed(line);
    return !text.empty() && text.front() == '[';
}

namespace
{

/// The file's lines: none when there is no file, nothing when it is there but cannot be read
/// whole. A pipe or a device is never opened: reading it could wait for ever.
std::optional<std::vector<std::string>> ReadWhole(const std::string& path)
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return std::vector<std::string>();
    if (error || status.type() != std::filesystem::file_type::regular)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    if (in.bad())
        return std::nullopt;
    return lines;
}

} // namespace

std::vector<std::string> ReadLines(const std::string& path)
{
    return ReadWhole(path).value_or(std::vector<std::string>());
}

std::vector<IniEntry> ReadSection(const std::string& path, const char* header)
{
    std::vector<IniEntry> entries;
    bool inSection = false;
    for (const std::string& line : ReadLines(path))
    {
        if (IsSectionHeader(line))
        {
            inSection = EqualsIgnoringAsciiCase(Trimmed(line), header);
            continue;
        }
        const auto equals = line.find('=');
        if (inSection && equals != std::string::npos)
            entries.push_back({Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1))});
    }
    return entries;
}

void WriteSection(const std::string& path, const char* header,
                  const std::vector<std::string>& entries)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    // Rewritten from what could be read, the other sections would be lost.
    const std::optional<std::vector<std::string>> lines = ReadWhole(path);
    if (!lines)
        return;
    std::vector<std::string> kept;
    bool inSection = false;
    for (const std::string& line : *lines)
    {
        if (IsSectionHeader(line))
            inSection = EqualsIgnoringAsciiCase(Trimmed(line), header);
        if (!inSection)
            kept.push_back(line);
    }
    std::string text;
    for (const std::string& line : kept)
        text += line + '\n';
    text += std::string(header) + '\n';
    for (const std::string& entry : entries)
        text += entry + '\n';
    // A failure keeps the old file whole; the settings are not worth a message.
    ReplaceFile(path, text);
}

} // namespace IniText
