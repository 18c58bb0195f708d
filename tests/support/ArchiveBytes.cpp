#include "ArchiveBytes.h"

#include "archive/LzhCrc.h"

#include <archive.h>
#include <archive_entry.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace
{

void Put16(std::vector<std::uint8_t>& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

class BitWriter
{
public:
    void Put(unsigned value, int bits)
    {
        for (int i = bits - 1; i >= 0; --i)
        {
            m_current = static_cast<std::uint8_t>((m_current << 1) | ((value >> i) & 1));
            if (++m_used == 8)
                Flush();
        }
    }
    std::vector<std::uint8_t> Finish()
    {
        while (m_used != 0)
            Put(0, 1);
        return std::move(m_bytes);
    }

private:
    void Flush()
    {
        m_bytes.push_back(m_current);
        m_current = 0;
        m_used = 0;
    }
    std::vector<std::uint8_t> m_bytes;
    std::uint8_t m_current = 0;
    int m_used = 0;
};

/// Each run of one byte becomes a block whose every tree is a single code, so each byte costs
/// no bits at all.
std::vector<std::uint8_t> EncodeLhRuns(const std::vector<std::uint8_t>& data, int positionBits)
{
    BitWriter out;
    std::size_t i = 0;
    while (i < data.size())
    {
        std::size_t run = 1;
        while (i + run < data.size() && data[i + run] == data[i] && run < 0xFFFF)
            ++run;
        out.Put(static_cast<unsigned>(run), 16);
        out.Put(0, 5);
        out.Put(0, 5);
        out.Put(0, 9);
        out.Put(data[i], 9);
        out.Put(0, positionBits);
        out.Put(0, positionBits);
        i += run;
    }
    return out.Finish();
}

/// Every byte a literal: a flag byte of eight ones before each eight bytes.
std::vector<std::uint8_t> EncodeLz5Literals(const std::vector<std::uint8_t>& data)
{
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < data.size(); ++i)
    {
        if (i % 8 == 0)
            out.push_back(0xFF);
        out.push_back(data[i]);
    }
    return out;
}

/// Every byte a literal: a one bit, then the byte.
std::vector<std::uint8_t> EncodeLzsLiterals(const std::vector<std::uint8_t>& data)
{
    BitWriter out;
    for (const std::uint8_t byte : data)
    {
        out.Put(1, 1);
        out.Put(byte, 8);
    }
    return out.Finish();
}

std::vector<std::uint8_t> Encode(const std::string& method, const std::vector<std::uint8_t>& data)
{
    if (method == "-lh5-")
        return EncodeLhRuns(data, 4);
    if (method == "-lh6-" || method == "-lh7-")
        return EncodeLhRuns(data, 5);
    if (method == "-lz5-")
        return EncodeLz5Literals(data);
    if (method == "-lzs-")
        return EncodeLzsLiterals(data);
    return data;
}

std::vector<std::uint8_t> ExtendedHeader(std::uint8_t type, const std::string& data)
{
    std::vector<std::uint8_t> out{type};
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::string LzhFolder(const std::string& folder)
{
    std::string out = folder;
    for (char& c : out)
    {
        if (c == '/')
            c = '\xFF';
    }
    return out + '\xFF';
}

void AppendLzhEntry(std::vector<std::uint8_t>& out, const ArchiveEntry& entry,
                    const LzhOptions& options)
{
    const std::vector<std::uint8_t> packed = Encode(options.method, entry.data);
    const auto slash = entry.name.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : entry.name.substr(0, slash);
    const std::string base = slash == std::string::npos ? entry.name : entry.name.substr(slash + 1);

    std::vector<std::vector<std::uint8_t>> extended;
    if (options.headerCrc && options.level >= 1)
        extended.push_back(ExtendedHeader(0x00, std::string(2, '\0')));
    if (options.level == 2)
        extended.push_back(ExtendedHeader(0x01, base));
    if (options.level >= 1 && !folder.empty())
        extended.push_back(ExtendedHeader(0x02, LzhFolder(folder)));
    std::size_t extendedSize = 0;
    for (const auto& header : extended)
        extendedSize += header.size() + 2;

    std::vector<std::uint8_t> header;
    header.insert(header.end(), options.method.begin(), options.method.end());
    const std::size_t storedSize = packed.size() + (options.level == 1 ? extendedSize : 0);
    Put32(header, static_cast<std::uint32_t>(storedSize));
    Put32(header, static_cast<std::uint32_t>(entry.data.size()));
    Put32(header, 0x21000000u);
    header.push_back(options.attribute);
    header.push_back(static_cast<std::uint8_t>(options.level));
    if (options.level < 2)
    {
        const std::string name = options.level == 0 ? entry.name : base;
        header.push_back(static_cast<std::uint8_t>(name.size()));
        header.insert(header.end(), name.begin(), name.end());
    }
    Put16(header, LzhCrc16(entry.data));
    std::size_t crcAt = 0;
    if (options.level >= 1)
    {
        header.push_back('M');
        for (const auto& ext : extended)
        {
            Put16(header, static_cast<unsigned>(ext.size() + 2));
            if (ext[0] == 0x00)
                crcAt = header.size() + 1;
            header.insert(header.end(), ext.begin(), ext.end());
        }
        Put16(header, 0);
    }

    if (options.level == 2)
    {
        Put16(out, static_cast<unsigned>(header.size() + 2));
    }
    else
    {
        const std::size_t baseSize =
            options.level == 0 ? header.size() : header.size() - extendedSize;
        unsigned sum = 0;
        for (std::size_t i = 0; i < baseSize; ++i)
            sum += header[i];
        out.push_back(static_cast<std::uint8_t>(baseSize));
        out.push_back(static_cast<std::uint8_t>(sum));
    }
    const std::size_t start = out.size() - 2;
    out.insert(out.end(), header.begin(), header.end());
    if (crcAt != 0)
    {
        // The CRC of the whole header, taken with its own two bytes still 0.
        const std::uint16_t crc =
            LzhCrc16(std::span(out).subspan(start));
        out[start + 2 + crcAt] = static_cast<std::uint8_t>(crc);
        out[start + 2 + crcAt + 1] = static_cast<std::uint8_t>(crc >> 8);
    }
    out.insert(out.end(), packed.begin(), packed.end());
}

/// sized false leaves every size unstated, so the writer puts it after the data.
std::vector<std::uint8_t> WriteZip(const std::vector<ArchiveEntry>& entries, ZipMethod method,
                                   bool sized)
{
    std::size_t room = 1 << 20;
    for (const ArchiveEntry& entry : entries)
        room += entry.name.size() + entry.data.size() + 256;
    std::vector<std::uint8_t> buffer(room);
    std::size_t used = 0;
    archive* writer = archive_write_new();
    archive_write_set_format_zip(writer);
    archive_write_set_format_option(writer, "zip", "compression",
                                    method == ZipMethod::Stored ? "store" : "deflate");
    if (method == ZipMethod::Encrypted)
    {
        archive_write_set_format_option(writer, "zip", "encryption", "zipcrypt");
        archive_write_set_passphrase(writer, "secret");
    }
    EXPECT_EQ(archive_write_open_memory(writer, buffer.data(), buffer.size(), &used), ARCHIVE_OK);
    for (const ArchiveEntry& entry : entries)
    {
        archive_entry* header = archive_entry_new();
        archive_entry_copy_pathname(header, entry.name.c_str());
        archive_entry_set_filetype(header, AE_IFREG);
        archive_entry_set_perm(header, 0644);
        if (sized)
            archive_entry_set_size(header, static_cast<la_int64_t>(entry.data.size()));
        EXPECT_EQ(archive_write_header(writer, header), ARCHIVE_OK) << archive_error_string(writer);
        archive_write_data(writer, entry.data.data(), entry.data.size());
        archive_entry_free(header);
    }
    archive_write_close(writer);
    archive_write_free(writer);
    buffer.resize(used);
    return buffer;
}

} // namespace

std::vector<std::uint8_t> LzhArchive(const std::vector<ArchiveEntry>& entries,
                                     const LzhOptions& options)
{
    std::vector<std::uint8_t> out;
    for (const ArchiveEntry& entry : entries)
        AppendLzhEntry(out, entry, options);
    out.push_back(0);
    return out;
}

std::vector<std::uint8_t> ZipArchive(const std::vector<ArchiveEntry>& entries, ZipMethod method)
{
    return WriteZip(entries, method, true);
}

std::vector<std::uint8_t> StreamedZipArchive(const std::vector<ArchiveEntry>& entries)
{
    std::vector<std::uint8_t> bytes = WriteZip(entries, ZipMethod::Deflated, false);
    const std::uint8_t central[] = {'P', 'K', 1, 2};
    bytes.erase(std::search(bytes.begin(), bytes.end(), std::begin(central), std::end(central)),
                bytes.end());
    return bytes;
}

std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}
