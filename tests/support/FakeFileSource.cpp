#include "support/FakeFileSource.h"

void FakeFileSource::Add(const std::string& name, std::vector<std::uint8_t> bytes)
{
    m_files[name] = std::move(bytes);
}

void FakeFileSource::Add(const std::string& name, std::string_view bytes)
{
    Add(name, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

std::optional<std::vector<std::uint8_t>> FakeFileSource::Read(const std::string& name)
{
    ++m_reads[name];
    const auto found = m_files.find(name);
    if (found == m_files.end())
        return std::nullopt;
    return found->second;
}

int FakeFileSource::ReadCount(const std::string& name) const
{
    const auto found = m_reads.find(name);
    return found == m_reads.end() ? 0 : found->second;
}
