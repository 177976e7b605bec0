#include <gtest/gtest.h>

#include "annotate/AnnotationLayout.h"

namespace {
void ExpectRect(const RECT& expected, const RECT& actual)
{
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right, actual.right);
    EXPECT_EQ(expected.bottom, actual.bottom);
}
}

TEST(ImageRect, BoxesHoldTheirPointsWhicheverWayTheyWereDragged)
{
    const ImageRect dragged = BoxBetween({9.5f, 2}, {-1, 7.25f});
    EXPECT_EQ(-1, dragged.left);
    EXPECT_EQ(2, dragged.top);
    EXPECT_EQ(9.5f, dragged.right);
    EXPECT_EQ(7.25f, dragged.bottom);

    const ImageRect stroke = BoxOfPoints({{4, 4}, {6, 1}, {2, 5}, {5, 3}});
    EXPECT_EQ(2, stroke.left);
    EXPECT_EQ(1, stroke.top);
    EXPECT_EQ(6, stroke.right);
    EXPECT_EQ(5, stroke.bottom);

    const ImageRect both = Union(dragged, stroke);
    EXPECT_EQ(-1, both.left);
    EXPECT_EQ(1, both.top);
    EXPECT_EQ(9.5f, both.right);
    EXPECT_EQ(7.25f, both.bottom);
}

// A mark half off the image covers the pixels it touches; only PixelBox keeps to the image.
TEST(ImageRect, SnappingCoversEveryTouchedPixelAndPixelBoxCutsItToTheImage)
{
    const ImageRect box{-2.5f, 0.25f, 10.1f, 4};
    ExpectRect(RECT{-3, 0, 11, 4}, SnapOutward(box));
    ExpectRect(RECT{0, 0, 8, 4}, PixelBox(box, 8, 6));
    ExpectRect(RECT{0, 0, 0, 0}, PixelBox(ImageRect{-9, -9, -1.5f, -1}, 8, 6));
}
