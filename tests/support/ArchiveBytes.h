#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// One file for an archive built in a test. Names may hold "/" folders and any bytes.
struct ArchiveEntry
{
    std::string name;
    std::vector<std::uint8_t> data;
};

struct LzhOptions
{
    int level = 1;                 ///< header level 0, 1 or 2
    std::string method = "-lh5-";  ///< "-lh0-" stored, "-lh5-"/"-lh6-"/"-lh7-", "-lz5-", "-lzs-"
    std::uint8_t attribute = 0x20; ///< byte 19 of the header
    bool headerCrc = false;        ///< levels 1 and 2: an extended header with the header's CRC
};

/// An LZH archive of entries, each with options. Compressed methods use the simplest valid
/// streams (single-code blocks, or literal-only), so what they exercise is the reader.
std::vector<std::uint8_t> LzhArchive(const std::vector<ArchiveEntry>& entries,
                                     const LzhOptions& options = {});

enum class ZipMethod
{
    Stored,
    Deflated,
    Encrypted,
};

std::vector<std::uint8_t> ZipArchive(const std::vector<ArchiveEntry>& entries,
                                     ZipMethod method = ZipMethod::Deflated);

/// A deflated ZIP as a writer to a pipe leaves it: every size only in a data descriptor after
/// the member's data, and the central directory cut off, so nothing states a size up front.
std::vector<std::uint8_t> StreamedZipArchive(const std::vector<ArchiveEntry>& entries);

std::vector<std::uint8_t> Bytes(const std::string& text);

/// Writes bytes to path; fails the test when it cannot.
void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
