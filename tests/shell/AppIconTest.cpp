#include "shell/ToolBarArt.h"

#include <gtest/gtest.h>

#include <wx/image.h>

TEST(AppIconTest, DrawnAtAnySizeWithTransparentCornersAndAnOpaqueDoll)
{
    for (const int size : {16, 20, 32, 48, 100, 256, 300})
    {
        const wxImage image = DrawAppIcon(size).ConvertToImage();
        ASSERT_TRUE(image.IsOk()) << size;
        EXPECT_EQ(image.GetWidth(), size);
        EXPECT_EQ(image.GetHeight(), size);
        ASSERT_TRUE(image.HasAlpha()) << size;
        EXPECT_LT(image.GetAlpha(0, 0), 16) << size;
        EXPECT_GT(image.GetAlpha(size / 2, size / 2), 250) << size;
    }
    EXPECT_EQ(AppIcons().GetIconCount(), 7u);
}
