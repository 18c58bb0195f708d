#include "archive/MemberWriter.h"

#include "support/ArchiveBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

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
    Archive::OpenResult opened = Archive::FromBytes(LzhArchive({
        {"set/doll.cnf", Bytes("archive config")},
        {"set/body.cel", Bytes("body")},
        {"set/parts/arm.cel", Bytes("arm")},
        {"set/kept.cel", Bytes("from archive")},
        {"stray/face.cel", Bytes("face")},
        {"stray/unused.cel", Bytes("unused")},
        {"set/../evil.cel", Bytes("evil")},
    }));
    ASSERT_TRUE(opened.archive);
    const std::shared_ptr<const Archive> archive = std::move(opened.archive);
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
