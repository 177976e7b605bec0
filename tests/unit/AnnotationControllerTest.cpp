#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "annotate/AnnotationController.h"
#include "annotate/AnnotationTools.h"
#include "imageio/TopDownDib.h"

// The controller with no window: a surface that records what is asked of it, shown at
// 200% and scrolled, so that every point goes through the mapping.

namespace {

constexpr DWORD kGrey = 0x808080;

class CFakeTextBox final : public IAnnotationTextBox {
public:
    bool Open(POINT client, float, const AnnotationStyle&, const std::wstring& text) override
    {
        at = client;
        typed = text;
        open = true;
        return true;
    }
    std::wstring Close() override
    {
        open = false;
        return typed;
    }
    bool IsOpen() const override { return open; }
    bool IsChanged() const override { return false; }
    void Place(POINT client, float) override { at = client; }
    void FitLines() override {}

    bool open = false;
    POINT at{};
    std::wstring typed;
};

class CRecordingSurface final : public IAnnotationSurface {
public:
    CanvasMapping Mapping() const override { return mapping; }
    void PictureEdited() override {}
    void MarksChanged() override { ++marksChanged; }
    void Invalidate(const RECT* client) override { invalidated.push_back(client ? *client : kEverything); }
    void CaptureMouse() override { captured = true; }
    void ReleaseMouse() override { captured = false; }
    int ScreenPixels(int pixels) const override { return pixels; }
    IAnnotationTextBox& TextBox() override { return textBox; }
    void ReportFailure(UINT, DWORD) override { ADD_FAILURE() << "no failure expected"; }

    static constexpr RECT kEverything{-1, -1, -1, -1};
    CanvasMapping mapping{2.0f, POINT{10, 20}};
    std::vector<RECT> invalidated;
    int marksChanged = 0;
    bool captured = false;
    CFakeTextBox textBox;
};

Annotation Box(float left, float top, float right, float bottom)
{
    Annotation box;
    box.points = {{left, top}, {right, bottom}};
    box.style.colour = RGB(0, 0, 255);
    box.style.fill = AnnotationFill::kSolid;
    return box;
}

class AnnotationController : public ::testing::Test {
protected:
    void Show(int width, int height, std::vector<Annotation> marks = {})
    {
        DWORD* bits = nullptr;
        m_picture.Reset(CreateTopDownDib(width, height, bits).release(), std::move(marks));
        m_controller.SetTools(&m_tools);
    }

    // The client point of an image point.
    POINT At(float x, float y) const
    {
        const CanvasMapping& m = m_surface.mapping;
        return POINT{std::lround(x * m.zoom) - m.offset.x, std::lround(y * m.zoom) - m.offset.y};
    }

    void Drag(ImagePoint from, ImagePoint to, unsigned keys = 0)
    {
        m_controller.OnButtonDown(At(from.x, from.y), keys, false);
        m_controller.OnMouseMove(At(to.x, to.y), keys);
        m_controller.OnButtonUp(At(to.x, to.y), keys);
    }

    void Click(float x, float y, unsigned keys = 0)
    {
        m_controller.OnButtonDown(At(x, y), keys, false);
        m_controller.OnButtonUp(At(x, y), keys);
    }

    const Annotation& Mark(size_t index) const { return m_picture.Objects().at(index); }

    CAnnotatedImage m_picture;
    CRecordingSurface m_surface;
    CAnnotationTools m_tools;
    CAnnotationController m_controller{m_picture, m_surface};
};

void ExpectPoint(ImagePoint expected, ImagePoint actual)
{
    EXPECT_EQ(expected.x, actual.x);
    EXPECT_EQ(expected.y, actual.y);
}

}  // namespace

TEST_F(AnnotationController, ADragDrawsTheToolsMarkWhileHoldingTheMouseAndShiftSnaps)
{
    Show(200, 200);
    m_tools.SetTool(AnnotationTool::kRectangle);
    m_controller.OnButtonDown(At(60, 60), 0, false);
    EXPECT_TRUE(m_surface.captured);
    m_surface.invalidated.clear();
    m_controller.OnMouseMove(At(100, 80), 0);
    ASSERT_EQ(1u, m_surface.invalidated.size());
    const RECT moved = m_surface.invalidated[0];
    EXPECT_TRUE(moved.left > 0 && moved.left <= At(60, 60).x && moved.right >= At(100, 80).x &&
                moved.right < At(150, 0).x)
        << "a move repaints the draft's area, not the view";
    m_controller.OnButtonUp(At(100, 80), 0);
    EXPECT_FALSE(m_surface.captured);
    ASSERT_EQ(1u, m_picture.Objects().size());
    EXPECT_EQ(AnnotationKind::kRectangle, Mark(0).kind);
    ExpectPoint({60, 60}, Mark(0).points[0]);
    ExpectPoint({100, 80}, Mark(0).points[1]);
    EXPECT_EQ(m_tools.StyleFor(AnnotationKind::kRectangle).colour, Mark(0).style.colour);

    Drag({100, 100}, {140, 120}, kShiftKey);
    ExpectPoint({140, 140}, Mark(1).points[1]);  // a square
    m_tools.SetTool(AnnotationTool::kArrow);
    Drag({100, 100}, {150, 140}, kShiftKey);
    EXPECT_EQ(AnnotationKind::kArrow, Mark(2).kind);
    EXPECT_FLOAT_EQ(Mark(2).points[1].x - 100, Mark(2).points[1].y - 100) << "at 45 degrees";

    Drag({10, 10}, {11, 11});
    EXPECT_EQ(3u, m_picture.Objects().size()) << "a drag shorter than 3 screen pixels draws nothing";
}

TEST_F(AnnotationController, AHandleResizesDelDeletesAndUndoRedoStepThroughIt)
{
    Show(200, 200, {Box(20, 20, 60, 60), Box(100, 100, 120, 120)});
    m_tools.SetTool(AnnotationTool::kSelect);
    Click(40, 20);  // the top edge selects the mark
    Drag({60, 60}, {80, 90});  // its bottom-right handle
    ExpectPoint({20, 20}, Mark(0).points[0]);
    ExpectPoint({80, 90}, Mark(0).points[1]);
    EXPECT_FALSE(m_surface.captured);

    EXPECT_TRUE(m_controller.OnKeyDown(VK_RIGHT, kShiftKey));
    EXPECT_EQ(30.0f, Mark(0).points[0].x) << "Shift moves by ten";
    EXPECT_TRUE(m_controller.OnKeyDown(VK_DELETE, 0));
    ASSERT_EQ(1u, m_picture.Objects().size());
    ExpectPoint({100, 100}, Mark(0).points[0]);

    m_controller.Undo();
    ASSERT_EQ(2u, m_picture.Objects().size());
    EXPECT_EQ(30.0f, Mark(0).points[0].x);
    m_controller.Undo();
    m_controller.Undo();
    ExpectPoint({60, 60}, Mark(0).points[1]);
    m_controller.Redo();
    ExpectPoint({80, 90}, Mark(0).points[1]);
    m_controller.OnKeyDown(VK_DELETE, 0);
    EXPECT_EQ(2u, m_picture.Objects().size()) << "an undo or a redo leaves nothing selected";
}

TEST_F(AnnotationController, EscDropsTheDragInProgressAndThenChoosesTheHand)
{
    Show(200, 200, {Box(20, 20, 60, 60)});
    m_tools.SetTool(AnnotationTool::kEllipse);
    m_controller.OnButtonDown(At(100, 100), 0, false);
    m_controller.OnMouseMove(At(150, 150), 0);
    EXPECT_TRUE(m_controller.OnKeyDown(VK_ESCAPE, 0));
    EXPECT_FALSE(m_surface.captured);
    EXPECT_FALSE(m_controller.IsDragging());
    m_controller.OnButtonUp(At(150, 150), 0);
    EXPECT_EQ(1u, m_picture.Objects().size()) << "the ellipse is not drawn";
    EXPECT_EQ(AnnotationTool::kEllipse, m_tools.Tool());

    m_tools.SetTool(AnnotationTool::kSelect);
    m_controller.OnButtonDown(At(20, 40), 0, false);
    m_controller.OnMouseMove(At(50, 70), 0);
    EXPECT_TRUE(m_controller.EndWorkInProgress());
    m_controller.OnButtonUp(At(50, 70), 0);
    ExpectPoint({20, 20}, Mark(0).points[0]);  // the move is dropped

    EXPECT_FALSE(m_controller.EndWorkInProgress());
    EXPECT_TRUE(m_controller.OnKeyDown(VK_ESCAPE, 0));
    EXPECT_EQ(AnnotationTool::kHand, m_tools.Tool());
}

TEST_F(AnnotationController, TextTypedInTheBoxBecomesAMarkWhereItWasClicked)
{
    Show(200, 200);
    m_tools.SetTool(AnnotationTool::kText);
    Click(30, 40);
    ASSERT_TRUE(m_surface.textBox.open);
    EXPECT_EQ(At(30, 40).x, m_surface.textBox.at.x);
    EXPECT_FALSE(m_controller.OnKeyDown('R', 0)) << "the box has the keys";
    m_surface.mapping.offset = POINT{0, 0};
    m_controller.ViewMoved();
    EXPECT_EQ(At(30, 40).y, m_surface.textBox.at.y) << "the box follows a scroll";
    m_surface.textBox.typed = L"标注";
    m_controller.FinishText();
    ASSERT_EQ(1u, m_picture.Objects().size());
    EXPECT_EQ(L"标注", Mark(0).text);
    ExpectPoint({30, 40}, Mark(0).points[0]);

    Click(31, 41);  // on the mark: its text is edited
    EXPECT_EQ(L"标注", m_surface.textBox.typed);
    m_surface.textBox.typed.clear();
    m_controller.FinishText();
    EXPECT_TRUE(m_picture.Objects().empty()) << "an emptied box removes its mark";
}

TEST_F(AnnotationController, AClickAfterSelectingAllSelectsThatMarkAlone)
{
    Show(100, 100, {Box(10, 10, 30, 30), Box(50, 50, 70, 70), Box(10, 60, 30, 80)});
    EXPECT_TRUE(m_controller.OnKeyDown('A', kControlKey));
    Click(60, 60);
    EXPECT_TRUE(m_controller.OnKeyDown(VK_DELETE, 0));
    ASSERT_EQ(2u, m_picture.Objects().size()) << "only the mark clicked is gone";
    EXPECT_EQ(60.0f, Mark(1).points[0].y);

    // A drag from one of several selected marks still moves them all.
    m_controller.OnKeyDown('A', kControlKey);
    Drag({20, 20}, {25, 20});
    EXPECT_EQ(15.0f, Mark(0).points[0].x);
    EXPECT_EQ(15.0f, Mark(1).points[0].x);
}

TEST_F(AnnotationController, MarksBeyondThePictureAreNotDrawn)
{
    Show(50, 40, {Box(30, 20, 80, 70)});
    m_surface.mapping = CanvasMapping{};
    DWORD* shown = nullptr;
    const CBitmapOwner device(CreateTopDownDib(100, 100, shown));
    std::fill(shown, shown + 100 * 100, kGrey);
    {
        const CMemoryDC dc(nullptr);
        const CSelectObject selection(dc, device.get());
        m_controller.PaintMarks(dc, RECT{0, 0, 100, 100}, POINT{0, 0});
        GdiFlush();
    }
    EXPECT_EQ(0x0000FFu, shown[35 * 100 + 45] & 0xFFFFFF) << "inside the picture";
    EXPECT_EQ(kGrey, shown[35 * 100 + 60] & 0xFFFFFF) << "right of the picture";
    EXPECT_EQ(kGrey, shown[60 * 100 + 45] & 0xFFFFFF) << "below the picture";
}
