#include "cli/OpenRequest.h"

#include <algorithm>

namespace
{
constexpr std::string_view kStart = "[open(\"";
constexpr std::string_view kEnd = "\")]";
constexpr std::size_t kLengthBytes = 4;
} // namespace

std::string FrameOpenRequest(std::string_view path)
{
    const std::string text = std::string(kStart) + std::string(path) + std::string(kEnd);
    std::string frame;
    for (std::size_t i = 0; i < kLengthBytes; ++i)
        frame += static_cast<char>((text.size() >> (8 * i)) & 0xFF);
    return frame + text;
}

std::optional<std::string> ParseOpenRequest(std::string_view text)
{
    if (text.size() <= kStart.size() + kEnd.size() || !text.starts_with(kStart) ||
        !text.ends_with(kEnd))
        return std::nullopt;
    const std::string_view path = text.substr(kStart.size(), text.size() - kStart.size() - kEnd.size());
    if (path.find('"') != std::string_view::npos || path.find('\0') != std::string_view::npos)
        return std::nullopt;
    return std::string(path);
}

OpenRequestReader::State OpenRequestReader::Feed(std::span<const std::uint8_t> bytes)
{
    // Nothing may follow a request: the one answer is owed to the one request.
    if (m_state == State::Complete && !bytes.empty())
        m_state = State::Malformed;
    std::size_t i = 0;
    while (i < bytes.size() && m_state == State::Incomplete)
    {
        if (m_lengthBytes < kLengthBytes)
        {
            m_length |= std::uint32_t{bytes[i++]} << (8 * m_lengthBytes++);
            if (m_lengthBytes == kLengthBytes && (m_length == 0 || m_length > kMaxOpenRequest))
                m_state = State::Malformed;
            continue;
        }
        const std::size_t take = std::min<std::size_t>(bytes.size() - i, m_length - m_text.size());
        m_text.append(reinterpret_cast<const char*>(bytes.data() + i), take);
        i += take;
        if (m_text.size() < m_length)
            continue;
        std::optional<std::string> path = ParseOpenRequest(m_text);
        if (!path || i != bytes.size())
        {
            m_state = State::Malformed;
            continue;
        }
        m_path = std::move(*path);
        m_state = State::Complete;
    }
    return m_state;
}
