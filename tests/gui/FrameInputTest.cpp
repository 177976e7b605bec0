#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <vector>

#include "RealClick.h"
#include "document/DocumentMessages.h"
#include "document/ImageFrame.h"
#include "KeyInput.h"
#include "gui/FrameFixture.h"
#include "gui/MenuBarTestHost.h"
#include "res/resource.h"

// The frame driven by real key presses and clicks, as a user drives it, with the
// program's own message loop running.
namespace {
// A popup menu seen while the loop ran: which menu, where, and what happened then.
struct PopupWatch {
    std::function<void(HWND popup)> onOpen = [](HWND) { EndMenu(); };
    HMENU menu = nullptr;
    RECT rect{};
};

void RightClick(POINT screen)
{
    ClickAtScreen(screen, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
}

class FrameInputTest : public FrameFixture {
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        SetForegroundWindow(*m_frame);
        RECT frame;
        GetWindowRect(*m_frame, &frame);
        SetCursorPos(frame.right - 30, frame.bottom - 10);  // over the status bar, clear of any popup
        Pump();
    }

    // Runs the program's loop until a popup menu has opened and closed again.
    void RunUntilPopupCloses(PopupWatch& watch)
    {
        auto quit = [] { PostQuitMessage(0); };
        CTimedSteps steps({{[] { return FindPopupMenuWindow() != nullptr; },
                            [&watch] {
                                const HWND popup = FindPopupMenuWindow();
                                watch.menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
                                GetWindowRect(popup, &watch.rect);
                                watch.onOpen(popup);
                            }},
                           {[] { return !FindPopupMenuWindow(); }, quit}},
                          5000,
                          [quit] {
                              if (FindPopupMenuWindow())
                                  EndMenu();
                              else
                                  quit();
                          },
                          30);
        m_loop.Run();
    }

    HMENU PopupOpenedByAlt(WORD letter)
    {
        PopupWatch watch;
        PressKeys({VK_MENU, letter});
        RunUntilPopupCloses(watch);
        return watch.menu;
    }

    HWND OpenDocument()
    {
        EXPECT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(300, 200), "C:\\a.bmp", true));
        Pump();
        return m_frame->ActiveDocument();
    }

    static HMENU ImageMenuOf(HWND document)
    {
        return reinterpret_cast<HMENU>(SendMessageA(document, WM_APP_GET_IMAGE_MENU, kImageMenuRequest, 0));
    }
};

// Alt+letter arrives at the window with the focus, a child of the frame, never at
// the frame itself.
TEST_F(FrameInputTest, AltLetterOpensItsMenuWhileTheFocusIsInTheClientOrTheView)
{
    ASSERT_EQ(m_frame->MdiClient(), GetFocus());
    HMENU menu = m_frame->MenuBar().GetMenu();
    EXPECT_EQ(GetSubMenu(menu, 0), PopupOpenedByAlt('F'));
    EXPECT_EQ(GetSubMenu(menu, 1), PopupOpenedByAlt('C'));
    EXPECT_EQ(GetSubMenu(menu, 2), PopupOpenedByAlt('V'));
    EXPECT_EQ(GetSubMenu(menu, 3), PopupOpenedByAlt('H'));

    HWND document = OpenDocument();
    ASSERT_EQ(GetWindow(document, GW_CHILD), GetFocus());
    menu = m_frame->MenuBar().GetMenu();
    EXPECT_EQ(GetSubMenu(menu, 0), PopupOpenedByAlt('F'));
    EXPECT_EQ(GetSubMenu(menu, 1), PopupOpenedByAlt('C'));
    EXPECT_EQ(GetSubMenu(menu, 2), PopupOpenedByAlt('I'));
    EXPECT_EQ(GetSubMenu(menu, 3), PopupOpenedByAlt('A'));
    EXPECT_EQ(GetSubMenu(menu, 4), PopupOpenedByAlt('V'));
    EXPECT_EQ(GetSubMenu(menu, 6), PopupOpenedByAlt('H'));
    EXPECT_EQ(GetWindow(document, GW_CHILD), GetFocus()) << "the focus comes back to the view";
}

// The view's context menu is the document's image menu, owned by the frame: the
// frame sets its states as it opens, and the chosen command comes back through the
// frame to the document. From the keyboard it opens at the view's top-left corner,
// not at the message's (-1, -1).
TEST_F(FrameInputTest, ContextMenuIsTheImageMenuAtTheClickOrAtTheView)
{
    HWND document = OpenDocument();
    HWND view = GetWindow(document, GW_CHILD);
    CImageFrame* frame = nullptr;
    m_frame->Documents().FindTab(document, &frame);
    HMENU imageMenu = ImageMenuOf(document);
    ASSERT_EQ(GetSubMenu(m_frame->MenuBar().GetMenu(), 2), imageMenu);
    EnableMenuItem(imageMenu, ID_ZOOM_IN, MF_BYCOMMAND | MF_GRAYED);

    POINT click = {120, 90};
    ClientToScreen(view, &click);
    UINT zoomInState = MF_GRAYED;
    PopupWatch byMouse;
    byMouse.onOpen = [&](HWND) {
        zoomInState = GetMenuState(imageMenu, ID_ZOOM_IN, MF_BYCOMMAND);
        PressKeys({VK_DOWN});
        PressKeys({VK_RETURN});
    };
    RightClick(click);
    RunUntilPopupCloses(byMouse);
    Pump();
    EXPECT_EQ(imageMenu, byMouse.menu);
    EXPECT_EQ(click.x, byMouse.rect.left);
    EXPECT_EQ(click.y, byMouse.rect.top);
    EXPECT_FALSE(zoomInState & MF_GRAYED) << "the frame brought the states up to date";
    EXPECT_GT(frame->View().Zoom(), 1.0f) << "zoom in reached the document";

    ASSERT_EQ(view, GetFocus());
    POINT corner = {0, 0};
    ClientToScreen(view, &corner);
    PopupWatch byKeyboard;
    PressKeys({VK_SHIFT, VK_F10});
    RunUntilPopupCloses(byKeyboard);
    EXPECT_EQ(imageMenu, byKeyboard.menu);
    EXPECT_EQ(corner.x, byKeyboard.rect.left);
    EXPECT_EQ(corner.y, byKeyboard.rect.top);
}
}
