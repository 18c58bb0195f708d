#include "cli/FailureText.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

TEST(FailureTextTest, TheConsoleWordsArchiveAndPictureFailuresAsItAlwaysHas)
{
    EXPECT_EQ(ArchiveErrorText(ArchiveError::NotAnArchive, 0), "not an LZH or ZIP archive");
    EXPECT_EQ(ArchiveErrorText(ArchiveError::Corrupt, 0), "the archive is damaged");
    EXPECT_EQ(ArchiveErrorText(ArchiveError::CannotOpen, EACCES), std::strerror(EACCES));

    EXPECT_EQ(PngWriteErrorText("o.png", {PngWriteError::Kind::NoPicture, {}, 0}),
              "cannot write o.png: no picture to write");
    EXPECT_EQ(PngWriteErrorText("o.png", {PngWriteError::Kind::Encoding, "too wide", 0}),
              "cannot write o.png: too wide");
    EXPECT_EQ(PngWriteErrorText("/x/o.png", {PngWriteError::Kind::Replacing, {}, ENOSPC}),
              "cannot write /x/o.png: " + std::string(std::strerror(ENOSPC)));
}
