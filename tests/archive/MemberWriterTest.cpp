#include "archive/MemberWriter.h"

#include "support/ArchiveBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{

std::shared_ptr<const Archive> OpenLzh(const std::vector<ArchiveEntry>& entries,
                                       const LzhOptions& options = {})
{
    Archive::OpenResult opened = Archive::FromBytes(LzhArchive(entries, options));
    EXPECT_TRUE(opened.archive);
    return std::move(opened.archive);
}

} // namespace

TEST(MemberWriterTest, RefusesPathsThatLeaveTheFolderOrNameDevices)
{
    for (const char* safe :
         {"a.cel", "sub/b.cel", "\x83\x5C.cel", "cone/x.cel", "console.cel", "com10.cel"})
        EXPECT_TRUE(IsSafeMemberPath(safe)) << safe;
    for (const char* unsafe : {"", "/etc/passwd", "../up.cel", "a/../../b", "./a", "a//b",
                               "C:/x.cel", "c:x.cel", "CON", "nul.cel", "sub/Lpt1.txt", "COM9"})
        EXPECT_FALSE(IsSafeMemberPath(unsafe)) << unsafe;
}

TEST(MemberWriterTest, WritesWhatTheFolderLacksAndNothingElse)
{
    const std::shared_ptr<const Archive> archive = OpenLzh({
        {"set/doll.cnf", Bytes("archive config")},
        {"set/body.cel", Bytes("body")},
        {"set/parts/arm.cel", Bytes("arm")},
        {"set/kept.cel", Bytes("from archive")},
        {"stray/face.cel", Bytes("face")},
        {"stray/unused.cel", Bytes("unused")},
        {"set/../evil.cel", Bytes("evil")},
    });
    ASSERT_TRUE(archive);
    TempDir dir;
    dir.Write("kept.cel", "already here");
    dir.Write("doll.cnf", "saved config");

    const MemberWriteReport report = WriteArchiveMembers(
        archive, "set/doll.cnf", {"body.cel", "face.cel", "gone.cel"}, dir.Path());
    EXPECT_EQ(report.refused, std::vector<std::string>{"set/../evil.cel"});
    EXPECT_TRUE(report.failed.empty());
    EXPECT_EQ(dir.Read("doll.cnf"), "saved config");
    EXPECT_EQ(dir.Read("kept.cel"), "already here");
    EXPECT_EQ(dir.Read("body.cel"), "body");
    EXPECT_EQ(dir.Read("parts/arm.cel"), "arm");
    EXPECT_EQ(dir.Read("face.cel"), "face");
    EXPECT_FALSE(std::filesystem::exists(dir.File("unused.cel")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("../evil.cel")));
}

TEST(MemberWriterTest, NamesFromTheRootAreRefusedAsAbsolute)
{
    // Level 0 keeps MS-DOS backslashes; a leading one is the root, as "/" is.
    const std::shared_ptr<const Archive> archive =
        OpenLzh({{"doll.cnf", Bytes(";")}, {"\\tmp\\x\\A.cel", Bytes("a")}, {"\\B.cel", Bytes("b")}},
                {0, "-lh0-", 0x20});
    ASSERT_TRUE(archive);
    EXPECT_TRUE(archive->Find("/tmp/x/A.cel"));
    TempDir dir;
    const MemberWriteReport report = WriteArchiveMembers(archive, "doll.cnf", {}, dir.Path());
    EXPECT_EQ(report.refused, (std::vector<std::string>{"/tmp/x/A.cel", "/B.cel"}));
    EXPECT_FALSE(std::filesystem::exists(dir.File("tmp")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("B.cel")));
}

TEST(MemberWriterTest, NeverWritesThroughALinkBelowTheFolder)
{
    const std::shared_ptr<const Archive> archive = OpenLzh({
        {"set/doll.cnf", Bytes(";")},
        {"set/parts/arm.cel", Bytes("arm")},
        {"set/deep/inner/leg.cel", Bytes("leg")},
        {"set/body.cel", Bytes("body")},
    });
    ASSERT_TRUE(archive);
    TempDir elsewhere;
    TempDir dir;
    std::filesystem::create_symlink(elsewhere.Path(), dir.File("parts"));
    std::filesystem::create_directory(dir.File("deep"));
    std::filesystem::create_directory_symlink(elsewhere.Path(), dir.File("deep/inner"));

    const MemberWriteReport report = WriteArchiveMembers(archive, "set/doll.cnf", {}, dir.Path());
    ASSERT_EQ(report.failed.size(), 2u);
    EXPECT_EQ(report.failed[0].first, "parts/arm.cel");
    EXPECT_EQ(report.failed[1].first, "deep/inner/leg.cel");
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere.Path()));
    EXPECT_EQ(dir.Read("body.cel"), "body");
}
