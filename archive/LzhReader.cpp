#include "archive/Archive.h"

#include "archive/LzhStoredFolders.h"

extern "C"
{
#include <lhasa.h>
}

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string_view>
#include <thread>

namespace
{

/// The archive bytes as a stream the library reads from, remembering how far it got.
struct MemoryStream
{
    std::span<const std::uint8_t> bytes;
    std::size_t position = 0;

    static int Read(void* handle, void* buffer, std::size_t length)
    {
        auto* self = static_cast<MemoryStream*>(handle);
        const std::size_t count = std::min(length, self->bytes.size() - self->position);
        std::memcpy(buffer, self->bytes.data() + self->position, count);
        self->position += count;
        return static_cast<int>(count);
    }

    static int Skip(void* handle, std::size_t length)
    {
        auto* self = static_cast<MemoryStream*>(handle);
        if (length > self->bytes.size() - self->position)
            return 0;
        self->position += length;
        return 1;
    }

    static void Close(void*) {}
};

/// Owns the library's reader over one pass of the archive.
class LhaPass
{
public:
    explicit LhaPass(std::span<const std::uint8_t> bytes) : m_stream{bytes}
    {
        static const LHAInputStreamType type{&MemoryStream::Read, &MemoryStream::Skip,
                                             &MemoryStream::Close};
        m_input = lha_input_stream_new(&type, &m_stream);
        if (m_input)
            m_reader = lha_reader_new(m_input);
        // Directories are only names to us; the library must not hold them back for later.
        if (m_reader)
            lha_reader_set_dir_policy(m_reader, LHA_READER_DIR_PLAIN);
    }
    ~LhaPass()
    {
        if (m_reader)
            lha_reader_free(m_reader);
        if (m_input)
            lha_input_stream_free(m_input);
    }
    LhaPass(const LhaPass&) = delete;
    LhaPass& operator=(const LhaPass&) = delete;

    LHAReader* Reader() const { return m_reader; }
    const MemoryStream& Stream() const { return m_stream; }

private:
    MemoryStream m_stream;
    LHAInputStream* m_input = nullptr;
    LHAReader* m_reader = nullptr;
};

bool IsDirectory(const LHAFileHeader& header)
{
    return std::strcmp(header.compress_method, LHA_COMPRESS_TYPE_DIR) == 0 &&
           header.symlink_target == nullptr;
}

bool IsShiftJisLead(std::uint8_t byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

/// Folder separators to "/": 0xFF always, a backslash only where it is not the second byte of
/// a Shift-JIS character. A separator in front stays, so a name from the root reads as absolute.
std::string NormaliseSeparators(std::string_view raw, bool backslashes)
{
    std::string name;
    for (std::size_t i = 0; i < raw.size(); ++i)
    {
        const auto byte = static_cast<std::uint8_t>(raw[i]);
        if (IsShiftJisLead(byte) && i + 1 < raw.size())
        {
            name += raw.substr(i, 2);
            ++i;
        }
        else if (byte == 0xFF || (backslashes && byte == '\\'))
        {
            if (name.empty() || name.back() != '/')
                name += '/';
        }
        else
        {
            name += raw[i];
        }
    }
    return name;
}

/// The name exactly as the header stores it. The library's own names are cooked for display
/// (all-capital MS-DOS names lowered, backslashes inside Shift-JIS characters taken for
/// folders), so the raw header is read again; nothing when it is not a level 0 to 2 header.
std::optional<std::string> StoredName(const LHAFileHeader& header)
{
    const std::uint8_t* raw = header.raw_data;
    const std::size_t size = header.raw_data_len;
    if (!raw || size < 26 || header.header_level > 2)
        return std::nullopt;
    const auto view = [raw](std::size_t at, std::size_t length)
    { return std::string_view(reinterpret_cast<const char*>(raw) + at, length); };
    std::string file;
    std::string folder;
    std::size_t next = 0;
    if (header.header_level < 2)
    {
        const std::size_t length = raw[21];
        if (22 + length > size)
            return std::nullopt;
        file = NormaliseSeparators(view(22, length), header.header_level == 0);
        next = std::size_t{raw[0]} + 2;
    }
    else
    {
        next = 26;
    }
    if (header.header_level == 0)
        return file;
    // Extended headers: [type][data][size of the next one], the first size just before.
    for (;;)
    {
        if (next < 2 || next > size)
            return std::nullopt;
        const std::size_t length = std::size_t{raw[next - 2]} | std::size_t{raw[next - 1]} << 8;
        if (length == 0)
            break;
        if (length < 3 || next + length > size)
            return std::nullopt;
        const std::uint8_t type = raw[next];
        if (type == 0x01)
            file = std::string(view(next + 1, length - 3));
        else if (type == 0x02)
            folder = NormaliseSeparators(view(next + 1, length - 3), false);
        next += length;
    }
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder + file;
}

std::string MemberName(const LHAFileHeader& header)
{
    if (auto stored = StoredName(header))
        return *stored;
    std::string name;
    if (header.path)
        name = header.path;
    if (header.filename)
        name += header.filename;
    return name;
}

/// A member's compressed bytes as the decoder's input.
struct DataSource
{
    std::span<const std::uint8_t> bytes;

    static std::size_t Read(void* buffer, std::size_t length, void* handle)
    {
        auto* self = static_cast<DataSource*>(handle);
        const std::size_t count = std::min(length, self->bytes.size());
        std::memcpy(buffer, self->bytes.data(), count);
        self->bytes = self->bytes.subspan(count);
        return count;
    }
};

/// Where a member's header and data lie, noted in the one pass over the headers.
struct MemberEntry
{
    std::string name;
    bool link = false;
    char method[6] = {};
    std::size_t length = 0;
    std::uint16_t crc = 0;
    std::span<const std::uint8_t> data;
};

/// Decodes one member straight from the archive bytes; the decoder keeps the CRC as it goes.
std::optional<std::vector<std::uint8_t>> Decompress(MemberEntry& entry, std::uint64_t limit)
{
    if (entry.length > limit)
        return std::nullopt;
    LHADecoderType* type = lha_decoder_for_name(entry.method);
    if (!type)
        return std::nullopt;
    DataSource source{entry.data};
    LHADecoder* decoder = lha_decoder_new(type, &DataSource::Read, &source, entry.length);
    if (!decoder)
        return std::nullopt;
    // Grown as the data comes rather than sized from the header: a damaged header that claims
    // a large file costs only what really decodes.
    constexpr std::size_t kChunk = 256 * 1024;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(std::min(entry.length, kChunk));
    while (bytes.size() < entry.length)
    {
        const std::size_t filled = bytes.size();
        bytes.resize(filled + std::min(kChunk, entry.length - filled));
        const std::size_t got =
            lha_decoder_read(decoder, bytes.data() + filled, bytes.size() - filled);
        bytes.resize(filled + got);
        if (got == 0)
            break;
    }
    const bool good = bytes.size() == entry.length && lha_decoder_get_crc(decoder) == entry.crc;
    lha_decoder_free(decoder);
    if (!good)
        return std::nullopt;
    return bytes;
}

} // namespace

ArchiveError ReadLzhMembers(std::span<const std::uint8_t> bytes, const ArchiveLimits& limits,
                            std::vector<ArchiveMember>& members)
{
    // One pass over the headers notes where every member's data lies, so that an archive too
    // large to unpack is refused before any member is allocated.
    std::vector<MemberEntry> entries;
    std::uint64_t total = 0;
    std::size_t headers = 0;
    // liblhasa refuses a folder header that carries data unless its name has a folder part,
    // and ends the archive there. Such a header is made to say "stored" in a copy of the
    // archive, and the reading goes on from it.
    std::vector<std::uint8_t> amended;
    std::span<const std::uint8_t> archive = bytes;
    for (std::size_t passStart = 0;;)
    {
        LhaPass pass(archive.subspan(passStart));
        if (!pass.Reader())
            return ArchiveError::Corrupt;
        std::size_t next = passStart;
        while (const LHAFileHeader* header = lha_reader_next_file(pass.Reader()))
        {
            ++headers;
            // The reader stops right after the header: the data follows.
            const std::size_t start = passStart + pass.Stream().position;
            const std::size_t stored = std::min(header->compressed_length, archive.size() - start);
            next = start + stored;
            const bool carriesData = header->length != 0 || header->compressed_length != 0;
            if ((IsDirectory(*header) && !carriesData) || lha_reader_current_is_fake(pass.Reader()))
                continue;
            MemberEntry entry;
            entry.name = WithoutTrailingSeparators(MemberName(*header));
            if (entry.name.empty())
                continue;
            entry.link = header->symlink_target != nullptr;
            std::memcpy(entry.method, IsDirectory(*header) ? "-lh0-" : header->compress_method,
                        sizeof entry.method);
            entry.method[sizeof entry.method - 1] = '\0';
            entry.length = header->length;
            entry.crc = header->crc;
            entry.data = archive.subspan(start, stored);
            if (!entry.link && entry.length <= limits.member)
                total += entry.length;
            entries.push_back(std::move(entry));
        }
        // The reader ends at the end of the archive and at a header that it refuses alike.
        if (!IsStoredFolderHeader(archive, next))
            break;
        if (amended.empty())
        {
            amended.assign(bytes.begin(), bytes.end());
            archive = amended;
        }
        if (!MarkStored(amended, next))
            break;
        passStart = next;
    }
    if (total > limits.total)
        return ArchiveError::TooLarge;
    if (headers == 0)
        return ArchiveError::Corrupt;

    // Members decode independently of each other, so the other cores share the work: decoding
    // is most of what opening an archived set costs.
    std::vector<std::optional<std::vector<std::uint8_t>>> decoded(entries.size());
    // Largest first, so that no core is left with a big member at the end.
    std::vector<std::size_t> order(entries.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return entries[a].length > entries[b].length; });
    std::atomic<std::size_t> next{0};
    const auto work = [&]
    {
        for (std::size_t n; (n = next.fetch_add(1)) < order.size();)
        {
            const std::size_t i = order[n];
            if (!entries[i].link)
                decoded[i] = Decompress(entries[i], limits.member);
        }
    };
    constexpr std::uint64_t kWorthAThread = 256 * 1024;
    const unsigned helpers =
        total < kWorthAThread ? 0u : std::clamp(std::thread::hardware_concurrency(), 1u, 4u) - 1u;
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < helpers && t + 1 < entries.size(); ++t)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();

    members.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
    {
        ArchiveMember member;
        member.name = std::move(entries[i].name);
        member.link = entries[i].link;
        member.bytes = std::move(decoded[i]);
        members.push_back(std::move(member));
    }
    return ArchiveError::None;
}
