#include "archive/Archive.h"

#include "support/ArchiveBytes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{

std::vector<std::uint8_t> Pattern(std::size_t size)
{
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>((i / 7) * 31);
    return bytes;
}

const std::vector<ArchiveEntry> kEntries{
    {"DOLL.CNF", Bytes("; doll\r\n%DOLL.KCF\r\n")},
    {"body.cel", Pattern(70000)},
    {"empty.cel", {}},
};

std::unique_ptr<Archive> OpenBytes(const std::vector<std::uint8_t>& bytes)
{
    Archive::OpenResult result = Archive::FromBytes(bytes);
    EXPECT_EQ(result.error, ArchiveError::None);
    return std::move(result.archive);
}

} // namespace

TEST(ArchiveTest, ReadsEveryHeaderLevelAndMethod)
{
    struct Case
    {
        int level;
        std::string method;
        std::uint8_t attribute;
    };
    const Case cases[] = {
        {0, "-lh0-", 0x20}, {0, "-lh5-", 0x20}, {1, "-lh0-", 0x20}, {1, "-lh5-", 0x20},
        {1, "-lh6-", 0x20}, {1, "-lh7-", 0x20}, {1, "-lz5-", 0x20}, {1, "-lzs-", 0x20},
        {2, "-lh5-", 0x20}, {2, "-lh5-", 0x00}, {2, "-lh0-", 0x00}, {2, "-lh7-", 0x00},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE("level " + std::to_string(c.level) + " " + c.method + " attribute " +
                     std::to_string(c.attribute));
        const auto archive = OpenBytes(LzhArchive(kEntries, {c.level, c.method, c.attribute}));
        ASSERT_TRUE(archive);
        ASSERT_EQ(archive->Members().size(), kEntries.size());
        for (std::size_t i = 0; i < kEntries.size(); ++i)
        {
            EXPECT_EQ(archive->Members()[i].name, kEntries[i].name);
            EXPECT_EQ(archive->Members()[i].bytes, kEntries[i].data);
        }
    }
    for (const ZipMethod method : {ZipMethod::Stored, ZipMethod::Deflated})
    {
        const auto archive = OpenBytes(ZipArchive(kEntries, method));
        ASSERT_TRUE(archive);
        ASSERT_EQ(archive->Members().size(), kEntries.size());
        for (std::size_t i = 0; i < kEntries.size(); ++i)
            EXPECT_EQ(archive->Members()[i].bytes, kEntries[i].data);
    }
}

TEST(ArchiveTest, KeepsMemberNamesAsStoredBytes)
{
    // "ソ" ends in 0x5C, the byte of a backslash; upper case must not be folded either.
    const std::string sjis = "\x83\x5C\x83\x74\x83\x42\x81\x5B.CEL";
    const std::vector<ArchiveEntry> entries{{sjis, Bytes("a")}, {"SET/SUB/" + sjis, Bytes("b")}};
    for (const int level : {1, 2})
    {
        SCOPED_TRACE(level);
        const auto archive = OpenBytes(LzhArchive(entries, {level, "-lh0-", 0x20}));
        ASSERT_TRUE(archive);
        EXPECT_TRUE(archive->Find(sjis));
        EXPECT_TRUE(archive->Find("SET/SUB/" + sjis));
    }
    const auto level0 = OpenBytes(LzhArchive({entries[0]}, {0, "-lh0-", 0x20}));
    ASSERT_TRUE(level0);
    EXPECT_TRUE(level0->Find(sjis));
    const auto zip = OpenBytes(ZipArchive(entries));
    ASSERT_TRUE(zip);
    EXPECT_TRUE(zip->Find(sjis));
    EXPECT_TRUE(zip->Find("SET/SUB/" + sjis));
}

TEST(ArchiveTest, UnreadableMembersAreMissingAndTheRestStays)
{
    std::vector<std::uint8_t> badCrc = LzhArchive(kEntries, {1, "-lh0-", 0x20});
    // The middle of the archive is body.cel's stored data.
    badCrc[badCrc.size() / 2] ^= 0xFF;
    const auto crc = OpenBytes(badCrc);
    ASSERT_TRUE(crc);
    EXPECT_TRUE(crc->Find("DOLL.CNF")->bytes);
    EXPECT_FALSE(crc->Find("body.cel")->bytes);

    std::vector<std::uint8_t> truncated = LzhArchive({kEntries[0], kEntries[1]}, {2, "-lh5-", 0});
    truncated.resize(truncated.size() - 4);
    const auto cut = OpenBytes(truncated);
    ASSERT_TRUE(cut);
    EXPECT_TRUE(cut->Find("DOLL.CNF")->bytes);
    EXPECT_FALSE(cut->Find("body.cel") && cut->Find("body.cel")->bytes);

    const auto unknownMethod = OpenBytes(LzhArchive(kEntries, {1, "-lhx-", 0x20}));
    ASSERT_TRUE(unknownMethod);
    EXPECT_FALSE(unknownMethod->Find("body.cel")->bytes);

    const auto encrypted = OpenBytes(ZipArchive(kEntries, ZipMethod::Encrypted));
    ASSERT_TRUE(encrypted);
    EXPECT_FALSE(encrypted->Find("body.cel")->bytes);
}

TEST(ArchiveTest, FolderMethodMembersWithDataReadAsStored)
{
    const std::vector<ArchiveEntry> entries{kEntries[0], kEntries[1], {"SUB/deep.cel", Pattern(9)}};
    for (const int level : {0, 1, 2})
    {
        for (const bool headerCrc : {false, true})
        {
            SCOPED_TRACE("level " + std::to_string(level) + (headerCrc ? " with" : " without") +
                         " header CRC");
            const auto archive = OpenBytes(LzhArchive(entries, {level, "-lhd-", 0x20, headerCrc}));
            ASSERT_TRUE(archive);
            ASSERT_EQ(archive->Members().size(), entries.size());
            for (std::size_t i = 0; i < entries.size(); ++i)
            {
                EXPECT_EQ(archive->Members()[i].name, entries[i].name);
                EXPECT_EQ(archive->Members()[i].bytes, entries[i].data);
            }
            EXPECT_EQ(archive->Configurations(), (std::vector<std::string>{"DOLL.CNF"}));
        }
    }

    // A real folder entry stays a folder, between stored members and after them.
    std::vector<std::uint8_t> mixed = LzhArchive({kEntries[0]}, {1, "-lhd-", 0x20});
    mixed.pop_back();
    const std::vector<std::uint8_t> folder = LzhArchive({{"SUB/", {}}}, {1, "-lhd-", 0x20});
    mixed.insert(mixed.end(), folder.begin(), folder.end() - 1);
    const std::vector<std::uint8_t> last = LzhArchive({kEntries[1]}, {2, "-lhd-", 0x20, true});
    mixed.insert(mixed.end(), last.begin(), last.end());
    const auto both = OpenBytes(mixed);
    ASSERT_TRUE(both);
    ASSERT_EQ(both->Members().size(), 2u);
    EXPECT_EQ(both->Members()[1].bytes, kEntries[1].data);

    // A wrong CRC loses that member only, as with any stored member.
    std::vector<std::uint8_t> badCrc = LzhArchive(kEntries, {1, "-lhd-", 0x20});
    badCrc[badCrc.size() / 2] ^= 0xFF;
    const auto damaged = OpenBytes(badCrc);
    ASSERT_TRUE(damaged);
    EXPECT_TRUE(damaged->Find("DOLL.CNF")->bytes);
    EXPECT_FALSE(damaged->Find("body.cel")->bytes);
    EXPECT_EQ(damaged->Find("empty.cel"), nullptr); // no data: a folder
}

TEST(ArchiveTest, NamesEndingInASeparatorLoseIt)
{
    const std::string sjis = "\x83\x5C"; // "ソ", whose second byte is a backslash
    const std::vector<ArchiveEntry> entries{{"DOLL.CNF\\", Bytes(";")},
                                            {"A.CEL\\\\", Bytes("a")},
                                            {"x" + sjis, Bytes("s")},
                                            {"y" + sjis + "\\", Bytes("t")}};
    for (const int level : {0, 1, 2})
    {
        for (const std::string method : {"-lh0-", "-lh5-", "-lhd-"})
        {
            SCOPED_TRACE("level " + std::to_string(level) + " " + method);
            const auto archive = OpenBytes(LzhArchive(entries, {level, method, 0x20}));
            ASSERT_TRUE(archive);
            ASSERT_EQ(archive->Members().size(), entries.size());
            EXPECT_EQ(archive->Find("DOLL.CNF")->bytes, Bytes(";"));
            EXPECT_EQ(archive->Find("A.CEL")->bytes, Bytes("a"));
            EXPECT_EQ(archive->Find("x" + sjis)->bytes, Bytes("s"));
            EXPECT_EQ(archive->Find("y" + sjis)->bytes, Bytes("t"));
            EXPECT_EQ(archive->Configurations(), (std::vector<std::string>{"DOLL.CNF"}));
        }
    }
    for (const ZipMethod method : {ZipMethod::Stored, ZipMethod::Deflated})
    {
        const auto zip = OpenBytes(ZipArchive(
            {{"SET/DOLL.CNF\\", Bytes(";")}, {"A.CEL/", Pattern(3000)}, {"SET/", {}}}, method));
        ASSERT_TRUE(zip);
        ASSERT_EQ(zip->Members().size(), 2u);
        EXPECT_EQ(zip->Find("SET/DOLL.CNF")->bytes, Bytes(";"));
        EXPECT_EQ(zip->Find("A.CEL")->bytes, Pattern(3000));
        EXPECT_EQ(zip->Configurations(), (std::vector<std::string>{"SET/DOLL.CNF"}));
    }
    // Their data is checked as any other: a damaged one is listed but cannot be read.
    std::vector<std::uint8_t> damaged =
        ZipArchive({{"A.CEL/", Pattern(3000)}, {"B.CEL", Bytes("b")}}, ZipMethod::Stored);
    const std::vector<std::uint8_t> pattern = Pattern(3000);
    const auto data = std::search(damaged.begin(), damaged.end(), pattern.begin(), pattern.end());
    ASSERT_NE(data, damaged.end());
    data[1500] ^= 0xFF;
    const auto zip = OpenBytes(damaged);
    ASSERT_TRUE(zip);
    ASSERT_TRUE(zip->Find("A.CEL"));
    EXPECT_FALSE(zip->Find("A.CEL")->bytes);
    EXPECT_EQ(zip->Find("B.CEL")->bytes, Bytes("b"));

    EXPECT_EQ(WithoutTrailingSeparators("a/b//\\"), "a/b");
    EXPECT_EQ(WithoutTrailingSeparators("/"), "");
    EXPECT_EQ(WithoutTrailingSeparators(sjis + "/"), sjis);
}

TEST(ArchiveTest, RefusesWhatCannotBeAnArchiveOrIsTooLarge)
{
    EXPECT_EQ(Archive::FromBytes(Bytes("plain text, not an archive")).error,
              ArchiveError::NotAnArchive);
    EXPECT_EQ(Archive::FromBytes({}).error, ArchiveError::NotAnArchive);
    EXPECT_EQ(Archive::Open("/nonexistent/set.lzh").error, ArchiveError::CannotOpen);

    // Stated sizes are patched into stored headers; the small real data never gets that far.
    auto withStatedSize = [](std::size_t count, std::uint32_t size)
    {
        std::vector<ArchiveEntry> entries;
        for (std::size_t i = 0; i < count; ++i)
            entries.push_back({"m" + std::to_string(i) + ".cel", Bytes("x")});
        std::vector<std::uint8_t> bytes = LzhArchive(entries, {0, "-lh0-", 0x20});
        std::size_t at = 0;
        for (std::size_t i = 0; i < count; ++i)
        {
            for (int b = 0; b < 4; ++b)
                bytes[at + 11 + static_cast<std::size_t>(b)] =
                    static_cast<std::uint8_t>(size >> (8 * b));
            unsigned sum = 0;
            for (std::size_t k = 0; k < bytes[at]; ++k)
                sum += bytes[at + 2 + k];
            bytes[at + 1] = static_cast<std::uint8_t>(sum);
            at += 2 + bytes[at] + 1;
        }
        return bytes;
    };
    const auto big = OpenBytes(withStatedSize(1, (256u << 20) + 1));
    ASSERT_TRUE(big);
    EXPECT_FALSE(big->Members()[0].bytes);
    EXPECT_EQ(Archive::FromBytes(withStatedSize(5, 250u << 20)).error, ArchiveError::TooLarge);
}

TEST(ArchiveTest, ListsConfigurationsInNameOrder)
{
    const auto archive = OpenBytes(ZipArchive({{"b/two.cnf", Bytes(";")},
                                               {"ONE.CNF", Bytes(";")},
                                               {"notes.txt", Bytes("")},
                                               {"a.CnF", Bytes(";")}}));
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->Configurations(),
              (std::vector<std::string>{"ONE.CNF", "a.CnF", "b/two.cnf"}));
    EXPECT_TRUE(Archive::HasArchiveExtension("/x/SET.LzH"));
    EXPECT_TRUE(Archive::HasArchiveExtension("set.lha"));
    EXPECT_TRUE(Archive::HasArchiveExtension("set.Zip"));
    EXPECT_FALSE(Archive::HasArchiveExtension("set.cnf"));
}

TEST(ArchiveTest, SizesStatedOnlyAfterTheDataAreHeldToTheLimits)
{
    const ArchiveLimits limits{1u << 20, 4u << 20};
    std::vector<ArchiveEntry> bomb;
    for (int i = 0; i < 16; ++i)
        bomb.push_back({"m" + std::to_string(i) + ".cel", std::vector<std::uint8_t>(limits.member)});
    EXPECT_EQ(Archive::FromBytes(StreamedZipArchive(bomb), limits).error, ArchiveError::TooLarge);

    // One member of unstated size past the member limit: the rest lies behind it.
    const std::vector<ArchiveEntry> oversized{{"big.cel", std::vector<std::uint8_t>(limits.member + 1)},
                                              {"KISS.CNF", Bytes(";")}};
    EXPECT_EQ(Archive::FromBytes(StreamedZipArchive(oversized), limits).error,
              ArchiveError::TooLarge);

    // Within the limits the same layout reads in full.
    Archive::OpenResult fits =
        Archive::FromBytes(StreamedZipArchive({bomb[0], bomb[1], {"KISS.CNF", Bytes(";")}}), limits);
    ASSERT_EQ(fits.error, ArchiveError::None);
    ASSERT_EQ(fits.archive->Members().size(), 3u);
    for (const ArchiveMember& member : fits.archive->Members())
        EXPECT_TRUE(member.bytes) << member.name;
    EXPECT_EQ(fits.archive->Members()[0].bytes->size(), limits.member);

    // Members under folder names count against the same limits.
    const ArchiveLimits small{4000, 5000};
    const auto named = ZipArchive({{"A.CEL/", Pattern(3000)}, {"B.CEL", Pattern(3000)}});
    EXPECT_EQ(Archive::FromBytes(named, small).error, ArchiveError::TooLarge);
    EXPECT_EQ(Archive::FromBytes(named, {2000, 8000}).archive->Find("A.CEL")->bytes, std::nullopt);
    EXPECT_EQ(Archive::FromBytes(named, {4000, 6000}).archive->Find("A.CEL")->bytes, Pattern(3000));
}
