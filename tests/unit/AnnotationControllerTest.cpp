#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "annotate/AnnotationTools.h"
#include "document/AnnotationController.h"
#include "imageio/TopDownDib.h"

// The controller over a picture at 100%, in a hidden window of its own, driven as the
// view drives it.

namespace {

constexpr DWORD kGrey = 0x808080;

class CTestSurface : public IAnnotationSurface {
public:
    CTestSurface() : m_window(CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr)) {}
    ~CTestSurface() { DestroyWindow(m_window); }
    CanvasMapping Mapping() const override { return CanvasMapping{}; }
    void PictureEdited() override {}
    void MarksChanged() override {}
    HWND Window() const override { return m_window; }

private:
    HWND m_window;
};

Annotation Box(float left, float top, float right, float bottom)
{
    Annotation box;
    box.points = {{left, top}, {right, bottom}};
    box.style.colour = RGB(0, 0, 255);
    box.style.fill = AnnotationFill::kSolid;
    return box;
}

void Click(CAnnotationController& controller, POINT at)
{
    controller.OnButtonDown(at, false, false);
    controller.OnButtonUp(at, false);
}

// Ctrl held for this thread, as the key handler reads it.
void HoldControl(bool held)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = held ? 0x80 : 0;
    SetKeyboardState(keys);
}

}  // namespace

TEST(AnnotationController, AClickAfterSelectingAllSelectsThatMarkAlone)
{
    CAnnotatedImage picture;
    DWORD* bits = nullptr;
    picture.Reset(CreateTopDownDib(100, 100, bits).release(), {Box(10, 10, 30, 30), Box(50, 50, 70, 70), Box(10, 60, 30, 80)});
    CTestSurface surface;
    CAnnotationTools tools;
    CAnnotationController controller(picture, surface);
    controller.SetTools(&tools);

    HoldControl(true);
    EXPECT_TRUE(controller.OnKeyDown('A'));
    HoldControl(false);
    Click(controller, POINT{60, 60});
    EXPECT_TRUE(controller.OnKeyDown(VK_DELETE));
    ASSERT_EQ(2u, picture.Objects().size()) << "only the mark clicked is gone";
    EXPECT_EQ(60.0f, picture.Objects()[1].points[0].y);

    // A drag from one of several selected marks still moves them all.
    HoldControl(true);
    controller.OnKeyDown('A');
    HoldControl(false);
    controller.OnButtonDown(POINT{20, 20}, false, false);
    controller.OnMouseMove(POINT{25, 20}, false);
    controller.OnButtonUp(POINT{25, 20}, false);
    EXPECT_EQ(15.0f, picture.Objects()[0].points[0].x);
    EXPECT_EQ(15.0f, picture.Objects()[1].points[0].x);
}

TEST(AnnotationController, MarksBeyondThePictureAreNotDrawn)
{
    CAnnotatedImage picture;
    DWORD* bits = nullptr;
    picture.Reset(CreateTopDownDib(50, 40, bits).release(), {Box(30, 20, 80, 70)});
    CTestSurface surface;
    CAnnotationController controller(picture, surface);

    DWORD* shown = nullptr;
    const CBitmapOwner device(CreateTopDownDib(100, 100, shown));
    std::fill(shown, shown + 100 * 100, kGrey);
    {
        const CMemoryDC dc(nullptr);
        const CSelectObject selection(dc, device.get());
        controller.PaintMarks(dc, RECT{0, 0, 100, 100}, POINT{0, 0});
        GdiFlush();
    }
    EXPECT_EQ(0x0000FFu, shown[35 * 100 + 45] & 0xFFFFFF) << "inside the picture";
    EXPECT_EQ(kGrey, shown[35 * 100 + 60] & 0xFFFFFF) << "right of the picture";
    EXPECT_EQ(kGrey, shown[60 * 100 + 45] & 0xFFFFFF) << "below the picture";
}
