#include "archive/ArchiveFileSource.h"

#include "support/ArchiveBytes.h"

#include <gtest/gtest.h>

namespace
{

std::shared_ptr<const Archive> MakeArchive(const std::vector<ArchiveEntry>& entries)
{
    Archive::OpenResult result = Archive::FromBytes(LzhArchive(entries));
    EXPECT_EQ(result.error, ArchiveError::None);
    return std::move(result.archive);
}

} // namespace

TEST(ArchiveFileSourceTest, FindsNamesBesideTheConfigurationThenByUniqueBaseName)
{
    const auto archive = MakeArchive({
        {"set/doll.cnf", Bytes("")},
        {"set/BODY.CEL", Bytes("folder upper")},
        {"set/body.cel", Bytes("folder exact")},
        {"set/Face.cel", Bytes("folder face")},
        {"cels/arm.cel", Bytes("stray arm")},
        {"a/leg.cel", Bytes("leg a")},
        {"b/leg.cel", Bytes("leg b")},
        {"x/HAT.CEL", Bytes("stray hat")},
        {"set/Hand.cel", Bytes("hand mixed")},
        {"set/HAND.CEL", Bytes("hand upper")},
        {"set/dup.cel", Bytes("first dup")},
        {"set/dup.cel", Bytes("second dup")},
    });
    ArchiveFileSource files(archive, "set");
    const struct
    {
        std::string name;
        std::optional<std::string> expected;
    } cases[] = {
        {"body.cel", "folder exact"}, {"BODY.CEL", "folder upper"}, {"FACE.CEL", "folder face"},
        {"arm.cel", "stray arm"},     {"hat.cel", "stray hat"},     {"leg.cel", std::nullopt},
        {"none.cel", std::nullopt},   {"", std::nullopt},           {"hand.cel", "hand upper"},
        {"dup.cel", "first dup"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const auto bytes = files.Read(c.name);
        ASSERT_EQ(bytes.has_value(), c.expected.has_value());
        if (bytes)
        {
            EXPECT_EQ(std::string(bytes->begin(), bytes->end()), *c.expected);
        }
    }
}

TEST(ArchiveFileSourceTest, AddOnLayerComesFirst)
{
    auto base = std::make_shared<ArchiveFileSource>(
        MakeArchive({{"body.cel", Bytes("base body")}, {"face.cel", Bytes("base face")}}), "");
    auto addOn =
        std::make_shared<ArchiveFileSource>(MakeArchive({{"face.cel", Bytes("add-on face")}}), "");
    LayeredFileSource files(addOn, base);
    EXPECT_EQ(files.Read("face.cel"), Bytes("add-on face"));
    EXPECT_EQ(files.Read("body.cel"), Bytes("base body"));
    EXPECT_FALSE(files.Read("hat.cel"));
}

TEST(ArchiveFileSourceTest, MemberPathsSurviveTheRoundTrip)
{
    const std::string member = "dir/\x83\x5C%|x.cnf";
    const std::string path = ArchiveMemberPath("/home/u/sets/doll.lzh", member);
    EXPECT_EQ(path.find_first_of("\x83\x5C"), path.find('\\'));
    const auto split = SplitArchiveMemberPath(path);
    ASSERT_TRUE(split);
    EXPECT_EQ(split->first, "/home/u/sets/doll.lzh");
    EXPECT_EQ(split->second, member);
    EXPECT_FALSE(SplitArchiveMemberPath("/home/u/sets/doll.cnf"));
    EXPECT_FALSE(SplitArchiveMemberPath("/home/u/a|b/doll.cnf"));
    EXPECT_FALSE(SplitArchiveMemberPath("/home/u/doll.lzh|bad%4"));
}

TEST(ArchiveFileSourceTest, ChoosesConfigurationsAndTheirHints)
{
    const std::vector<std::string> configs{"ONE.CNF", "b/Two.cnf", "c/one.cnf"};
    EXPECT_EQ(MatchConfiguration(configs, "one.cnf"), "ONE.CNF");
    EXPECT_EQ(MatchConfiguration(configs, "two.CNF"), "b/Two.cnf");
    EXPECT_EQ(MatchConfiguration(configs, "C/ONE.CNF"), "c/one.cnf");
    EXPECT_FALSE(MatchConfiguration(configs, "three.cnf"));

    EXPECT_EQ(FirstCommentLine(Bytes("(640,480)\r\n;  \x82\xa0 doll \r\n; second\r\n")),
              "\x82\xa0 doll");
    EXPECT_EQ(FirstCommentLine(Bytes("%a.kcf\r\n\x1a; after the end\r\n")), "");
}
