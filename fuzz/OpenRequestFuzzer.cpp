// Feeds arbitrary bytes to the shell-open request reader as a socket would deliver them. The
// first byte sets the size of the pieces (0: all at once); the rest is the stream.
#include "cli/OpenRequest.h"

#include <algorithm>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t piece = data[0] == 0 ? size : data[0];
    const std::span<const std::uint8_t> stream(data + 1, size - 1);
    OpenRequestReader reader;
    for (std::size_t at = 0; at < stream.size(); at += piece)
        reader.Feed(stream.subspan(at, std::min(piece, stream.size() - at)));
    if (reader.GetState() != OpenRequestReader::State::Complete)
        return 0;
    // A request taken is exactly one well-formed frame, and framing its path gives it back.
    const std::string& path = reader.Path();
    const std::string frame = FrameOpenRequest(path);
    if (path.empty() || frame.size() != stream.size() || frame.size() - 4 > kMaxOpenRequest ||
        !std::equal(frame.begin(), frame.end(), stream.begin(),
                    [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }))
        std::abort();
    return 0;
}
