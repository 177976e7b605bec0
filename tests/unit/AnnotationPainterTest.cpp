#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

#include "LiveGdiObjects.h"
#include "annotate/AnnotationPainter.h"
#include "imageio/TopDownDib.h"
#include "scoped/ScopedHandles.h"

namespace {

constexpr DWORD kWhite = 0xFFFFFF;

// A 32-bit DIB section with pixels (0x00RRGGBB) of the test's own making.
CBitmapOwner MakePicture(int width, int height, const std::function<DWORD(int, int)>& colourAt)
{
    DWORD* pixels = nullptr;
    CBitmapOwner bitmap = CreateTopDownDib(width, height, pixels);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[y * width + x] = colourAt(x, y);
    return bitmap;
}

// The same pixels in a bitmap of the screen's format, as an opened file is held.
CBitmapOwner ScreenBitmapOf(HBITMAP picture, int width, int height)
{
    const CScreenDC screen;
    CBitmapOwner bitmap(CreateCompatibleBitmap(screen, width, height));
    const CMemoryDC from(screen), to(screen);
    const CSelectObject source(from, picture), target(to, bitmap.get());
    BitBlt(to, 0, 0, width, height, from, 0, 0, SRCCOPY);
    return bitmap;
}

CBitmapOwner WhitePicture(int width, int height)
{
    return MakePicture(width, height, [](int, int) { return kWhite; });
}

DWORD Noise(int x, int y)
{
    return (static_cast<DWORD>(x * 7919 + y * 104729) * 2654435761u) >> 8;
}

// Every pixel of a bitmap as 0x00RRGGBB, top row first.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<DWORD> values;
    DWORD At(int x, int y) const { return values[static_cast<size_t>(y) * width + x]; }
};

Pixels ReadPixels(HBITMAP bitmap)
{
    BITMAP shape{};
    GetObject(bitmap, sizeof(shape), &shape);
    Pixels pixels{shape.bmWidth, shape.bmHeight, std::vector<DWORD>(static_cast<size_t>(shape.bmWidth) * shape.bmHeight)};
    BITMAPINFO info = TopDownDibInfo(shape.bmWidth, shape.bmHeight);
    const CMemoryDC dc(nullptr);
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(shape.bmHeight), pixels.values.data(), &info, DIB_RGB_COLORS);
    for (DWORD& value : pixels.values)
        value &= 0xFFFFFF;
    return pixels;
}

Pixels Flattened(HBITMAP picture, const std::vector<Annotation>& objects)
{
    const CBitmapOwner flat(FlattenAnnotations(picture, objects));
    EXPECT_TRUE(flat);
    return flat ? ReadPixels(flat.get()) : Pixels{};
}

// Paints into a white device of its own and reads what it shows.
Pixels Painted(int width, int height, const CanvasMapping& mapping, const RECT& clip,
               const std::vector<Annotation>& objects, HBITMAP image = nullptr)
{
    const CBitmapOwner device = WhitePicture(width, height);
    {
        const CMemoryDC dc(nullptr);
        const CSelectObject selection(dc, device.get());
        PaintAnnotations(dc, mapping, clip, image, objects);
        GdiFlush();
    }
    return ReadPixels(device.get());
}

Annotation Mark(AnnotationKind kind, std::vector<ImagePoint> points, COLORREF colour, float width = 3)
{
    Annotation mark;
    mark.kind = kind;
    mark.points = std::move(points);
    mark.style.colour = colour;
    mark.style.width = width;
    return mark;
}

bool Near(DWORD pixel, DWORD colour, int tolerance = 40)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(static_cast<int>(pixel >> shift & 0xFF) - static_cast<int>(colour >> shift & 0xFF)) > tolerance)
            return false;
    return true;
}

// One mark of every kind, with widths, fills and curves that reach beyond their points.
std::vector<Annotation> EveryKind()
{
    std::vector<Annotation> marks{
        Mark(AnnotationKind::kArrow, {{20, 80}, {90, 70}}, RGB(200, 0, 0), 6),
        Mark(AnnotationKind::kLine, {{10, 10}, {60, 15}}, RGB(0, 0, 0), 8),
        Mark(AnnotationKind::kRectangle, {{70, 60}, {30, 40}}, RGB(0, 0, 200), 10),
        Mark(AnnotationKind::kEllipse, {{40, 20}, {80, 50}}, RGB(0, 150, 0), 10),
        Mark(AnnotationKind::kPen, {{20, 50}, {90, 50}, {92, 20}}, RGB(0, 0, 0), 2),
        Mark(AnnotationKind::kHighlighter, {{15, 30}, {90, 35}, {50, 70}}, RGB(255, 200, 0), 4),
        Mark(AnnotationKind::kText, {{12.5f, 60}}, RGB(0, 0, 0)),
        Mark(AnnotationKind::kStep, {{60, 60}}, RGB(220, 0, 0)),
        Mark(AnnotationKind::kRedact, {{5.5f, 5.5f}, {20.2f, 12.7f}}, RGB(0, 0, 0)),
        Mark(AnnotationKind::kMosaic, {{70.5f, 10}, {110, 45.5f}}, RGB(0, 0, 0)),
    };
    marks[3].style.fill = AnnotationFill::kSolid;
    marks[6].text = L"标注 text";
    marks[6].style.fill = AnnotationFill::kHalf;
    marks[7].number = 12;
    marks[9].style.mosaicBlock = 8;
    return marks;
}

}  // namespace

TEST(AnnotationPainter, FlattenRedactCoversItsBoxOutwardToWholePixelsAndKeepsTheOriginal)
{
    const CBitmapOwner picture = MakePicture(64, 48, Noise);
    const Pixels before = ReadPixels(picture.get());
    // Dragged from the bottom-right up to the top-left: covers [10, 31) x [8, 21).
    const Pixels after = Flattened(picture.get(), {Mark(AnnotationKind::kRedact, {{30.2f, 20.1f}, {10.4f, 8.6f}},
                                                        RGB(10, 200, 30))});
    ASSERT_EQ(after.values.size(), before.values.size());
    int wrong = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const bool hidden = x >= 10 && x < 31 && y >= 8 && y < 21;
            wrong += after.At(x, y) != (hidden ? 0x0AC81Eu : before.At(x, y));
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(ReadPixels(picture.get()).values, before.values);
}

TEST(AnnotationPainter, FlattenMosaicShowsTheMeansOfTheOriginalBlocks)
{
    // Beneath the mosaic a redact hides everything: the blocks still come from the image.
    Annotation mosaic = Mark(AnnotationKind::kMosaic, {{5.5f, 3.2f}, {70, 30.5f}}, RGB(0, 0, 0));
    mosaic.style.mosaicBlock = 8;
    const std::vector<Annotation> marks{Mark(AnnotationKind::kRedact, {{0, 0}, {64, 48}}, RGB(0, 0, 0)), mosaic};
    // A capture's DIB section, an opened file's screen bitmap, and one held by a device context.
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(kind);
        const CBitmapOwner picture = kind == 1 ? ScreenBitmapOf(MakePicture(64, 48, Noise).get(), 64, 48)
                                               : MakePicture(64, 48, Noise);
        const Pixels original = ReadPixels(picture.get());
        const CMemoryDC holder(nullptr);
        std::optional<CSelectObject> held;
        if (kind == 2)
            held.emplace(holder, picture.get());
        const Pixels after = Flattened(picture.get(), marks);
        ASSERT_EQ(after.values.size(), original.values.size());
        // The box is [5, 64) x [3, 31) once snapped and cut at the image's edge.
        int wrong = 0;
        for (int top = 3; top < 31; top += 8)
            for (int left = 5; left < 64; left += 8) {
                const int right = std::min(left + 8, 64), bottom = std::min(top + 8, 31);
                const unsigned count = static_cast<unsigned>((right - left) * (bottom - top));
                DWORD mean = 0;
                for (int shift = 0; shift < 24; shift += 8) {
                    unsigned sum = 0;
                    for (int y = top; y < bottom; ++y)
                        for (int x = left; x < right; ++x)
                            sum += original.At(x, y) >> shift & 0xFF;
                    mean |= (sum + count / 2) / count << shift;
                }
                for (int y = top; y < bottom; ++y)
                    for (int x = left; x < right; ++x)
                        wrong += after.At(x, y) != mean;
            }
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(after.At(4, 10), 0u);
        EXPECT_EQ(after.At(10, 31), 0u);
    }
}

TEST(AnnotationPainter, FlattenDrawsShapesWhereTheyLie)
{
    const CBitmapOwner picture = WhitePicture(80, 60);
    Annotation rectangle = Mark(AnnotationKind::kRectangle, {{10, 5}, {40, 25}}, RGB(0, 0, 255), 2);
    rectangle.style.fill = AnnotationFill::kHalf;
    const Pixels after =
        Flattened(picture.get(), {rectangle, Mark(AnnotationKind::kArrow, {{10, 40}, {60, 40}}, RGB(255, 0, 0))});
    // The arrow: its shaft, and its head (17 long) widening towards the end point.
    EXPECT_TRUE(Near(after.At(25, 40), 0xFF0000));
    EXPECT_EQ(after.At(25, 44), kWhite);
    EXPECT_TRUE(Near(after.At(58, 40), 0xFF0000));
    EXPECT_TRUE(Near(after.At(48, 35), 0xFF0000));
    EXPECT_TRUE(Near(after.At(48, 45), 0xFF0000));
    EXPECT_EQ(after.At(15, 35), kWhite);
    EXPECT_EQ(after.At(63, 40), kWhite);
    // The rectangle: its outline over the edge, half blue inside.
    EXPECT_TRUE(Near(after.At(10, 15), 0x0000FF));
    EXPECT_TRUE(Near(after.At(39, 24), 0x0000FF));
    EXPECT_EQ(after.At(7, 15), kWhite);
    EXPECT_TRUE(Near(after.At(25, 15), 0x7F7FFF, 4));
    EXPECT_EQ(after.At(75, 55), kWhite);
}

TEST(AnnotationPainter, ZoomedPaintLandsOnTheMappedDevicePixels)
{
    // Red left of x = 14, blue from there: the mosaic's blocks [12, 14) and [14, 16).
    const CBitmapOwner picture = MakePicture(40, 40, [](int x, int) { return x < 14 ? 0xFF0000u : 0x0000FFu; });
    Annotation mosaic = Mark(AnnotationKind::kMosaic, {{12, 9}, {16, 10}}, RGB(0, 0, 0));
    mosaic.style.mosaicBlock = 2;
    const std::vector<Annotation> marks{
        Mark(AnnotationKind::kRectangle, {{10, 10}, {20, 20}}, RGB(0, 0, 0), 1),
        Mark(AnnotationKind::kRedact, {{11.3f, 11.6f}, {12.2f, 12.9f}}, RGB(0, 255, 0)),
        mosaic,
    };
    // Image x lands on x * zoom - offset: the outline's left edge, a line zoom pixels wide
    // around it, the redact's whole pixels [11, 13), the edge between two mosaic blocks.
    struct Case {
        float zoom;
        POINT offset;
        int row;
    };
    for (const Case& c : {Case{4, {20, 16}, 44}, Case{32, {300, 300}, 60}}) {
        SCOPED_TRACE(c.zoom);
        const Pixels shown =
            Painted(200, 120, CanvasMapping{c.zoom, c.offset}, RECT{0, 0, 200, 120}, marks, picture.get());
        const int edge = static_cast<int>(10 * c.zoom) - c.offset.x;
        const int half = static_cast<int>(c.zoom / 2);
        EXPECT_EQ(shown.At(edge - half, c.row), 0u);
        EXPECT_EQ(shown.At(edge + half - 1, c.row), 0u);
        EXPECT_EQ(shown.At(edge - half - 1, c.row), kWhite);
        EXPECT_EQ(shown.At(edge + half, c.row), kWhite);
        const int left = static_cast<int>(11 * c.zoom) - c.offset.x, right = static_cast<int>(13 * c.zoom) - c.offset.x;
        const int top = static_cast<int>(11 * c.zoom) - c.offset.y;
        EXPECT_EQ(shown.At(left, top), 0x00FF00u);
        EXPECT_EQ(shown.At(right - 1, top), 0x00FF00u);
        EXPECT_NE(shown.At(left - 1, top), 0x00FF00u);
        EXPECT_NE(shown.At(right, top), 0x00FF00u);
        EXPECT_NE(shown.At(left, top - 1), 0x00FF00u);
        const int blocks = static_cast<int>(14 * c.zoom) - c.offset.x, row = static_cast<int>(10 * c.zoom) - c.offset.y - 2;
        EXPECT_EQ(shown.At(blocks - 1, row), 0xFF0000u);
        EXPECT_EQ(shown.At(blocks, row), 0x0000FFu);
    }
}

// A wide outline has square corners at every zoom, the one its figure starts at too.
TEST(AnnotationPainter, WideOutlinesHaveSquareCorners)
{
    const CBitmapOwner picture = WhitePicture(40, 40);
    const std::vector<Annotation> marks{Mark(AnnotationKind::kRectangle, {{10, 10}, {20, 18}}, RGB(0, 0, 0), 4)};
    for (float zoom : {1.0f, 8.0f}) {
        SCOPED_TRACE(zoom);
        const Pixels shown = Painted(200, 200, CanvasMapping{zoom, {0, 0}}, RECT{0, 0, 200, 200}, marks, picture.get());
        const int left = static_cast<int>(8 * zoom), top = left;
        const int right = static_cast<int>(22 * zoom) - 1, bottom = static_cast<int>(20 * zoom) - 1;
        for (const POINT corner : {POINT{left, top}, POINT{right, top}, POINT{right, bottom}, POINT{left, bottom}})
            EXPECT_EQ(shown.At(corner.x, corner.y), 0u) << corner.x << "," << corner.y;
        EXPECT_EQ(shown.At(left - 1, top - 1), kWhite);
        EXPECT_EQ(shown.At(static_cast<int>(15 * zoom), static_cast<int>(14 * zoom)), kWhite) << "the middle stays";
    }
}

TEST(AnnotationPainter, ChineseTextInksInsideItsMeasuredBox)
{
    AnnotationStyle style;
    style.fontSize = 20;
    const ImagePoint size = MeasureAnnotationText(L"标注", style);
    EXPECT_GT(size.x, 1.5f * style.fontSize);
    EXPECT_LT(size.x, 2.5f * style.fontSize);
    EXPECT_GT(size.y, 0.9f * style.fontSize);
    EXPECT_LT(size.y, 2.0f * style.fontSize);
    EXPECT_GT(MeasureAnnotationText(L"标注\n标注", style).y, 1.8f * size.y);

    Annotation text = Mark(AnnotationKind::kText, {{10.5f, 12}, {10.5f + size.x, 12 + size.y}}, RGB(0, 0, 0));
    text.style = style;
    text.text = L"标注";
    const CBitmapOwner picture = WhitePicture(120, 60);
    const Pixels after = Flattened(picture.get(), {text});
    const RECT ink = AnnotationInkBounds(text);
    int inside = 0, outside = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 120; ++x)
            if (after.At(x, y) != kWhite) {
                const bool inBox = x >= 10 && x <= 11 + size.x && y >= 12 && y <= 13 + size.y;
                inside += inBox;
                outside += !inBox && (x < ink.left || x >= ink.right || y < ink.top || y >= ink.bottom);
            }
    EXPECT_GT(inside, 60);
    EXPECT_EQ(outside, 0);
}

// A face from a settings file or a reopened mark that GDI+ cannot make (a vertical face)
// draws and measures as the default face does.
TEST(AnnotationPainter, AFaceGdiplusCannotMakeFallsBackToTheDefault)
{
    Annotation text = Mark(AnnotationKind::kText, {{4, 4}}, RGB(0, 0, 0));
    text.text = L"标注";
    const CBitmapOwner picture = WhitePicture(80, 40);
    const Pixels usual = Flattened(picture.get(), {text});
    for (const wchar_t* face : {L"@SimSun", L"@"}) {
        text.style.fontFace = face;
        EXPECT_EQ(usual.values, Flattened(picture.get(), {text}).values) << face;
        const ImagePoint size = MeasureAnnotationText(text.text, text.style);
        EXPECT_GT(size.x, text.style.fontSize) << face;
    }
}

TEST(AnnotationPainter, StepNumberIsCentredInItsCircle)
{
    Annotation step = Mark(AnnotationKind::kStep, {{40, 40}}, RGB(220, 0, 0));
    step.number = 7;
    const float radius = StepRadius(step.style);
    const CBitmapOwner picture = WhitePicture(80, 80);
    const Pixels after = Flattened(picture.get(), {step});
    EXPECT_TRUE(Near(after.At(40 + static_cast<int>(radius) - 2, 40), 0xDC0000));
    EXPECT_EQ(after.At(40 + static_cast<int>(radius) + 2, 40), kWhite);
    // The white of the number, inside the circle.
    int left = 80, right = 0, top = 80, bottom = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x)
            if (std::hypot(x + 0.5f - 40, y + 0.5f - 40) < radius - 2 && Near(after.At(x, y), kWhite, 60)) {
                left = std::min(left, x), right = std::max(right, x + 1);
                top = std::min(top, y), bottom = std::max(bottom, y + 1);
            }
    ASSERT_LT(left, right);
    EXPECT_GT(bottom - top, step.style.fontSize / 2);
    EXPECT_NEAR((left + right) / 2.0, 40, 2.5);
    EXPECT_NEAR((top + bottom) / 2.0, 40, 2.5);
}

TEST(AnnotationPainter, HighlighterGoingOverItselfDoesNotDarken)
{
    const CBitmapOwner picture = WhitePicture(100, 60);
    const Pixels after =
        Flattened(picture.get(), {Mark(AnnotationKind::kHighlighter, {{10, 15}, {90, 15}}, RGB(255, 220, 0)),
                                  Mark(AnnotationKind::kHighlighter, {{10, 45}, {90, 45}, {10, 45}}, RGB(255, 220, 0))});
    EXPECT_NE(after.At(50, 15), kWhite);
    EXPECT_EQ(after.At(50, 45), after.At(50, 15));
}

TEST(AnnotationPainter, InkBoundsHoldEveryPixelAMarkChanges)
{
    const CBitmapOwner picture = MakePicture(120, 100, Noise);
    const Pixels before = ReadPixels(picture.get());
    for (const Annotation& mark : EveryKind()) {
        SCOPED_TRACE(static_cast<int>(mark.kind));
        const Pixels after = Flattened(picture.get(), {mark});
        const RECT ink = AnnotationInkBounds(mark);
        int inside = 0, outside = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 120; ++x)
                if (after.At(x, y) != before.At(x, y))
                    ++(x >= ink.left && x < ink.right && y >= ink.top && y < ink.bottom ? inside : outside);
        EXPECT_GT(inside, 0);
        EXPECT_EQ(outside, 0);
    }
}

TEST(AnnotationPainter, PaintsOnlyInsideTheClipAndKeepsNoGdiObjects)
{
    Annotation box = Mark(AnnotationKind::kRectangle, {{10, 10}, {90, 90}}, RGB(0, 0, 255));
    box.style.fill = AnnotationFill::kSolid;
    const Pixels shown = Painted(100, 100, CanvasMapping{}, RECT{0, 0, 50, 100}, {box});
    EXPECT_EQ(shown.At(30, 50), 0x0000FFu);
    EXPECT_EQ(shown.At(50, 50), kWhite);
    EXPECT_EQ(shown.At(88, 50), kWhite);

    const CBitmapOwner picture = MakePicture(120, 100, Noise);
    Painted(240, 200, CanvasMapping{2, {10, 10}}, RECT{0, 0, 240, 200}, EveryKind(), picture.get());
    const size_t live = LiveGdiObjects();
    Painted(240, 200, CanvasMapping{2, {10, 10}}, RECT{0, 0, 240, 200}, EveryKind(), picture.get());
    EXPECT_EQ(LiveGdiObjects(), live);
}

// Shapes far larger than what is drawn: each draws the part that shows, where it lies.
TEST(AnnotationPainter, HugeShapesDrawTheirVisiblePart)
{
    // A full-frame ellipse at 3200%, seen at its left end: the outline crosses the view's middle.
    const Annotation ellipse = Mark(AnnotationKind::kEllipse, {{0, 0}, {1920, 1080}}, RGB(0, 0, 255));
    const CanvasMapping leftEnd{32, {-400, 540 * 32 - 300}};
    const Pixels edge = Painted(800, 600, leftEnd, RECT{0, 0, 800, 600}, {ellipse});
    EXPECT_EQ(0x0000FFu, edge.At(400, 300));
    EXPECT_EQ(kWhite, edge.At(300, 300)) << "outside";
    EXPECT_EQ(kWhite, edge.At(600, 300)) << "inside, unfilled";

    // An ellipse 100,000 pixels tall at 100%, filled: the picture lies inside it.
    Annotation tall = Mark(AnnotationKind::kEllipse, {{-20, -50000}, {220, 50000}}, RGB(0, 0, 255));
    tall.style.fill = AnnotationFill::kSolid;
    const CBitmapOwner picture = WhitePicture(200, 100);
    const Pixels filled = Flattened(picture.get(), {tall});
    EXPECT_EQ(0x0000FFu, filled.At(0, 0));
    EXPECT_EQ(0x0000FFu, filled.At(199, 99));

    // A long pen stroke zigzagging across the view at 3200%.
    Annotation pen = Mark(AnnotationKind::kPen, {}, RGB(0, 0, 255), 2);
    for (int i = 0; i < 20000; ++i)
        pen.points.push_back(ImagePoint{static_cast<float>(i % 2 ? 1000 : 0), static_cast<float>(i) * 0.05f});
    const Pixels stroke = Painted(800, 600, CanvasMapping{32, {500 * 32 - 400, 300 * 32 - 300}},
                                  RECT{0, 0, 800, 600}, {pen});
    EXPECT_NE(0u, std::count(stroke.values.begin(), stroke.values.end(), 0x0000FFu));

    // 2,000 characters at size 200 on many lines, at 3200% and at 1600% (the largest
    // Wine's fonts reach): the lines in view show.
    Annotation text = Mark(AnnotationKind::kText, {{0, 0}}, RGB(0, 0, 255));
    text.style.fontSize = 200;
    for (int line = 0; line < 100; ++line)
        text.text += std::wstring(19, L'田') + L"\n";
    const ImagePoint size = MeasureAnnotationText(text.text, text.style);
    text.points.push_back(size);
    for (const float zoom : {32.0f, 16.0f}) {
        const Pixels glyphs = Painted(1600, 1200, CanvasMapping{zoom, {0, static_cast<LONG>(size.y / 2 * zoom)}},
                                      RECT{0, 0, 1600, 1200}, {text});
        if (zoom == 16) {
            EXPECT_NE(0u, std::count(glyphs.values.begin(), glyphs.values.end(), 0x0000FFu));
        }
    }
}
