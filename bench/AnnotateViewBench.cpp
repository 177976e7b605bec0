// What the marks cost the image view, with the references measured in the same run:
// - repainting a 1920x1080 image at 100% with 200 marks of every kind over the part
//   the view shows, against painting the same image without marks (budget: 2x), and
//   the first paint after the marks changed, when they are all drawn again;
// - one mouse move while a new rectangle is dragged over a 3840x2160 image, against a
//   full repaint of the same view with the same marks (budget: under 0.10), both the
//   view's own (from its cache) and one with every mark drawn again;
// - with 1,000 marks, Ctrl+A and one undo step, each until the view has repainted,
//   against one repaint of the same view from its cache (budget: 50 ms each, judged
//   here as a ratio to that repaint's own time).
// The cases run in turns, round after round; budgets are judged on the minima.
#include <windows.h>

#include <cstdio>
#include <string>

#include "BenchTools.h"
#include "annotate/AnnotationTools.h"
#include "document/ImageView.h"
#include "document/MarksCache.h"
#include "res/resource.h"

namespace {
constexpr int kRounds = 31;
constexpr int kViewWidth = 1200;
constexpr int kViewHeight = 900;

// Marks of every kind in turn (200 by default), spread over the visible part of the view.
void AddMixedMarks(CImageView& view, int count = 200)
{
    CAnnotatedImage& picture = view.Document().Picture();
    for (int i = 0; i < count; ++i) {
        const float x = static_cast<float>(40 + (i * 97) % (kViewWidth - 160));
        const float y = static_cast<float>(40 + (i * 61) % (kViewHeight - 140));
        Annotation mark;
        mark.kind = static_cast<AnnotationKind>(i % kAnnotationKindCount);
        mark.points = {{x, y}, {x + 90, y + 60}};
        switch (mark.kind) {
        case AnnotationKind::kPen:
        case AnnotationKind::kHighlighter:
            mark.points.clear();
            for (int p = 0; p < 20; ++p)
                mark.points.push_back({x + p * 5.0f, y + (p % 4) * 6.0f});
            break;
        case AnnotationKind::kText:
            mark.text = L"标注文字 " + std::to_wstring(i);
            mark.points[1] = {x + 120, y + 20};
            break;
        case AnnotationKind::kStep:
            mark.points = {{x, y}};
            mark.number = i / kAnnotationKindCount + 1;
            break;
        default:
            break;
        }
        picture.Execute(CAnnotationEdit::Insert(picture.Objects().size(), mark));
    }
}

void Report(const char* what, const CSamples& ours, const CSamples& reference, double budget, bool under)
{
    const double ratio = ours.Min() / reference.Min();
    std::printf("%-44s min %8.3f median %8.3f ms | reference min %8.3f median %8.3f ms | ratio %5.3f (medians %5.3f)  "
                "budget %s %.2f%s\n",
                what, ours.Min(), ours.Median(), reference.Min(), reference.Median(), ratio,
                ours.Median() / reference.Median(), under ? "<" : "<=", budget,
                (under ? ratio < budget : ratio <= budget) ? "" : " MISSED");
}

HWND CreateHost()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "AnnotateBenchHost";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, kViewWidth + 40,
                           kViewHeight + 40, nullptr, nullptr, wc.hInstance, nullptr);
}

// A document of a screenshot-like picture shown in a view on the host.
struct BenchDocument {
    CImageDocument document;
    CImageView view{document};

    BenchDocument(HWND host, int width, int height, const char* name)
    {
        view.CreateView(host);
        SetWindowPos(view, nullptr, 0, 0, kViewWidth + 30, kViewHeight + 30, SWP_NOZORDER);
        document.Adopt(CBitmapOwner(MakeScreenshotLikeBitmap(width, height)), name, true);
        view.ShowNewImage();
    }
};
}

int main()
{
    HWND host = CreateHost();
    CAnnotationTools tools;

    BenchDocument markedDocument(host, 1920, 1080, "marked"), plainDocument(host, 1920, 1080, "plain");
    CImageView& marked = markedDocument.view;
    CImageView& plain = plainDocument.view;
    marked.SetAnnotationTools(&tools);
    plain.SetAnnotationTools(&tools);
    AddMixedMarks(marked);

    BenchDocument largeDocument(host, 3840, 2160, "large");
    CImageView& large = largeDocument.view;
    large.SetAnnotationTools(&tools);
    AddMixedMarks(large);
    BenchDocument thousandDocument(host, 1920, 1080, "thousand");
    CImageView& thousand = thousandDocument.view;
    thousand.SetAnnotationTools(&tools);
    AddMixedMarks(thousand, 1000);
    BYTE keys[256] = {};

    CSamples withMarks, firstPaints, editPaints, without, moves, repaints, redraws, selectAlls, undos, cached;
    for (int round = 0; round < kRounds; ++round) {
        tools.SetTool(AnnotationTool::kRectangle);
        Raise(thousand);
        TimeOnce(cached, [&] { Paint(thousand); });
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        TimeOnce(selectAlls, [&] {
            SendMessageA(thousand, WM_KEYDOWN, 'A', 0);
            UpdateWindow(thousand);
            GdiFlush();
        });
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
        tools.SetTool(AnnotationTool::kRectangle);
        Annotation mark;
        mark.points = {{100, 100}, {300, 200}};
        thousand.Document().Picture().Execute(CAnnotationEdit::Insert(1000, mark));
        Paint(thousand);
        TimeOnce(undos, [&] {
            SendMessageA(thousand, WM_COMMAND, ID_ANNOTATE_UNDO, 0);
            UpdateWindow(thousand);
            GdiFlush();
        });
    }
    tools.SetTool(AnnotationTool::kRectangle);

    for (int round = 0; round < kRounds; ++round) {
        Raise(marked);
        TimeOnce(withMarks, [&] { Paint(marked); });
        CMarksCache::Shared().Drop(&marked);
        TimeOnce(firstPaints, [&] { Paint(marked); });
        // A rectangle drawn by the user: only what it covers is drawn again.
        SendMessageA(marked, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 40));
        SendMessageA(marked, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(120, 90));
        SendMessageA(marked, WM_LBUTTONUP, 0, MAKELPARAM(120, 90));
        TimeOnce(editPaints, [&] { Paint(marked); });
        SendMessageA(marked, WM_COMMAND, ID_ANNOTATE_UNDO, 0);
        Paint(marked);
        Raise(plain);
        TimeOnce(without, [&] { Paint(plain); });

        Raise(large);
        SendMessageA(large, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 200));
        SendMessageA(large, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(500, 350));
        UpdateWindow(large);
        TimeOnce(moves, [&] {
            SendMessageA(large, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(503, 352));
            UpdateWindow(large);
            GdiFlush();
        });
        TimeOnce(repaints, [&] { Paint(large); });
        CMarksCache::Shared().Drop(&large);
        TimeOnce(redraws, [&] { Paint(large); });
        SendMessageA(large, WM_LBUTTONUP, 0, MAKELPARAM(503, 352));
        large.Document().Picture().Undo();
    }
    std::printf("view %dx%d, %d rounds\n", kViewWidth, kViewHeight, kRounds);
    Report("repaint 1920x1080 at 100% with 200 marks", withMarks, without, 2.0, false);
    Report("first paint after the marks changed", firstPaints, without, 2.0, false);
    Report("first paint after drawing a rectangle", editPaints, without, 2.0, false);
    Report("mouse move dragging a rectangle on 3840x2160", moves, repaints, 0.10, true);
    Report("the same against drawing every mark again", moves, redraws, 0.10, true);
    // The budgets of 50 ms as ratios to this run's cached repaint.
    const double cachedMs = cached.Min();
    Report("Ctrl+A with 1000 marks", selectAlls, cached, 50 / cachedMs, false);
    Report("one undo step with 1000 marks", undos, cached, 50 / cachedMs, false);
    DestroyWindow(host);
    return 0;
}
