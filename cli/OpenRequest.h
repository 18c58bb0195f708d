#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

/// The shell-open protocol between two viewers of one user: a request is a 32-bit
/// little-endian length and that many bytes of UTF-8 text, [open("PATH")]; the viewer answers
/// one byte, kOpenAccepted, before it opens the file.

/// The longest request text taken; anything longer is dropped before it is read.
constexpr std::size_t kMaxOpenRequest = 64 * 1024;
constexpr std::uint8_t kOpenAccepted = 'Y';

/// The framed request that asks a running viewer to open path (UTF-8).
std::string FrameOpenRequest(std::string_view path);

/// The path of request text of the exact form [open("PATH")]; nothing for anything else.
std::optional<std::string> ParseOpenRequest(std::string_view text);

/// Takes one framed request in pieces as they arrive from a socket, never holding more than
/// the length field allows and kMaxOpenRequest bounds.
class OpenRequestReader
{
public:
    enum class State
    {
        Incomplete, ///< more bytes are due
        Complete,   ///< a well-formed request: Path() holds its file
        Malformed,  ///< a length out of bounds, text that is no open request, or bytes after it
    };

    State Feed(std::span<const std::uint8_t> bytes);
    State GetState() const { return m_state; }
    const std::string& Path() const { return m_path; }

private:
    State m_state = State::Incomplete;
    std::uint32_t m_length = 0;
    std::size_t m_lengthBytes = 0;
    std::string m_text;
    std::string m_path;
};
