#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// A fresh folder under the system's temporary directory, removed with everything in it on
/// destruction. Restores the current directory, which opening a document changes.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    /// Path of name inside the folder.
    std::string File(std::string_view name) const;
    /// Writes bytes to name inside the folder and returns its path.
    std::string Write(std::string_view name, std::string_view bytes) const;
    std::string Write(std::string_view name, const std::vector<std::uint8_t>& bytes) const;
    /// The whole contents of name inside the folder (empty when missing).
    std::string Read(std::string_view name) const;

private:
    std::string m_path;
    std::string m_previousDirectory;
};
