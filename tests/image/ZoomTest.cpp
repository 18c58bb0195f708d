#include "image/Zoom.h"

#include <gtest/gtest.h>

TEST(ZoomTest, WindowPositionsFallOnWholePicturePixels)
{
    struct Case
    {
        ZoomMapping mapping;
        Point window;
        Point picture;
    };
    const Case cases[] = {
        {{1, 1.0}, {7, 9}, {7, 9}},
        {{2, 1.0}, {7, 9}, {3, 4}},
        {{2, 1.0}, {8, 9}, {4, 4}},
        {{3, 1.0}, {-1, -3}, {-1, -1}},
        {{3, 1.0}, {-4, 5}, {-2, 1}},
        // A window counting in units of two screen pixels.
        {{2, 2.0}, {7, 9}, {7, 9}},
        {{1, 2.0}, {7, 9}, {14, 18}},
        {{3, 2.0}, {7, 9}, {4, 6}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.mapping.ToPicture(c.window), c.picture)
            << c.mapping.zoom << "/" << c.mapping.scale << " at " << c.window.x;
}

TEST(ZoomTest, PictureRectanglesCoverTheirWholePixelsOnTheWindow)
{
    EXPECT_EQ((ZoomMapping{1, 1.0}.ToWindow(Rect{1, 2, 3, 4})), (Rect{1, 2, 3, 4}));
    EXPECT_EQ((ZoomMapping{3, 1.0}.ToWindow(Rect{1, 2, 3, 4})), (Rect{3, 6, 9, 12}));
    EXPECT_EQ((ZoomMapping{3, 2.0}.ToWindow(Rect{1, 2, 3, 4})), (Rect{1, 3, 5, 6}));
    EXPECT_EQ((ZoomMapping{4, 1.0}.WindowSize(Point{1500, 600})), (Point{6000, 2400}));
    EXPECT_EQ((ZoomMapping{1, 2.0}.WindowSize(Point{101, 80})), (Point{51, 40}));
}

TEST(ZoomTest, FitPicksTheLargestWholeFactorThatFits)
{
    struct Case
    {
        Point window;
        double scale;
        int zoom;
    };
    const Point picture{100, 80};
    const Case cases[] = {
        {{99, 500}, 1.0, 1},   {{100, 80}, 1.0, 1},   {{299, 240}, 1.0, 2},
        {{300, 240}, 1.0, 3},  {{300, 239}, 1.0, 2},  {{2000, 2000}, 1.0, 4},
        {{10, 10}, 1.0, 1},    {{150, 120}, 2.0, 3},  {{100, 80}, 2.0, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitZoom(picture, c.window, c.scale), c.zoom) << c.window.x << "x" << c.window.y;
}

TEST(ZoomTest, DefaultFollowsTheDisplayScaleWithinTheSteps)
{
    EXPECT_EQ(DefaultZoom(1.0), 1);
    EXPECT_EQ(DefaultZoom(1.25), 1);
    EXPECT_EQ(DefaultZoom(2.0), 2);
    EXPECT_EQ(DefaultZoom(0.5), 1);
    EXPECT_EQ(DefaultZoom(6.0), 4);
}

TEST(ZoomTest, LargePicturesZoomOnlyAsFarAsABitmapCanHold)
{
    EXPECT_EQ(LargestZoomFor(Point{1500, 600}), 4);
    EXPECT_EQ(LargestZoomFor(Point{8191, 100}), 4);
    EXPECT_EQ(LargestZoomFor(Point{8192, 100}), 3);
    EXPECT_EQ(LargestZoomFor(Point{100, 40000}), 1);
    // 512 MiB: 5000 × 5000 at 2× is 400 MB, at 3× 900 MB.
    EXPECT_EQ(LargestZoomFor(Point{5000, 5000}), 2);
    EXPECT_EQ(LargestZoomFor(Point{0, 0}), 4);
}

TEST(ZoomTest, PlayFieldsShrinkToWhatABitmapCanHold)
{
    EXPECT_EQ(ClampPlayField(Point{448, 320}), (Point{448, 320}));
    EXPECT_EQ(ClampPlayField(Point{32767, 4096}), (Point{32767, 4096}));
    EXPECT_EQ(ClampPlayField(Point{40000, 10}), (Point{32767, 10}));
    EXPECT_EQ(ClampPlayField(Point{10, 65536}), (Point{10, 32767}));
    // 32767 × 32767 would be 4 GiB: the rows are cut to 512 MiB.
    EXPECT_EQ(ClampPlayField(Point{65536, 65536}), (Point{32767, 4096}));
    EXPECT_EQ(LargestZoomFor(ClampPlayField(Point{65536, 65536})), 1);
}
