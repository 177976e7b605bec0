// The capture desk's toolbar over a plain owner window, clicked as a user clicks it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "CommandRecorder.h"
#include "DialogAnswerer.h"
#include "Gbk.h"
#include "MessagePump.h"
#include "RealClick.h"
#include "annotate/AnnotationTools.h"
#include "capture/desk/DeskToolBar.h"
#include "res/resource.h"

namespace {


// The toolbar in the bar that has the command, or null.
HWND BarWith(HWND deskBar, UINT command)
{
    for (HWND bar = FindWindowExA(deskBar, nullptr, TOOLBARCLASSNAMEA, nullptr); bar;
         bar = FindWindowExA(deskBar, bar, TOOLBARCLASSNAMEA, nullptr))
        if (SendMessageA(bar, TB_COMMANDTOINDEX, command, 0) >= 0)
            return bar;
    return nullptr;
}

// What the tooltip of a toolbar's button says.
std::string TipText(HWND toolBar, UINT command)
{
    char text[80] = {};
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = toolBar;
    tool.uId = command;
    tool.lpszText = text;
    SendMessageA(reinterpret_cast<HWND>(SendMessageA(toolBar, TB_GETTOOLTIPS, 0, 0)), TTM_GETTEXTA, sizeof text,
                 reinterpret_cast<LPARAM>(&tool));
    return text;
}

RECT ScreenRect()
{
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// A real click at a point of the screen once the window shows there.
bool ClickOn(HWND window, POINT screen)
{
    if (!PumpUntil([&] { return WindowFromPoint(screen) == window; }))
        return false;
    ClickAtScreen(screen);
    return true;
}

// A real click in the middle of a rectangle of a window's client area.
bool ClickOn(HWND window, const RECT& client)
{
    POINT centre = CentreOf(client);
    ClientToScreen(window, &centre);
    return ClickOn(window, centre);
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

class DeskToolBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_owner = MakeCommandRecorder(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
                                      WS_EX_TOPMOST, WS_CLIPCHILDREN);
        ASSERT_NE(nullptr, m_owner);
        ASSERT_TRUE(m_bar.Create(m_owner));
    }
    void TearDown() override
    {
        m_bar.DestroyWindow();
        DestroyWindow(m_owner);
    }

    // A real click on the button of command.
    bool Click(UINT command)
    {
        HWND bar = BarWith(m_bar.Handle(), command);
        RECT button{};
        return bar && SendMessageA(bar, TB_GETRECT, command, reinterpret_cast<LPARAM>(&button)) && ClickOn(bar, button);
    }

    // True when the owner hears the command of a clicked button, and only it.
    bool ClickSends(UINT command)
    {
        const size_t heard = RecordedCommands().size();
        return Click(command) && PumpUntil([&] { return RecordedCommands().size() > heard; }, 3000) &&
               RecordedCommands().size() == heard + 1 && RecordedCommands().back() == command;
    }

    RECT BarRect() const
    {
        RECT rect{};
        GetWindowRect(m_bar.Handle(), &rect);
        return rect;
    }

    CAnnotationTools m_tools;
    CDeskToolBar m_bar{m_tools};
    HWND m_owner = nullptr;
};

TEST_F(DeskToolBarTest, ClickedButtonsSendTheirCommandsAndGreyedOnesSendNothing)
{
    const RECT screen = ScreenRect();
    const RECT selection{screen.right - 300, 100, screen.right - 100, 200};
    m_bar.PlaceBeside(selection, RECT{});
    m_bar.Update(true, false, true);
    const RECT placed = BarRect();
    EXPECT_TRUE(placed.top >= selection.bottom && placed.right <= selection.right &&
                placed.right >= selection.right - 16 && Inside(placed, screen))
        << "below, right-aligned";

    const UINT sent[] = {ID_TOOL_RECTANGLE, ID_TOOL_MOSAIC, ID_ANNOTATE_UNDO, ID_DESK_LONGSHOT, ID_DESK_PIN,
                         ID_DESK_SAVE, ID_DESK_OPEN_DOCUMENT, ID_DESK_COPY, ID_DESK_CANCEL};
    for (UINT command : sent)
        EXPECT_TRUE(ClickSends(command)) << command;

    HWND actions = BarWith(m_bar.Handle(), ID_ANNOTATE_REDO);
    EXPECT_EQ(ToGbk("复制 (Enter)"), TipText(actions, ID_DESK_COPY));
    EXPECT_EQ(ToGbk("矩形 (R)"), TipText(BarWith(m_bar.Handle(), ID_TOOL_RECTANGLE), ID_TOOL_RECTANGLE));
    EXPECT_FALSE(SendMessageA(actions, TB_ISBUTTONENABLED, ID_ANNOTATE_REDO, 0));
    EXPECT_TRUE(Click(ID_ANNOTATE_REDO));
    EXPECT_TRUE(ClickSends(ID_DESK_COPY)) << "nothing to redo, then the copy alone";
    m_bar.Update(false, true, true);
    EXPECT_FALSE(SendMessageA(actions, TB_ISBUTTONENABLED, ID_ANNOTATE_UNDO, 0));
    EXPECT_TRUE(ClickSends(ID_ANNOTATE_REDO));
}

TEST_F(DeskToolBarTest, ItsDialogsGiveTheKeysBackToTheDeskWhichHearsNothingOfTheLook)
{
    const RECT screen = ScreenRect();
    m_bar.PlaceBeside(RECT{screen.right - 300, 100, screen.right - 100, 200}, RECT{});
    SetForegroundWindow(m_owner);
    CDialogAnswerer cancel({[](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); }});
    EXPECT_TRUE(Click(ID_ANNOTATE_FONT));
    EXPECT_TRUE(PumpUntil([&] { return cancel.StepsTaken() == 1; }));
    PumpPending();
    EXPECT_EQ(m_owner, GetFocus()) << "after the font dialog";
    EXPECT_TRUE(RecordedCommands().empty()) << "the desk hears nothing of the look";
}

TEST_F(DeskToolBarTest, TheBarStaysWhollyOnTheScreenBesideSelectionsAtItsEdges)
{
    const RECT screen = ScreenRect();
    const RECT atBottom{screen.right - 300, screen.bottom - 150, screen.right, screen.bottom};
    m_bar.PlaceBeside(atBottom, RECT{});
    RECT placed = BarRect();
    EXPECT_TRUE(Inside(placed, screen));
    EXPECT_LE(placed.bottom, atBottom.top) << "above a selection that touches the bottom edge";

    m_bar.PlaceBeside(screen, RECT{0, screen.bottom - 50, screen.right / 3, screen.bottom});
    placed = BarRect();
    EXPECT_TRUE(Inside(placed, screen));
    EXPECT_GE(placed.left, screen.right / 3) << "beside the marks, not over them";
}

}
