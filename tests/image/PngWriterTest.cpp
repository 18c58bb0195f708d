#include "image/PngWriter.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>

TEST(PngWriterTest, AFailureSaysWhyAndKeepsTheFileAsItWas)
{
    TempDir dir;
    const std::string kept = dir.Write("kept.png", std::string_view("old"));
    const std::vector<std::uint8_t> pixel = {1, 2, 3};

    PngWriteError error;
    EXPECT_FALSE(WritePng(kept, 2, 1, pixel, &error));
    EXPECT_EQ(error.kind, PngWriteError::Kind::NoPicture);
    EXPECT_FALSE(WritePng(kept, 0, 0, {}, &error));
    EXPECT_EQ(error.kind, PngWriteError::Kind::NoPicture);
    EXPECT_EQ(dir.Read("kept.png"), "old");

    EXPECT_FALSE(WritePng(dir.File("no/such/out.png"), 1, 1, pixel, &error));
    EXPECT_EQ(error.kind, PngWriteError::Kind::Replacing);
    EXPECT_EQ(error.systemError, ENOENT);

    EXPECT_TRUE(WritePng(kept, 1, 1, pixel, &error));
    EXPECT_EQ(dir.Read("kept.png").substr(1, 3), "PNG");
}
