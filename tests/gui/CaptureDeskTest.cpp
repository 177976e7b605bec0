// The capture desk worked with real input over a frame of known pixels shown at the
// screen's top-left: marks, the ways out, adjusting the selection and saving.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include "DeskWindows.h"
#include "DialogAnswerer.h"
#include "PixelReader.h"
#include "KeyInput.h"
#include "LiveGdiObjects.h"
#include "LiveUserObjects.h"
#include "RealClick.h"
#include "TempFolder.h"
#include "annotate/AnnotationTools.h"
#include "capture/desk/CaptureDesk.h"
#include "gui/FileDialogInput.h"
#include "gui/FrameFixture.h"
#include "imageio/ImageFormats.h"
#include "res/resource.h"

namespace {
const RECT kChosen{100, 80, 420, 300};

RECT WindowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// Whether every pixel of picture is the pattern's at place.
::testing::AssertionResult ShowsPattern(HBITMAP picture, const RECT& place)
{
    BITMAP info{};
    if (!picture || !GetObject(picture, sizeof(info), &info))
        return ::testing::AssertionFailure() << "no picture";
    if (info.bmWidth != place.right - place.left || info.bmHeight != place.bottom - place.top)
        return ::testing::AssertionFailure() << "picture of " << info.bmWidth << " x " << info.bmHeight;
    for (int y = 0; y < info.bmHeight; ++y)
        for (int x = 0; x < info.bmWidth; ++x)
            if (BitmapPixel(picture, x, y) != PatternColor(place.left + x, place.top + y))
                return ::testing::AssertionFailure() << "differs at " << x << ", " << y;
    return ::testing::AssertionSuccess();
}

class CaptureDesk : public ::testing::Test {
protected:
    // Runs the desk over the pattern with the selection, acting once the desk has the
    // keyboard; a desk still up at the deadline is closed, which cancels it.
    DeskResult Run(const std::function<void()>& act, const RECT& selection = kChosen,
                   const std::function<bool()>& ready = DeskHasKeyboard)
    {
        CTimedSteps steps({{ready, act}}, 10000, [] { PostMessageA(Desk(), WM_CLOSE, 0, 0); });
        DeskResult result = RunCaptureDesk(m_frame.get(), m_origin, selection, m_tools, m_settings);
        EXPECT_TRUE(steps.Finished());
        EXPECT_FALSE(IsWindow(Desk()));
        return result;
    }

    CBitmapOwner m_frame = MakePatternBitmap(800, 480);
    POINT m_origin{0, 0};  // of the frame on the screen
    CAnnotationTools m_tools;
    CSettings m_settings;
};

TEST_F(CaptureDesk, MarksDrawnWithKeysAndDragsAreCopiedOverTheExactPixels)
{
    const DeskResult result = Run([] {
        PressKeys({'R'});
        DragOnScreen({{150, 130}, {250, 200}});
        PressKeys({'A'});
        DragOnScreen({{150, 250}, {300, 250}});
        // The selection is fixed once marked.
        PressKeys({VK_RIGHT});
        PressKeys({VK_RETURN});
    });
    EXPECT_EQ(DeskAction::kCopy, result.action);
    EXPECT_TRUE(EqualRect(&kChosen, &result.rcSelection));
    EXPECT_TRUE(ShowsPattern(result.picture.get(), kChosen));
    ASSERT_EQ(2u, result.marks.size());
    EXPECT_EQ(AnnotationKind::kRectangle, result.marks[0].kind);
    EXPECT_EQ(AnnotationKind::kArrow, result.marks[1].kind);
    EXPECT_EQ(50, result.marks[0].points[0].x);
    EXPECT_EQ(50, result.marks[0].points[0].y);
    EXPECT_EQ(150, result.marks[0].points[1].x);
    EXPECT_EQ(120, result.marks[0].points[1].y);

    const CBitmapOwner flattened = FlattenDeskResult(result);
    const COLORREF ink = m_tools.Style().colour;
    EXPECT_EQ(ink, BitmapPixel(flattened.get(), 100, 50));   // the rectangle's top edge
    EXPECT_EQ(ink, BitmapPixel(flattened.get(), 100, 170));  // the arrow's shaft
    EXPECT_EQ(PatternColor(110, 90), BitmapPixel(flattened.get(), 10, 10));
}

TEST_F(CaptureDesk, EscEndsTheDrawingFirstThenCancelsTheCapture)
{
    const DeskResult kept = Run([] {
        PressKeys({'R'});
        MouseAtScreen({150, 130}, MOUSEEVENTF_LEFTDOWN);
        MouseAtScreen({250, 200});
        PressKeys({VK_ESCAPE});
        MouseAtScreen({250, 200}, MOUSEEVENTF_LEFTUP);
        PressKeys({VK_RETURN});
    });
    EXPECT_EQ(DeskAction::kCopy, kept.action);
    EXPECT_TRUE(kept.marks.empty());

    // In a text box, Esc ends the typing and keeps the text.
    const DeskResult typed = Run([] {
        PressKeys({'T'});
        ClickAtScreen({150, 130});
        TypeText("ab");
        PressKeys({VK_ESCAPE});
        PressKeys({VK_RETURN});
    });
    EXPECT_EQ(DeskAction::kCopy, typed.action);
    ASSERT_EQ(1u, typed.marks.size());
    EXPECT_EQ(L"ab", typed.marks[0].text);

    const DeskResult rightClicked = Run([] { ClickAtScreen({200, 200}, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP); });
    EXPECT_EQ(DeskAction::kCancelled, rightClicked.action);

    // Once the desks before have made what lasts (the input method's window, the
    // pointer shapes), a desk leaves nothing behind.
    const size_t gdiBefore = LiveGdiObjects(), userBefore = LiveUserObjects();
    const DeskResult cancelled = Run([] {
        PressKeys({'R'});
        DragOnScreen({{150, 130}, {250, 200}});
        PressKeys({VK_ESCAPE});
    });
    EXPECT_EQ(DeskAction::kCancelled, cancelled.action);
    EXPECT_FALSE(cancelled.picture);
    EXPECT_TRUE(cancelled.marks.empty());
    EXPECT_EQ(gdiBefore, LiveGdiObjects());
    EXPECT_EQ(userBefore, LiveUserObjects());
}

TEST_F(CaptureDesk, ShowsTheFrameDimmedOutsideTheSelectionAndCopiesOnADoubleClickInside)
{
    // Above, left of, right of and below the selection, the last far down in the frame.
    const POINT outsidePoints[] = {{50, 40}, {50, 200}, {600, 200}, {50, 400}, {600, 470}};
    COLORREF outside[5] = {}, inside = 0;
    const DeskResult result = Run([&] {
        const CPixelReader shown;
        for (int i = 0; i < 5; ++i)
            outside[i] = shown.At(outsidePoints[i]);
        inside = shown.At(200, 200);
        ClickAtScreen({200, 200});
        ClickAtScreen({200, 200});
    });
    for (int i = 0; i < 5; ++i) {
        const COLORREF frame = PatternColor(outsidePoints[i].x, outsidePoints[i].y);
        EXPECT_EQ(RGB(GetRValue(frame) / 2, GetGValue(frame) / 2, GetBValue(frame) / 2), outside[i]) << i;
    }
    EXPECT_EQ(PatternColor(200, 200), inside);
    EXPECT_EQ(DeskAction::kCopy, result.action);
    EXPECT_TRUE(EqualRect(&kChosen, &result.rcSelection));
}

TEST_F(CaptureDesk, HandlesEdgesInsideAndArrowsAdjustTheSelection)
{
    // A frame that does not start at the screen's top-left, as on a monitor left of the primary.
    m_origin = POINT{30, 20};
    const DeskResult result = Run([] {
        DragOnScreen({{420, 300}, {450, 330}});  // the bottom-right handle
        DragOnScreen({{100, 200}, {90, 200}});   // the left edge, away from its handle
        DragOnScreen({{200, 200}, {220, 190}});  // inside: moves
        PressKeys({VK_RIGHT});
        PressKeys({VK_SHIFT, VK_DOWN});
        PressKeys({VK_RETURN});
    });
    const RECT adjusted{90 + 20 + 1, 80 - 10 + 10, 450 + 20 + 1, 330 - 10 + 10};
    EXPECT_TRUE(EqualRect(&adjusted, &result.rcSelection))
        << result.rcSelection.left << ", " << result.rcSelection.top << ", " << result.rcSelection.right << ", "
        << result.rcSelection.bottom;
    RECT inFrame = adjusted;
    OffsetRect(&inFrame, -m_origin.x, -m_origin.y);
    EXPECT_TRUE(ShowsPattern(result.picture.get(), inFrame));
}

TEST_F(CaptureDesk, SaveProposesTheAutoSaveNameAndACancelledDialogReturnsToTheDesk)
{
    CTempFolder folder;
    m_settings.m_strSaveFolder = folder.Path();
    m_settings.m_strNamePrefix = "desk";
    m_settings.m_nSaveType = FindImageFormat("png");
    std::string proposed;
    CDialogAnswerer answers({
        [&](HWND dialog) {
            char shown[MAX_PATH] = {};
            SendMessageA(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(shown));
            proposed = std::string(shown) + "\\" + NameBox(dialog);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        },
        [&](HWND dialog) {
            TypeName(folder.PathOf("marked.png"));
            PressEnterOrCancel(dialog);
        },
    });
    const COLORREF ink = m_tools.Style().colour;
    // The commands wait for the mark on the screen: posted, they would overtake the input.
    const auto saveCommand = [] { PostMessageA(Desk(), WM_COMMAND, ID_DESK_SAVE, 0); };
    CTimedSteps save({{[ink] { return Desk() && CPixelReader().At(200, 130) == ink; }, saveCommand},
                      {[&answers] { return answers.StepsTaken() == 1 && !FindWindowA("#32770", nullptr); }, saveCommand}},
                     10000);
    const DeskResult result = Run([] {
        PressKeys({'R'});
        DragOnScreen({{150, 130}, {250, 200}});
    });
    EXPECT_EQ(0u, proposed.find(folder.Path() + "\\desk")) << proposed;
    EXPECT_EQ(".png", proposed.substr(proposed.size() - 4));
    ASSERT_EQ(DeskAction::kSaved, result.action);
    EXPECT_EQ(folder.PathOf("marked.png"), result.savedPath);
    const CBitmapOwner written(ReadImageFile(result.savedPath.c_str(), FindImageFormat("png")));
    EXPECT_EQ(ink, BitmapPixel(written.get(), 100, 50));
    EXPECT_EQ(PatternColor(110, 90), BitmapPixel(written.get(), 10, 10));
}
// Past the moment in which the desk asks for the keyboard, which lifts it.
std::function<bool()> DeskSettled()
{
    const DWORD start = GetTickCount();
    return [start] { return DeskHasKeyboard() && GetTickCount() - start > 1500 && ScreenShowsThreadWindows(); };
}

TEST_F(CaptureDesk, ItsToolbarStaysAboveItAndTakesClicks)
{
    const DeskResult result = Run(
        [] {
            ClickAtScreen(DeskBarButton(ID_TOOL_ELLIPSE));
            DragOnScreen({{150, 130}, {250, 200}});
            ClickAtScreen(DeskBarButton(ID_DESK_COPY));
        },
        kChosen, DeskSettled());
    EXPECT_EQ(DeskAction::kCopy, result.action);
    ASSERT_EQ(1u, result.marks.size());
    EXPECT_EQ(AnnotationKind::kEllipse, result.marks[0].kind);
}

TEST_F(CaptureDesk, ReadTextHandsBackTheSelectionWithItsMarks)
{
    const DeskResult result = Run(
        [] {
            ClickAtScreen(DeskBarButton(ID_TOOL_RECTANGLE));
            DragOnScreen({{150, 130}, {250, 200}});
            ClickAtScreen(DeskBarButton(ID_DESK_READ_TEXT));
        },
        kChosen, DeskSettled());
    EXPECT_EQ(DeskAction::kReadText, result.action);
    EXPECT_TRUE(EqualRect(&kChosen, &result.rcSelection));
    EXPECT_TRUE(result.picture);
    EXPECT_EQ(1u, result.marks.size());
}

TEST_F(CaptureDesk, LongshotHandsBackTheSelectionAloneAndGreysOnceMarked)
{
    const DeskResult asked = Run([] { ClickAtScreen(DeskBarButton(ID_DESK_LONGSHOT)); }, kChosen, DeskSettled());
    EXPECT_EQ(DeskAction::kLongshot, asked.action);
    EXPECT_TRUE(EqualRect(&kChosen, &asked.rcSelection));
    EXPECT_FALSE(asked.picture);

    // Once the mark shows, the button is grey and its click leaves the desk to Enter.
    const COLORREF ink = m_tools.Style().colour;
    bool greyed = false;
    CTimedSteps afterMark({{[ink] { return Desk() && CPixelReader().At(200, 130) == ink; },
                            [&greyed] {
                                greyed = !DeskBarButtonEnabled(ID_DESK_LONGSHOT);
                                ClickAtScreen(DeskBarButton(ID_DESK_LONGSHOT));
                                PressKeys({VK_RETURN});
                            }}},
                          10000);
    const DeskResult marked = Run(
        [] {
            PressKeys({'R'});
            DragOnScreen({{150, 130}, {250, 200}});
        },
        kChosen, DeskSettled());
    EXPECT_TRUE(greyed);
    EXPECT_EQ(DeskAction::kCopy, marked.action);
    EXPECT_EQ(1u, marked.marks.size());
}

// The width list drops down over the topmost desk: its pixels show, its item takes the click,
// and the keys go back to the desk.
TEST_F(CaptureDesk, ItsWidthListDropsDownAboveIt)
{
    HWND list = nullptr;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    POINT item{};
    const auto listShows = [&] {
        if (!SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0) || !GetComboBoxInfo(list, &info))
            return false;
        RECT width7{};
        SendMessageA(info.hwndList, LB_GETITEMRECT, 6, reinterpret_cast<LPARAM>(&width7));
        item = POINT{width7.right - 3, (width7.top + width7.bottom) / 2};  // right of its text
        ClientToScreen(info.hwndList, &item);
        return CPixelReader().At(item) == GetSysColor(COLOR_WINDOW);
    };
    CTimedSteps steps({{listShows, [&] { ClickAtScreen(item); }},
                       {[&] { return m_tools.Style().width == 7 && GetFocus() == Desk(); },
                        [] { PressKeys({VK_RETURN}); }}},
                      10000);
    const DeskResult result = Run(
        [&] {
            list = FindWindowExA(FindWindowExA(DeskBar(), nullptr, TOOLBARCLASSNAMEA, nullptr), nullptr, WC_COMBOBOXA,
                                 nullptr);
            RECT field = WindowRect(list);
            ClickAtScreen(CentreOf(field));
        });
    EXPECT_TRUE(steps.Finished());
    EXPECT_EQ(DeskAction::kCopy, result.action);
}

TEST_F(CaptureDesk, PreparedBeforeTheCaptureItShowsNothingUntilRun)
{
    const HWND foreground = GetForegroundWindow();
    CCaptureDesk desk(m_tools, m_settings);
    ASSERT_TRUE(desk.Prepare());
    ASSERT_TRUE(Desk() && DeskBar());
    EXPECT_FALSE(IsWindowVisible(Desk()));
    EXPECT_FALSE(IsWindowVisible(DeskBar()));
    EXPECT_EQ(foreground, GetForegroundWindow());

    CTimedSteps steps({{DeskHasKeyboard, [] { PressKeys({VK_RETURN}); }}}, 10000,
                      [] { PostMessageA(Desk(), WM_CLOSE, 0, 0); });
    const DeskResult result = desk.Run(m_frame.get(), m_origin, kChosen);
    EXPECT_EQ(DeskAction::kCopy, result.action);
    EXPECT_TRUE(ShowsPattern(result.picture.get(), kChosen));
}

// A selection of the whole screen leaves the toolbar only its corners.
TEST_F(CaptureDesk, InsideTheSelectionTheToolbarKeepsClearOfTheLatestMarkAndOfTheSizeLabel)
{
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const RECT screen{0, 0, width, height};
    m_frame = MakePatternBitmap(width, height);
    const COLORREF ink = m_tools.Style().colour;
    // Once the mark whose top edge runs through edge shows: what the bar covers and how many
    // rows of the size label's background show left of the label's text; then Enter.
    RECT bar{};
    int labelRows = 0;
    const auto whenDrawn = [&](POINT edge) {
        return CTimedSteps::Step{[ink, edge] { return Desk() && CPixelReader().At(edge) == ink; },
                                 [&] {
                                     bar = WindowRect(DeskBar());
                                     const CPixelReader shown;
                                     labelRows = 0;
                                     for (int y = 0; y < height; ++y)
                                         labelRows += shown.At(6, y) == RGB(32, 32, 32);
                                     PressKeys({VK_RETURN});
                                 }};
    };

    // Marks spread over the selection: the bar leaves the corner of the latest one.
    const RECT latest{width - 300, height - 100, width - 30, height - 30};
    RECT common{};
    {
        CTimedSteps check({whenDrawn(POINT{latest.left + 100, latest.top})}, 10000);
        Run(
            [latest] {
                PressKeys({'R'});
                DragOnScreen({{20, 20}, {300, 200}});
                DragOnScreen({{latest.left, latest.top}, {latest.right, latest.bottom}});
            },
            screen);
    }
    EXPECT_FALSE(IntersectRect(&common, &bar, &latest)) << bar.left << ", " << bar.top;

    // A mark that leaves only the top-left corner half free: the bar takes it, and the size
    // label, inside that corner too since the screen ends above, shows below the bar.
    {
        CTimedSteps check({whenDrawn(POINT{width - 100, 20})}, 10000);
        Run(
            [=] {
                const RECT shownBar = WindowRect(DeskBar());
                PressKeys({'R'});
                DragOnScreen({{(shownBar.right - shownBar.left) / 2, 20}, {width - 3, height - 3}});
            },
            screen);
    }
    EXPECT_LE(bar.top, 10);
    EXPECT_GE(labelRows, 10);
}
// Touching the screen's bottom, the selection has its toolbar above it, where the size
// label goes too: the label moves inside the selection rather than under the bar.
TEST_F(CaptureDesk, ASelectionOnTheBottomEdgeKeepsItsSizeLabelInSight)
{
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    m_frame = MakePatternBitmap(width, height);
    const RECT selection{100, height - 200, 500, height};
    const auto labelShows = [=] {
        const CPixelReader shown;
        int rows = 0;
        for (int y = 0; y < height; ++y)
            rows += shown.At(selection.left + 8, y) == RGB(32, 32, 32);
        return DeskHasKeyboard() && rows >= 10;
    };
    EXPECT_EQ(DeskAction::kCopy, Run([] { PressKeys({VK_RETURN}); }, selection, labelShows).action);
}
}  // namespace
