#include <gtest/gtest.h>

#include "annotate/AnnotatedImage.h"
#include "annotate/AnnotationLayout.h"
#include "imageio/TopDownDib.h"
#include "scoped/ScopedHandles.h"

namespace {
Annotation Mark(AnnotationKind kind, std::vector<ImagePoint> points, int number = 0)
{
    Annotation object;
    object.kind = kind;
    object.points = std::move(points);
    object.number = number;
    return object;
}

HBITMAP Picture(int width, int height)
{
    const CScreenDC screen;
    return CreateCompatibleBitmap(screen, width, height);
}

std::vector<int> StepNumbers(const CAnnotatedImage& image)
{
    std::vector<int> numbers;
    for (const Annotation& object : image.Objects())
        numbers.push_back(object.kind == AnnotationKind::kStep ? object.number : -1);
    return numbers;
}
}

// The view passes a tolerance of a few screen pixels divided by the zoom: the same
// screen distance must hit at 10% and miss at 3200% when it is many image pixels away.
TEST(AnnotationLayout, HitTestingFollowsTheZoomAndFindsTheTopmost)
{
    std::vector<Annotation> objects = {Mark(AnnotationKind::kRectangle, {{10, 10}, {50, 40}}),
                                       Mark(AnnotationKind::kLine, {{0, 25}, {100, 25}})};
    objects[0].style.width = 2;
    objects[1].style.width = 2;
    const float screenPixels = 4;
    // On the line, where it crosses the rectangle: the line is on top.
    EXPECT_EQ(HitTestAnnotations(objects, {10, 25}, screenPixels / 1.0f), 1);
    // 8 image pixels below the line: inside the reach at 10% (40 px), not at 100% or 3200%.
    EXPECT_EQ(HitTestAnnotations(objects, {70, 33}, screenPixels / 0.1f), 1);
    EXPECT_EQ(HitTestAnnotations(objects, {70, 33}, screenPixels / 1.0f), -1);
    EXPECT_EQ(HitTestAnnotations(objects, {70, 25.5f}, screenPixels / 32.0f), 1);
    EXPECT_EQ(HitTestAnnotations(objects, {70, 27.5f}, screenPixels / 32.0f), -1);
    // An outline is hit on its edge but not in its empty middle, unless it is filled.
    EXPECT_EQ(HitTestAnnotations(objects, {30, 10.5f}, 1), 0);
    EXPECT_EQ(HitTestAnnotations(objects, {30, 18}, 1), -1);
    objects[0].style.fill = AnnotationFill::kHalf;
    EXPECT_EQ(HitTestAnnotations(objects, {30, 18}, 1), 0);
}

TEST(AnnotationLayout, HandlesResizeBoxesAndShiftSnaps)
{
    const Annotation box = Mark(AnnotationKind::kEllipse, {{40, 30}, {10, 10}});
    ASSERT_EQ(AnnotationHandles(box).size(), 8u);
    // The bottom-right corner (handle 4) dragged out; the top-left stays.
    const ImageRect grown = AnnotationBox(ResizedAnnotation(box, 4, {60, 50}));
    EXPECT_FLOAT_EQ(grown.left, 10);
    EXPECT_FLOAT_EQ(grown.top, 10);
    EXPECT_FLOAT_EQ(grown.right, 60);
    EXPECT_FLOAT_EQ(grown.bottom, 50);
    // The left edge's middle (handle 7) moves only the left edge.
    const ImageRect narrowed = AnnotationBox(ResizedAnnotation(box, 7, {20, 99}));
    EXPECT_FLOAT_EQ(narrowed.left, 20);
    EXPECT_FLOAT_EQ(narrowed.bottom, 30);

    const ImagePoint diagonal = SnappedEnd(AnnotationKind::kArrow, {0, 0}, {10, 9});
    EXPECT_NEAR(diagonal.x, diagonal.y, 1e-4);
    const ImagePoint flat = SnappedEnd(AnnotationKind::kLine, {0, 0}, {10, -2});
    EXPECT_NEAR(flat.y, 0, 1e-4);
    const ImagePoint square = SnappedEnd(AnnotationKind::kRectangle, {5, 5}, {-5, 8});
    EXPECT_FLOAT_EQ(square.x, -5);
    EXPECT_FLOAT_EQ(square.y, 15);
}

TEST(AnnotatedImage, UndoAndRedoWalkEveryKindOfEditAndTheSavedState)
{
    CAnnotatedImage image;
    image.Reset(Picture(100, 80));
    EXPECT_FALSE(image.ChangedSinceSave());
    EXPECT_FALSE(image.CanUndo());

    image.Execute(CAnnotationEdit::Insert(0, Mark(AnnotationKind::kRectangle, {{10, 10}, {20, 20}})));
    image.Execute(CAnnotationEdit::Insert(1, Mark(AnnotationKind::kArrow, {{0, 0}, {30, 30}})));
    image.MarkSaved();
    const Annotation moved = MovedAnnotation(image.Objects()[0], 5, 5);
    image.Execute(CAnnotationEdit::Replace(0, image.Objects()[0], moved));
    EXPECT_TRUE(image.ChangedSinceSave());
    EXPECT_FLOAT_EQ(image.Objects()[0].points[0].x, 15);

    ASSERT_TRUE(image.Crop(ImageRect{9.5f, 4.2f, 60, 50}));
    EXPECT_EQ(image.Size().cx, 51);  // 9 to 60
    EXPECT_EQ(image.Size().cy, 46);  // 4 to 50
    EXPECT_FLOAT_EQ(image.Objects()[0].points[0].x, 6);
    EXPECT_FLOAT_EQ(image.Objects()[1].points[0].y, -4);

    image.Undo();  // the crop
    EXPECT_EQ(image.Size().cx, 100);
    EXPECT_FLOAT_EQ(image.Objects()[0].points[0].x, 15);
    image.Undo();  // the move: back at the saved state
    EXPECT_FALSE(image.ChangedSinceSave());
    EXPECT_FLOAT_EQ(image.Objects()[0].points[0].x, 10);
    image.Undo();
    image.Undo();
    EXPECT_TRUE(image.Objects().empty());
    EXPECT_FALSE(image.CanUndo());
    EXPECT_TRUE(image.ChangedSinceSave());

    image.Redo();
    image.Redo();
    EXPECT_FALSE(image.ChangedSinceSave());
    image.Redo();
    image.Redo();
    EXPECT_EQ(image.Size().cx, 51);
    EXPECT_FALSE(image.CanRedo());

    // A new edit after an undo drops the redo, and a saved state beyond it is gone.
    image.Undo();
    image.Undo();
    image.Undo();
    image.Execute(CAnnotationEdit::Insert(0, Mark(AnnotationKind::kLine, {{1, 1}, {2, 2}})));
    EXPECT_FALSE(image.CanRedo());
    EXPECT_TRUE(image.ChangedSinceSave());
    image.Undo();
    EXPECT_TRUE(image.ChangedSinceSave());

    EXPECT_FALSE(image.Crop(ImageRect{200, 200, 300, 300}));
}

TEST(AnnotatedImage, StepNumbersRenumberAfterADeleteAndUndoRestoresThem)
{
    CAnnotatedImage image;
    image.Reset(Picture(50, 50));
    for (int i = 0; i < 4; ++i) {
        const int number = image.NextStepNumber();
        image.Execute(CAnnotationEdit::Insert(image.Objects().size(),
                                              Mark(AnnotationKind::kStep, {{10.0f * i, 5}}, number)));
        if (i == 1)
            image.Execute(CAnnotationEdit::Insert(image.Objects().size(), Mark(AnnotationKind::kLine, {{0, 0}, {1, 1}})));
    }
    EXPECT_EQ(StepNumbers(image), (std::vector<int>{1, 2, -1, 3, 4}));

    // Deleting 2 and 3 at once: one edit, 4 becomes 2, the next is 3.
    image.Execute(CAnnotationEdit::Remove(image.Objects(), {3, 1}));
    EXPECT_EQ(StepNumbers(image), (std::vector<int>{1, -1, 2}));
    EXPECT_EQ(image.NextStepNumber(), 3);
    image.Undo();
    EXPECT_EQ(StepNumbers(image), (std::vector<int>{1, 2, -1, 3, 4}));
    EXPECT_FLOAT_EQ(image.Objects()[3].points[0].x, 20);

    // The largest number does not run past itself.
    image.Reset(Picture(50, 50), {Mark(AnnotationKind::kStep, {{1, 1}}, kMaxStepNumber)});
    EXPECT_EQ(kMaxStepNumber, image.NextStepNumber());
}

// Each crop keeps the picture before it; the history holds no more of them than its
// bound allows, dropping the oldest, and the saved state goes with them.
TEST(AnnotatedImage, CropsKeepOnlyAsManyOldPicturesAsTheHistoryMayHold)
{
    CAnnotatedImage image;
    DWORD* bits = nullptr;
    image.Reset(CreateTopDownDib(6000, 4000, bits).release());  // 96 MB
    for (int crop = 1; crop <= 3; ++crop)
        ASSERT_TRUE(image.Crop(ImageRect{0, 0, 6000.0f - crop, 4000}));
    int undone = 0;
    for (; image.CanUndo(); ++undone)
        image.Undo();
    EXPECT_EQ(2, undone) << "three old pictures are more than 256 MB";
    EXPECT_EQ(5999, image.Size().cx);
    EXPECT_TRUE(image.ChangedSinceSave());
}
