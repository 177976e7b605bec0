// What the marks cost a paint: a 1920x1080 image at 100% with 200 marks of every kind
// (blit, then PaintAnnotations into the same memory DC, as the view draws them),
// against the blit alone, taken in turns. Budget: at most twice the blit.
// Then each kind alone, 200 marks of it, to show where the time goes; the least that
// 200 marks drawn by GDI+ can cost: 200 fills of one pixel each; and a repaint of
// 300x200 pixels, as dragging a mark asks for, against the blit of those pixels.
#include <windows.h>

#include <gdiplus.h>

#include <cstdio>
#include <vector>

#include "BenchTools.h"
#include "annotate/AnnotationPainter.h"
#include "annotate/GdiplusSession.h"
#include "scoped/ScopedHandles.h"

namespace {
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kMarks = 200;
constexpr int kRounds = 15;
constexpr double kBudget = 2.0;

class CRandom {
public:
    float Next(float low, float high)
    {
        m_nState = m_nState * 1103515245u + 12345u;
        return low + (high - low) * static_cast<float>(m_nState >> 8 & 0xFFFF) / 65536.0f;
    }

private:
    unsigned m_nState = 2024;
};

// Marks of the sizes people draw: boxes of 40 to 300 pixels, strokes of 20 points,
// texts of a few words, redacts and mosaics of a line or a paragraph.
Annotation MakeMark(AnnotationKind kind, CRandom& random)
{
    Annotation mark;
    mark.kind = kind;
    mark.style.colour = RGB(static_cast<int>(random.Next(0, 255)), 0, static_cast<int>(random.Next(0, 255)));
    mark.style.width = random.Next(1, 8);
    mark.style.fill = static_cast<AnnotationFill>(static_cast<int>(random.Next(0, 2.99f)));
    const ImagePoint at{random.Next(0, kWidth - 300), random.Next(0, kHeight - 300)};
    const ImagePoint corner{at.x + random.Next(40, 300), at.y + random.Next(20, 200)};
    switch (kind) {
    case AnnotationKind::kPen:
    case AnnotationKind::kHighlighter:
        for (int i = 0; i < 20; ++i)
            mark.points.push_back(ImagePoint{at.x + i * 12, at.y + random.Next(0, 80)});
        break;
    case AnnotationKind::kText:
        mark.text = L"这里需要修改 OK";
        mark.points = {at, at};
        mark.points[1] = ImagePoint{at.x + MeasureAnnotationText(mark.text, mark.style).x,
                                    at.y + MeasureAnnotationText(mark.text, mark.style).y};
        break;
    case AnnotationKind::kStep:
        mark.number = static_cast<int>(random.Next(1, 20));
        mark.points = {at};
        break;
    default:
        mark.points = {at, corner};
    }
    return mark;
}

std::vector<Annotation> MakeMarks(int kinds, int first)
{
    CRandom random;
    std::vector<Annotation> marks;
    for (int i = 0; i < kMarks; ++i)
        marks.push_back(MakeMark(static_cast<AnnotationKind>(first + i % kinds), random));
    return marks;
}

struct Canvas {
    HBITMAP image;
    HDC memory;
    HDC source;
    RECT area;  // what is repainted

    void Blit() const
    {
        const CSelectObject selection(source, image);
        BitBlt(memory, area.left, area.top, area.right - area.left, area.bottom - area.top, source, area.left,
               area.top, SRCCOPY);
    }
    void BlitAndPaint(const std::vector<Annotation>& marks) const
    {
        Blit();
        PaintAnnotations(memory, CanvasMapping{}, area, image, marks);
    }
    void BlitAndFillPixels() const
    {
        Blit();
        Gdiplus::Graphics graphics(memory);
        const Gdiplus::SolidBrush brush(Gdiplus::Color(255, 255, 0, 0));
        for (int i = 0; i < kMarks; ++i)
            graphics.FillRectangle(&brush, i * 9, i * 5, 1, 1);
    }
};

struct Figures {
    CSamples blits, paints, ratios;
};

template <typename Paint>
Figures Measure(const Canvas& canvas, Paint&& paint)
{
    Figures figures;
    paint();  // GDI+ starts, fonts load: not part of a paint
    GdiFlush();
    for (int round = 0; round < kRounds; ++round) {
        TimeOnce(figures.blits, [&] { canvas.Blit(); GdiFlush(); });
        TimeOnce(figures.paints, [&] { paint(); GdiFlush(); });
        figures.ratios.Add(figures.paints.Last() / figures.blits.Last());
    }
    return figures;
}

void Report(const char* what, const Figures& f, bool budget)
{
    std::printf("%-20s blit min %6.2f med %6.2f ms | with marks min %7.2f med %7.2f max %7.2f ms | "
                "ratio min %5.2f med %5.2f max %5.2f",
                what, f.blits.Min(), f.blits.Median(), f.paints.Min(), f.paints.Median(), f.paints.Max(),
                f.ratios.Min(), f.ratios.Median(), f.ratios.Max());
    if (budget)
        std::printf("  budget <= %.1f%s", kBudget, f.ratios.Median() <= kBudget ? "" : " MISSED");
    std::printf("\n");
}

}  // namespace

int main()
{
    const CBitmapOwner image(MakeScreenshotLikeBitmap(kWidth, kHeight));
    const CScreenDC screen;
    const CBitmapOwner back(CreateCompatibleBitmap(screen, kWidth, kHeight));
    const CMemoryDC memory(screen), source(screen);
    const CSelectObject selection(memory, back.get());
    const Canvas canvas{image.get(), memory, source, RECT{0, 0, kWidth, kHeight}};

    std::printf("%dx%d at 100%%, %d marks, %d rounds in turns\n", kWidth, kHeight, kMarks, kRounds);
    const auto marks = [&](int kinds, int first) {
        return [&canvas, all = MakeMarks(kinds, first)] { canvas.BlitAndPaint(all); };
    };
    Report("every kind", Measure(canvas, marks(kAnnotationKindCount, 0)), true);
    static const char* const names[kAnnotationKindCount] = {"arrows", "lines", "rectangles", "ellipses", "pens",
                                                            "highlighters", "texts", "steps", "redacts", "mosaics"};
    for (int kind = 0; kind < kAnnotationKindCount; ++kind)
        Report(names[kind], Measure(canvas, marks(1, kind)), false);
    CGdiplusSession::Start();
    Report("one-pixel GDI+ fills", Measure(canvas, [&] { canvas.BlitAndFillPixels(); }), false);
    const Canvas dirty{image.get(), memory, source, RECT{800, 400, 1100, 600}};
    const std::vector<Annotation> all = MakeMarks(kAnnotationKindCount, 0);
    Report("300x200 repaint", Measure(dirty, [&] { dirty.BlitAndPaint(all); }), false);
    return 0;
}
