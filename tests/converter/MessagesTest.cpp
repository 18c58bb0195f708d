#include "Messages.h"

#include <gtest/gtest.h>

TEST(TarnelMessagesTest, NamesFillTheirPlacesInEitherOrderAndAreNotSearchedThemselves)
{
    EXPECT_EQ(Fill("入力ファイル %1と%2を処理します", "A.BMP", "_.BMP"),
              "入力ファイル A.BMPと_.BMPを処理します");
    EXPECT_EQ(Fill("Cannot write the file %2. (%1)", "disk full", "X.CEL"),
              "Cannot write the file X.CEL. (disk full)");
    // A name that itself holds "%1" or "%2" comes out as it is.
    EXPECT_EQ(Fill("%1 and %2", "%2%1", "%1"), "%2%1 and %1");
    EXPECT_EQ(Fill("100% %1 %", "x"), "100% x %");
}

TEST(TarnelMessagesTest, WithoutACatalogTheOriginalTextComesBack)
{
    // The test program binds no catalog, as Tarnel under C or Japanese does not.
    EXPECT_EQ(Tr("入力ファイル %1をスキップします"), "入力ファイル %1をスキップします");
}
