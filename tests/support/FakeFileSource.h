#pragma once

#include "scene/FileSource.h"

#include <map>
#include <string>
#include <string_view>

/// Files served from memory under their exact names; counts how often each name was read.
class FakeFileSource : public FileSource
{
public:
    void Add(const std::string& name, std::vector<std::uint8_t> bytes);
    void Add(const std::string& name, std::string_view bytes);
    std::optional<std::vector<std::uint8_t>> Read(const std::string& name) override;
    /// Reads of name so far, failed ones included.
    int ReadCount(const std::string& name) const;

private:
    std::map<std::string, std::vector<std::uint8_t>> m_files;
    std::map<std::string, int> m_reads;
};
