#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "Gbk.h"
#include "LiveGdiObjects.h"
#include "PixelReader.h"
#include "RealClick.h"
#include "gui/MenuBarTestHost.h"
#include "res/resource.h"

namespace {
std::string ButtonText(HWND bar, int index)
{
    char text[64] = "";
    SendMessageA(bar, TB_GETBUTTONTEXTA, index, reinterpret_cast<LPARAM>(text));  // ids are positions
    return text;
}

RECT ButtonRect(HWND bar, int index)
{
    RECT rect = {};
    SendMessageA(bar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

void Click(HWND window, POINT client)
{
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
}

// Keeps the pointer off the popups, where it would highlight an item.
void ParkMouse(HWND host)
{
    RECT rect;
    GetWindowRect(host, &rect);
    SetCursorPos(rect.right - 20, rect.bottom - 20);
}

HMENU LoadDocumentMenu()
{
    return LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_IMAGETYPE));
}

bool PopupIsOpen()
{
    return FindPopupMenuWindow() != nullptr;
}

bool Contains(const std::vector<UINT>& ids, UINT id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

// The distinct colours of a rectangle of a window, as the screen shows them.
std::set<COLORREF> ColoursIn(HWND window, const RECT& rect)
{
    std::set<COLORREF> colours;
    const CPixelReader shown(window);
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            colours.insert(shown.At(x, y));
    return colours;
}

class MenuBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_bar = host.Bar();
        m_menu = host.Bar().GetMenu();
        ParkMouse(host);
    }
    CMenuBarTestHost host;
    HWND m_bar = nullptr;
    HMENU m_menu = nullptr;
};
}

TEST_F(MenuBarTest, HasOneButtonPerTopLevelItemAndSwapsThemWithTheMenu)
{
    ASSERT_NE(m_bar, nullptr);
    char className[32] = "";
    GetClassNameA(m_bar, className, sizeof className);
    EXPECT_STREQ(className, "CapMenuBar");

    const std::vector<std::string> frameTexts = {"文件(&F)", "捕捉(&C)", "查看(&V)", "帮助(&H)"};
    ASSERT_EQ(SendMessageA(m_bar, TB_BUTTONCOUNT, 0, 0), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(ButtonText(m_bar, i), ToGbk(frameTexts[i].c_str()));
    const SIZE frameSize = host.Bar().GetIdealSize();
    EXPECT_EQ(frameSize.cx, ButtonRect(m_bar, 3).right);
    RECT window;
    GetWindowRect(m_bar, &window);
    EXPECT_EQ(window.bottom - window.top, frameSize.cy);

    HMENU document = LoadDocumentMenu();
    host.Bar().AttachMenu(document);
    EXPECT_EQ(host.Bar().GetMenu(), document);
    const std::vector<std::string> documentTexts = {"文件(&F)", "捕捉(&C)", "图像(&I)", "标注(&A)",
                                                    "查看(&V)", "窗口(&W)", "帮助(&H)"};
    ASSERT_EQ(SendMessageA(m_bar, TB_BUTTONCOUNT, 0, 0), 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(ButtonText(m_bar, i), ToGbk(documentTexts[i].c_str()));
    EXPECT_GT(host.Bar().GetIdealSize().cx, frameSize.cx);

    host.Bar().AttachMenu(m_menu);
    EXPECT_EQ(SendMessageA(m_bar, TB_BUTTONCOUNT, 0, 0), 4);

    // The bar destroys the menu it took over, and only that one.
    host.DestroyWindow();
    EXPECT_FALSE(IsMenu(m_menu));
    EXPECT_TRUE(IsMenu(document));
    DestroyMenu(document);
}

TEST_F(MenuBarTest, KeepsItsRebarBandAsWideAsItsButtons)
{
    HWND rebar = CreateWindowExA(0, REBARCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | RBS_VARHEIGHT, 0, 0, 600, 40,
                                 host, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(rebar, nullptr);
    const SIZE ideal = host.Bar().GetIdealSize();
    REBARBANDINFOA band{};
    band.cbSize = REBARBANDINFOA_V6_SIZE;
    band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE;
    band.fStyle = RBBS_CHILDEDGE;
    band.hwndChild = m_bar;
    band.cxMinChild = static_cast<UINT>(ideal.cx);
    band.cyMinChild = static_cast<UINT>(ideal.cy);
    ASSERT_TRUE(SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band)));

    HMENU document = LoadDocumentMenu();
    host.Bar().AttachMenu(document);
    const SIZE wider = host.Bar().GetIdealSize();
    band.fMask = RBBIM_CHILDSIZE | RBBIM_IDEALSIZE;
    ASSERT_TRUE(SendMessageA(rebar, RB_GETBANDINFOA, 0, reinterpret_cast<LPARAM>(&band)));
    EXPECT_EQ(static_cast<int>(band.cxMinChild), wider.cx);
    EXPECT_EQ(static_cast<int>(band.cxIdeal), wider.cx);
    EXPECT_EQ(static_cast<int>(band.cyMinChild), wider.cy);
    host.DestroyWindow();
    DestroyMenu(document);
}

TEST_F(MenuBarTest, AccessKeyOpensItsPopupAndTheChosenCommandReachesTheTarget)
{
    EXPECT_FALSE(host.Bar().OnKeyMenu('-')) << "the system menu's key";
    EXPECT_FALSE(host.Bar().OnKeyMenu('q')) << "no item has it";

    HMENU filePopup = GetSubMenu(m_menu, 0);
    CTimedSteps steps({
        // Opened from the keyboard, the first item (打开) is highlighted.
        {[&] { return PopupIsOpen() && Contains(host.m_selectedItems, ID_FILE_OPEN); },
         [] { PostMenuKey(VK_RETURN); }},
    });
    EXPECT_TRUE(host.Bar().OnKeyMenu('F'));  // either case
    EXPECT_TRUE(steps.Finished());
    ASSERT_FALSE(host.m_openedPopups.empty());
    EXPECT_EQ(host.m_openedPopups.front(), filePopup);
    EXPECT_TRUE(PumpUntil([&] { return !host.m_commands.empty(); }));
    EXPECT_EQ(host.m_commands, std::vector<UINT>{ID_FILE_OPEN});

    // Drawing the popup borrowed its items; they are ordinary text items again.
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
    char text[64] = "";
    info.dwTypeData = text;
    info.cch = sizeof text;
    ASSERT_TRUE(GetMenuItemInfoA(filePopup, 0, TRUE, &info));
    EXPECT_EQ(info.fType & MFT_OWNERDRAW, 0u);
    EXPECT_EQ(info.dwItemData, 0u);
    EXPECT_EQ(text, ToGbk("打开(&O)...\tCtrl+O"));
}

TEST_F(MenuBarTest, ArrowKeysMoveBetweenPopupsAndWrapAround)
{
    auto opened = [&](size_t count) { return [&host = host, count] { return host.m_openedPopups.size() == count; }; };
    CTimedSteps steps({
        {opened(1), [] { PostMenuKey(VK_LEFT); }},   // from the first to the last
        {opened(2), [] { PostMenuKey(VK_RIGHT); }},  // and round to the first
        {opened(3), [] { PostMenuKey(VK_RIGHT); }},
        {opened(4), [] { PostMenuKey(VK_ESCAPE); }},
    });
    EXPECT_TRUE(host.Bar().OnKeyMenu('f'));
    EXPECT_TRUE(steps.Finished());
    const std::vector<HMENU> expected = {GetSubMenu(m_menu, 0), GetSubMenu(m_menu, 3), GetSubMenu(m_menu, 0),
                                         GetSubMenu(m_menu, 1)};
    EXPECT_EQ(host.m_openedPopups, expected);

    // Esc closed the popup but left its item highlighted; the next Esc leaves the bar.
    EXPECT_EQ(SendMessageA(m_bar, TB_GETHOTITEM, 0, 0), 1);
    EXPECT_EQ(GetFocus(), m_bar);
    SendMessageA(m_bar, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(SendMessageA(m_bar, TB_GETHOTITEM, 0, 0), -1);
    EXPECT_NE(GetFocus(), m_bar);
}

TEST_F(MenuBarTest, RightOpensASubmenuThenMovesOnFromInsideIt)
{
    HMENU document = LoadDocumentMenu();
    host.Bar().AttachMenu(document);
    HMENU imagePopup = GetSubMenu(document, 2);
    HMENU zoomPopup = GetSubMenu(imagePopup, 2);
    auto opened = [&](size_t count) { return [&host = host, count] { return host.m_openedPopups.size() == count; }; };
    CTimedSteps steps({
        {opened(1), [] { PostMenuKey(VK_DOWN); PostMenuKey(VK_DOWN); }},  // to 缩放(&Z)
        // A popup item is reported by its position.
        {[&] { return Contains(host.m_selectedItems, 2u); }, [] { PostMenuKey(VK_RIGHT); }},
        {opened(2), [] { PostMenuKey(VK_RIGHT); }},
        {opened(3), [] { PostMenuKey(VK_ESCAPE); }},
    });
    EXPECT_TRUE(host.Bar().OnKeyMenu('i'));
    EXPECT_TRUE(steps.Finished());
    const std::vector<HMENU> expected = {imagePopup, zoomPopup, GetSubMenu(document, 3)};
    EXPECT_EQ(host.m_openedPopups, expected);
    host.DestroyWindow();
    DestroyMenu(document);
}

TEST_F(MenuBarTest, MovingTheMouseToAnotherButtonSwitchesPopups)
{
    CTimedSteps steps({
        {PopupIsOpen, [&] { MouseAt(m_bar, CentreOf(ButtonRect(m_bar, 2))); }},
        {[&] { return host.m_openedPopups.size() == 2; }, [] { PostMenuKey(VK_ESCAPE); }},
    });
    Click(m_bar, CentreOf(ButtonRect(m_bar, 0)));
    EXPECT_TRUE(steps.Finished());
    const std::vector<HMENU> expected = {GetSubMenu(m_menu, 0), GetSubMenu(m_menu, 2)};
    EXPECT_EQ(host.m_openedPopups, expected);
    EXPECT_TRUE(host.m_commands.empty());
}

TEST_F(MenuBarTest, TrackPopupPostsOrReturnsTheCommand)
{
    HMENU trayMenu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAYMENU));
    HMENU tray = GetSubMenu(trayMenu, 0);
    {
        CTimedSteps steps({{PopupIsOpen, [] { PostMenuKey(VK_DOWN); PostMenuKey(VK_RETURN); }}});
        EXPECT_EQ(host.Bar().TrackPopup(tray, 0, 100, 100), UINT{ID_TRAY_SHOW});
        EXPECT_TRUE(steps.Finished());
    }
    EXPECT_TRUE(PumpUntil([&] { return !host.m_commands.empty(); }));
    EXPECT_EQ(host.m_commands, std::vector<UINT>{ID_TRAY_SHOW});
    {
        CTimedSteps steps({{PopupIsOpen, [] { PostMenuKey(VK_DOWN); PostMenuKey(VK_DOWN); PostMenuKey(VK_RETURN); }}});
        EXPECT_EQ(host.Bar().TrackPopup(tray, TPM_RETURNCMD, 100, 100), UINT{ID_CAPTURE_FULLSCREEN});
        EXPECT_TRUE(steps.Finished());
    }
    PumpPending();
    EXPECT_EQ(host.m_commands.size(), 1u) << "TPM_RETURNCMD only returns it";
    DestroyMenu(trayMenu);
}

TEST_F(MenuBarTest, MaximisedMdiChildShowsItsIconAndWorkingButtons)
{
    HWND client = host.CreateMdiClient();
    HWND child = host.CreateMdiChild("doc");
    ASSERT_NE(child, nullptr);
    const RECT plainFirst = ButtonRect(m_bar, 0);
    const SIZE plainSize = host.Bar().GetIdealSize();
    RECT barClient;
    GetClientRect(m_bar, &barClient);
    const RECT rightEnd = {barClient.right - 50, 0, barClient.right, barClient.bottom};
    const size_t plainColours = ColoursIn(m_bar, rightEnd).size();

    SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    host.Bar().SyncMdiChild();
    UpdateWindow(m_bar);
    EXPECT_GT(ButtonRect(m_bar, 0).left, plainFirst.left) << "room for the icon";
    EXPECT_GT(host.Bar().GetIdealSize().cx, plainSize.cx);
    EXPECT_GT(ColoursIn(m_bar, rightEnd).size(), plainColours) << "caption buttons drawn";

    // The icon opens the child's system menu.
    HMENU shownMenu = nullptr;
    {
        CTimedSteps steps({{PopupIsOpen, [&] {
            shownMenu = reinterpret_cast<HMENU>(SendMessageA(FindPopupMenuWindow(), MN_GETHMENU, 0, 0));
            PostMenuKey(VK_ESCAPE);
        }}});
        Click(m_bar, POINT{5, barClient.bottom / 2});
        EXPECT_TRUE(steps.Finished());
    }
    EXPECT_EQ(shownMenu, GetSystemMenu(child, FALSE));

    // Restored, the bar is as before.
    SendMessageA(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
    host.Bar().SyncMdiChild();
    UpdateWindow(m_bar);
    EXPECT_EQ(ButtonRect(m_bar, 0).left, plainFirst.left);
    EXPECT_EQ(host.Bar().GetIdealSize().cx, plainSize.cx);
    EXPECT_EQ(ColoursIn(m_bar, rightEnd).size(), plainColours);

    // The close button at the right end closes the maximised child.
    SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    host.Bar().SyncMdiChild();
    Click(m_bar, POINT{barClient.right - 5, barClient.bottom / 2});
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(ButtonRect(m_bar, 0).left, plainFirst.left);
}

TEST(MenuBar, LeavesNoGdiObjectsOrMenusBehind)
{
    auto useOnce = [] {
        CToolbarImages images;
        CMenuBarTestHost host;
        host.Bar().SetImages(images.m_hNormal, images.m_hDisabled, CToolbarImages::kCommands, 13);
        ParkMouse(host);
        CTimedSteps steps({
            {[&] { return host.m_openedPopups.size() == 1; }, [] { PostMenuKey(VK_RIGHT); }},
            {[&] { return host.m_openedPopups.size() == 2; }, [] { PostMenuKey(VK_ESCAPE); }},
        });
        host.Bar().OnKeyMenu('f');
        EXPECT_TRUE(steps.Finished());
        const HMENU menu = host.Bar().GetMenu();
        host.DestroyWindow();
        EXPECT_FALSE(IsMenu(menu));
    };
    useOnce();  // the first use sets up what the system keeps for good
    const size_t before = LiveGdiObjects();
    useOnce();
    EXPECT_EQ(LiveGdiObjects(), before);
}
