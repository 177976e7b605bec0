#include <windows.h>

#include <vector>

#include "annotate/AnnotationTools.h"
#include "document/ImageView.h"
#include "document/MarksCache.h"
#include "gui/FrameFixture.h"
#include "imageio/TopDownDib.h"
#include "res/resource.h"
#include "scoped/ScopedHandles.h"

// The view keeps the shown picture with its marks and moves it along when it scrolls;
// whatever it shows must be what drawing everything afresh shows.
namespace {
std::vector<DWORD> ClientPixels(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    DWORD* bits = nullptr;
    const CBitmapOwner bitmap = CreateTopDownDib(client.right, client.bottom, bits);
    const CMemoryDC memory(nullptr);
    const CSelectObject selection(memory, bitmap.get());
    const CWindowDC source(window);
    BitBlt(memory, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
    GdiFlush();
    return std::vector<DWORD>(bits, bits + client.right * client.bottom);
}

Annotation Mark(AnnotationKind kind, std::vector<ImagePoint> points)
{
    Annotation mark;
    mark.kind = kind;
    mark.points = std::move(points);
    mark.number = 1;
    return mark;
}

class MarksCacheTest : public FrameFixture {};

TEST_F(MarksCacheTest, AScrolledViewShowsWhatAFreshPaintShows)
{
    ASSERT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(300, 200), "C:\\a.bmp", true));
    auto& view = *static_cast<CImageView*>(CWindow::FromHandle(GetWindow(m_frame->ActiveDocument(), GW_CHILD)));
    CAnnotatedImage& picture = view.Document().Picture();
    for (const Annotation& mark : {Mark(AnnotationKind::kRectangle, {{30, 20}, {90, 60}}),
                                   Mark(AnnotationKind::kArrow, {{100, 100}, {40, 70}}),
                                   Mark(AnnotationKind::kHighlighter, {{20, 80}, {120, 85}}),
                                   Mark(AnnotationKind::kStep, {{70, 40}})})
        picture.Execute(CAnnotationEdit::Insert(picture.Objects().size(), mark));
    view.ZoomToLevel(ID_ZOOM_800 - ID_ZOOM_10);
    UpdateWindow(view);
    for (int step = 0; step < 6; ++step) {
        SendMessageA(view, WM_HSCROLL, SB_LINERIGHT, 0);
        UpdateWindow(view);
        SendMessageA(view, WM_VSCROLL, SB_LINEDOWN, 0);
        UpdateWindow(view);
    }
    SendMessageA(view, WM_VSCROLL, SB_LINEUP, 0);
    UpdateWindow(view);
    const std::vector<DWORD> scrolled = ClientPixels(view);

    CMarksCache::Shared().Drop(&view);
    InvalidateRect(view, nullptr, FALSE);
    UpdateWindow(view);
    const std::vector<DWORD> fresh = ClientPixels(view);
    ASSERT_EQ(fresh.size(), scrolled.size());
    size_t differing = 0, inked = 0;
    for (size_t i = 0; i < fresh.size(); ++i) {
        differing += fresh[i] != scrolled[i];
        inked += (fresh[i] & 0xFFFFFF) == 0xFF0000;
    }
    EXPECT_GT(inked, 1000u) << "the marks are in view";
    EXPECT_EQ(0u, differing);
}
}  // namespace
