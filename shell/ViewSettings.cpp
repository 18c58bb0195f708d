#include "shell/ViewSettings.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{
constexpr const char* kSectionHeader = "[Settings]";

std::string Lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> ReadLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

/// Whether line is name's entry of our section (inSection tracks the sections on the way).
bool IsEntry(const std::string& line, const char* name, bool& inSection)
{
    const std::string text = Trimmed(line);
    if (!text.empty() && text.front() == '[')
    {
        inSection = Lowered(text) == Lowered(kSectionHeader);
        return false;
    }
    const auto equals = text.find('=');
    return inSection && equals != std::string::npos &&
           Lowered(Trimmed(text.substr(0, equals))) == Lowered(name);
}
} // namespace

bool ViewSettings::ReadFlag(const wxString& iniPath, const char* name, bool fallback)
{
    bool inSection = false;
    for (const std::string& line : ReadLines(std::string(iniPath.fn_str())))
    {
        if (IsEntry(line, name, inSection))
        {
            const std::string value = Trimmed(line.substr(line.find('=') + 1));
            if (value == "0" || value == "1")
                return value == "1";
        }
    }
    return fallback;
}

void ViewSettings::WriteFlag(const wxString& iniPath, const char* name, bool value)
{
    const std::string path(iniPath.fn_str());
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    const std::string entry = std::string(name) + "=" + (value ? "1" : "0");
    std::vector<std::string> lines = ReadLines(path);
    bool inSection = false;
    auto entryLine = lines.end();
    auto header = lines.end();
    for (auto line = lines.begin(); line != lines.end(); ++line)
    {
        if (IsEntry(*line, name, inSection) && entryLine == lines.end())
            entryLine = line;
        if (Lowered(Trimmed(*line)) == Lowered(kSectionHeader) && header == lines.end())
            header = line;
    }
    if (entryLine != lines.end())
        *entryLine = entry;
    else if (header != lines.end())
        lines.insert(header + 1, entry);
    else
        lines.insert(lines.end(), {kSectionHeader, entry});
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        for (const std::string& line : lines)
            out << line << '\n';
        if (!out)
        {
            out.close();
            std::filesystem::remove(temporary, error);
            return;
        }
    }
    std::filesystem::rename(temporary, path, error);
}
