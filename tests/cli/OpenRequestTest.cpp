#include "cli/OpenRequest.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

std::vector<std::uint8_t> Raw(std::string_view text)
{
    return {text.begin(), text.end()};
}

OpenRequestReader::State ReadAll(std::string_view bytes, std::string* path = nullptr)
{
    OpenRequestReader reader;
    reader.Feed(Raw(bytes));
    if (path)
        *path = reader.Path();
    return reader.GetState();
}

std::string Length(std::uint32_t value)
{
    return {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
            static_cast<char>(value >> 24)};
}

} // namespace

TEST(OpenRequestTest, OnlyWellFormedOpenRequestsCount)
{
    EXPECT_EQ(ParseOpenRequest("[open(\"/sets/a b/KISS.CNF\")]"), "/sets/a b/KISS.CNF");
    EXPECT_FALSE(ParseOpenRequest("[open(\"\")]"));
    EXPECT_FALSE(ParseOpenRequest("[open(/x.cnf)]"));
    EXPECT_FALSE(ParseOpenRequest("[print(\"/x.cnf\")]"));
    EXPECT_FALSE(ParseOpenRequest("[open(\"/x.cnf\")] "));
    EXPECT_FALSE(ParseOpenRequest("[open(\"/a\")][open(\"/b\")]"));
    EXPECT_FALSE(ParseOpenRequest(std::string_view("[open(\"/a\0b\")]", 14)));
    EXPECT_FALSE(ParseOpenRequest(""));
}

TEST(OpenRequestTest, FramesArriveInAnyPiecesAndComeOutWhole)
{
    const std::string frame = FrameOpenRequest("/sets/ü/KISS.CNF");
    std::string path;
    EXPECT_EQ(ReadAll(frame, &path), OpenRequestReader::State::Complete);
    EXPECT_EQ(path, "/sets/ü/KISS.CNF");

    OpenRequestReader reader;
    for (std::size_t i = 0; i + 1 < frame.size(); ++i)
        EXPECT_EQ(reader.Feed(Raw(frame.substr(i, 1))), OpenRequestReader::State::Incomplete);
    EXPECT_EQ(reader.Feed(Raw(frame.substr(frame.size() - 1))), OpenRequestReader::State::Complete);
    EXPECT_EQ(reader.Path(), "/sets/ü/KISS.CNF");
    EXPECT_EQ(reader.Feed(Raw("x")), OpenRequestReader::State::Malformed);
}

TEST(OpenRequestTest, LengthsOutOfBoundsAndStrayBytesAreDroppedUnread)
{
    // What an attacker sends: a huge length and nothing after it must cost nothing.
    EXPECT_EQ(ReadAll(Length(0xFFFFFFFF) + "[open("), OpenRequestReader::State::Malformed);
    EXPECT_EQ(ReadAll(Length(kMaxOpenRequest + 1)), OpenRequestReader::State::Malformed);
    EXPECT_EQ(ReadAll(Length(0)), OpenRequestReader::State::Malformed);
    EXPECT_EQ(ReadAll(Length(3) + "abc"), OpenRequestReader::State::Malformed);
    EXPECT_EQ(ReadAll(FrameOpenRequest("/a.cnf") + "more"), OpenRequestReader::State::Malformed);
    EXPECT_EQ(ReadAll(Length(100) + "[open(\"/a.cnf\")]"), OpenRequestReader::State::Incomplete);

    const std::string longest(kMaxOpenRequest - 10, 'a');
    EXPECT_EQ(ReadAll(FrameOpenRequest("/" + longest.substr(1))),
              OpenRequestReader::State::Complete);
    EXPECT_EQ(ReadAll(FrameOpenRequest("/" + longest)), OpenRequestReader::State::Malformed);
}
