#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Gbk.h"
#include "KeyInput.h"
#include "DialogAnswerer.h"
#include "gui/FrameFixture.h"
#include "app/AppFrame.h"
#include "app/Application.h"
#include "res/resource.h"
#include "ui/MessageLoop.h"
#include "settings/Settings.h"
#include "ui/UpdateUI.h"

namespace {

std::vector<int> PaneWidths(HWND statusBar)
{
    int edges[8] = {};
    const int parts = static_cast<int>(SendMessageA(statusBar, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)));
    std::vector<int> widths;
    for (int i = 1; i < parts; ++i)
        widths.push_back(edges[i] - edges[i - 1]);
    return widths;
}

// An MDI child that records the commands it receives and the messages forwarded
// to it by the frame's message filter.
class CRecordingDocument {
public:
    explicit CRecordingDocument(HWND mdiClient)
    {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "FrameTestDocument";
        RegisterClassExA(&wc);
        MDICREATESTRUCTA create{};
        create.szClass = "FrameTestDocument";
        create.szTitle = "doc";
        create.hOwner = GetModuleHandleA(nullptr);
        create.x = create.y = create.cx = create.cy = CW_USEDEFAULT;
        create.style = WS_VISIBLE;
        create.lParam = reinterpret_cast<LPARAM>(this);
        s_creating = this;
        m_hWnd = reinterpret_cast<HWND>(SendMessageA(mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
        s_creating = nullptr;
    }

    HWND m_hWnd = nullptr;
    std::vector<UINT> m_commands;

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<CRecordingDocument*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        if (!self && s_creating) {
            self = s_creating;
            SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        if (self && msg == WM_COMMAND)
            self->m_commands.push_back(LOWORD(wParam));
        return DefMDIChildProcA(hWnd, msg, wParam, lParam);
    }
    static CRecordingDocument* s_creating;
};
CRecordingDocument* CRecordingDocument::s_creating = nullptr;

class AppFrameTest : public FrameFixture {
protected:
    bool ToolBarEnabled(UINT id) const
    {
        return SendMessageA(m_frame->ToolBar(), TB_ISBUTTONENABLED, id, 0) != 0;
    }
};

TEST_F(AppFrameTest, BarsStackFromTopToBottomAroundTheMdiClient)
{
    RECT client{};
    GetClientRect(*m_frame, &client);
    const RECT rebar = ChildRect(m_frame->Rebar());
    const RECT status = ChildRect(m_frame->StatusBar());
    const RECT mdi = ChildRect(m_frame->MdiClient());
    const RECT tabs = ChildRect(m_frame->TabStrip());

    EXPECT_EQ(0, rebar.top);
    EXPECT_GT(rebar.bottom, 20);
    EXPECT_EQ(client.bottom, status.bottom);
    // Without tabs the client covers the tab strip completely.
    EXPECT_EQ(rebar.bottom, mdi.top);
    EXPECT_EQ(status.top, mdi.bottom);
    EXPECT_TRUE(EqualRect(&mdi, &tabs));
    EXPECT_EQ(GetWindow(*m_frame, GW_CHILD), m_frame->MdiClient()) << "the MDI client lies on top";
}

TEST_F(AppFrameTest, RowOfTabsShowsAboveTheMdiClient)
{
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>("a.jpg");
    SendMessageA(m_frame->TabStrip(), TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    m_frame->RecalcFrameLayout(true);

    const RECT tabs = ChildRect(m_frame->TabStrip());
    RECT display = tabs;
    SendMessageA(m_frame->TabStrip(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    const RECT mdi = ChildRect(m_frame->MdiClient());
    EXPECT_EQ(display.top + 2, mdi.top);
    EXPECT_EQ(tabs.bottom, mdi.bottom);
    EXPECT_EQ(tabs.left, mdi.left);
    EXPECT_EQ(tabs.right, mdi.right);

    SendMessageA(m_frame->TabStrip(), TCM_DELETEALLITEMS, 0, 0);
    m_frame->RecalcFrameLayout(false);
    EXPECT_EQ(tabs.top, ChildRect(m_frame->MdiClient()).top);
}

TEST_F(AppFrameTest, StatusPanesKeepTheirWidthsWhenTheFrameNarrows)
{
    const std::vector<int> wide = PaneWidths(m_frame->StatusBar());
    ASSERT_EQ(2u, wide.size());
    EXPECT_GT(wide[0], 60);
    EXPECT_GT(wide[1], 60);
    EXPECT_GT(wide[0], wide[1]) << "the size sample is the longer text";

    SetWindowPos(*m_frame, nullptr, 0, 0, 500, 400, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(wide, PaneWidths(m_frame->StatusBar()));
    int edges[3] = {};
    SendMessageA(m_frame->StatusBar(), SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges));
    RECT client{};
    GetClientRect(m_frame->StatusBar(), &client);
    EXPECT_LT(edges[2], client.right) << "the panes end left of the size grip";
    EXPECT_GT(edges[2], client.right - 40);
}

// The last region's and capture-and-mark-up's pictures came after the others, so their
// buttons show pictures 13 and 14. Every label is four characters at most: the buttons
// are as wide as the widest, and five would push the last one off a 1280-pixel screen
// at 144 DPI.
TEST_F(AppFrameTest, ToolBarHoldsTheTwentyButtonsWithLabels)
{
    HWND toolBar = m_frame->ToolBar();
    ASSERT_EQ(21, SendMessageA(toolBar, TB_BUTTONCOUNT, 0, 0));
    const std::pair<int, int> buttons[21] = {
        {ID_FILE_OPEN, 0},      {ID_FILE_SAVE, 1},      {0, 0},
        {ID_CAPTURE_FULLSCREEN, 2}, {ID_CAPTURE_WINDOW, 3}, {ID_CAPTURE_REGION, 4},
        {ID_CAPTURE_OBJECT, 5}, {ID_CAPTURE_LAST_REGION, 13}, {ID_CAPTURE_MARKUP, 14},
        {ID_CAPTURE_LONGSHOT, 15},  {ID_CAPTURE_RECORD_GIF, 16}, {0, 0}, {ID_CAPTURE_INCLUDE_CURSOR, 6}, {0, 0},  {ID_ZOOM_IN, 7},
        {ID_ZOOM_OUT, 8},       {ID_EDITORS, 9},        {ID_ZOOM_FIT, 10},
        {ID_ZOOM_ACTUAL, 11},   {0, 0},                 {ID_VIEW_OPTIONS, 12}};
    for (int i = 0; i < 21; ++i) {
        TBBUTTON button{};
        SendMessageA(toolBar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        EXPECT_EQ(buttons[i].first, button.idCommand) << "button " << i;
        if (buttons[i].first != 0) {
            EXPECT_EQ(buttons[i].second, button.iBitmap) << "button " << i;
        }
    }
    for (const auto& [id, expected] : {std::pair<UINT, const char*>{ID_CAPTURE_REGION, "区域捕捉"},
                                       {ID_CAPTURE_LAST_REGION, "上次区域"},
                                       {ID_CAPTURE_MARKUP, "截图标注"},
                                       {ID_CAPTURE_LONGSHOT, "长截图"},
                                       {ID_CAPTURE_RECORD_GIF, "录制动图"},
                                       {ID_CAPTURE_INCLUDE_CURSOR, "包含光标"},
                                       {ID_VIEW_OPTIONS, "设置"}}) {
        char label[64] = {};
        SendMessageA(toolBar, TB_GETBUTTONTEXTA, id, reinterpret_cast<LPARAM>(label));
        EXPECT_EQ(ToGbk(expected), label);
    }

    TBBUTTONINFOA info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_STYLE;
    SendMessageA(toolBar, TB_GETBUTTONINFOA, ID_EDITORS, reinterpret_cast<LPARAM>(&info));
    EXPECT_TRUE(info.fsStyle & (BTNS_WHOLEDROPDOWN | BTNS_DROPDOWN));
    EXPECT_NE(nullptr, reinterpret_cast<HIMAGELIST>(SendMessageA(toolBar, TB_GETDISABLEDIMAGELIST, 0, 0)));
}

TEST_F(AppFrameTest, TooltipAndMenuHelpComeFromTheCommandStrings)
{
    NMTTDISPINFOA info{};
    info.hdr.hwndFrom = m_frame->ToolBar();
    info.hdr.idFrom = ID_CAPTURE_FULLSCREEN;
    info.hdr.code = TTN_GETDISPINFOA;
    SendMessageA(*m_frame, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(ToGbk("全屏捕捉"), info.lpszText);

    HWND statusBar = m_frame->StatusBar();
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    SendMessageA(*m_frame, WM_MENUSELECT, MAKEWPARAM(ID_VIEW_TOOLBAR, MF_STRING), reinterpret_cast<LPARAM>(menu));
    EXPECT_TRUE(SendMessageA(statusBar, SB_ISSIMPLE, 0, 0));
    char text[128] = {};
    SendMessageA(statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));  // the simple part
    EXPECT_EQ(ToGbk("显示或隐藏工具栏"), text);

    SendMessageA(*m_frame, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_FALSE(SendMessageA(statusBar, SB_ISSIMPLE, 0, 0));
    DestroyMenu(menu);
}

TEST_F(AppFrameTest, ImageCommandsAreDisabledWithoutADocument)
{
    for (UINT id : {ID_FILE_SAVE, ID_ZOOM_IN, ID_ZOOM_OUT, ID_ZOOM_FIT, ID_ZOOM_ACTUAL, ID_EDITORS}) {
        EXPECT_FALSE(g_updateUI.IsEnabled(id)) << id;
        EXPECT_FALSE(ToolBarEnabled(id)) << id;
    }
    EXPECT_TRUE(ToolBarEnabled(ID_CAPTURE_FULLSCREEN));

    // An unsaved capture can be saved; once the user has closed it without saving,
    // nothing is left to save.
    ASSERT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(16, 16), "unsaved*", false));
    HWND document = m_frame->ActiveDocument();
    SetForegroundWindow(*m_frame);
    Pump();
    EXPECT_TRUE(ToolBarEnabled(ID_FILE_SAVE));
    {
        CDialogAnswerer answerer({CDialogAnswerer::Press(IDNO)});
        PressKeys({VK_CONTROL, VK_F4});
        ASSERT_TRUE(RunLoopUntil([&] { return !IsWindow(document); }));
    }
    Pump();
    EXPECT_FALSE(ToolBarEnabled(ID_FILE_SAVE));

    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_IMAGETYPE));
    HMENU imagePopup = GetSubMenu(menu, 2);
    SendMessageA(*m_frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(imagePopup), 2);
    EXPECT_TRUE(GetMenuState(imagePopup, ID_ZOOM_IN, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(imagePopup, ID_ZOOM_ACTUAL, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(imagePopup, ID_EDIT_COPY, MF_BYCOMMAND) & MF_GRAYED);
    DestroyMenu(menu);
}

TEST_F(AppFrameTest, IncludeCursorTogglesItsMarksAndMarksTheSettingsChanged)
{
    const CSettings saved = g_settings;
    const int before = g_settings.m_bIncludeCursor;
    g_settings.m_bModified = 0;
    HMENU capturePopup = GetSubMenu(m_frame->MenuBar().GetMenu(), 1);
    auto menuChecked = [&] {
        SendMessageA(*m_frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(capturePopup), 1);
        return (GetMenuState(capturePopup, ID_CAPTURE_INCLUDE_CURSOR, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    EXPECT_EQ(before != 0, menuChecked());

    for (int round = 1; round <= 2; ++round) {
        SendMessageA(*m_frame, WM_COMMAND, ID_CAPTURE_INCLUDE_CURSOR, 0);
        const bool on = (round == 1) != (before != 0);
        EXPECT_EQ(on, g_settings.m_bIncludeCursor != 0);
        Pump();
        EXPECT_EQ(on, SendMessageA(m_frame->ToolBar(), TB_ISBUTTONCHECKED, ID_CAPTURE_INCLUDE_CURSOR, 0) != 0);
        EXPECT_EQ(on, menuChecked());
        EXPECT_EQ(1, g_settings.m_bModified) << "toggling back still counts as a change";
    }
    g_settings = saved;
    g_settings.m_bModified = 0;
}

TEST_F(AppFrameTest, ToolBarAndStatusBarCanBeHiddenAndShown)
{
    HWND rebar = m_frame->Rebar();
    const RECT before = ChildRect(m_frame->MdiClient());

    SendMessageA(*m_frame, WM_COMMAND, ID_VIEW_TOOLBAR, 0);
    const int toolBarBand = static_cast<int>(SendMessageA(rebar, RB_IDTOINDEX, 60161, 0));
    REBARBANDINFOA band{};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_STYLE;
    SendMessageA(rebar, RB_GETBANDINFOA, toolBarBand, reinterpret_cast<LPARAM>(&band));
    EXPECT_TRUE(band.fStyle & RBBS_HIDDEN);
    EXPECT_FALSE(g_updateUI.IsChecked(ID_VIEW_TOOLBAR));
    EXPECT_TRUE(IsWindowVisible(rebar)) << "the menu bar stays";
    EXPECT_LT(ChildRect(m_frame->MdiClient()).top, before.top);

    SendMessageA(*m_frame, WM_COMMAND, ID_VIEW_STATUS_BAR, 0);
    EXPECT_FALSE(IsWindowVisible(m_frame->StatusBar()));
    EXPECT_FALSE(g_updateUI.IsChecked(ID_VIEW_STATUS_BAR));
    RECT client{};
    GetClientRect(*m_frame, &client);
    EXPECT_EQ(client.bottom, ChildRect(m_frame->MdiClient()).bottom);

    SendMessageA(*m_frame, WM_COMMAND, ID_VIEW_TOOLBAR, 0);
    SendMessageA(*m_frame, WM_COMMAND, ID_VIEW_STATUS_BAR, 0);
    EXPECT_TRUE(g_updateUI.IsChecked(ID_VIEW_TOOLBAR));
    EXPECT_TRUE(g_updateUI.IsChecked(ID_VIEW_STATUS_BAR));
    const RECT after = ChildRect(m_frame->MdiClient());
    EXPECT_TRUE(EqualRect(&before, &after));
}

TEST_F(AppFrameTest, MinimisingHidesTheFrameAndTheTrayCommandBringsItBack)
{
    SendMessageA(*m_frame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(IsWindowVisible(*m_frame));

    SendMessageA(*m_frame, WM_COMMAND, ID_TRAY_SHOW, 0);
    EXPECT_TRUE(IsWindowVisible(*m_frame));
    EXPECT_FALSE(IsIconic(*m_frame));
}

// Accelerators reach the active document whatever the toolbar shows; Ctrl+P and
// F6 have no handler anywhere and change nothing.
TEST_F(AppFrameTest, AcceleratorsGoToTheActiveDocument)
{
    CRecordingDocument document(m_frame->MdiClient());
    ASSERT_NE(nullptr, document.m_hWnd);
    g_updateUI.EnableCommand(ID_FILE_SAVE, false);

    auto press = [&](UINT key, bool control) {
        BYTE keys[256] = {};
        if (control)
            keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        MSG msg{document.m_hWnd, WM_KEYDOWN, key, 1, 0, {}};
        if (!m_frame->PreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        BYTE none[256] = {};
        SetKeyboardState(none);
    };
    press('S', true);
    press(VK_ADD, false);
    press('P', true);
    press(VK_F6, false);
    EXPECT_EQ((std::vector<UINT>{ID_FILE_SAVE, ID_ZOOM_IN, ID_FILE_PRINT, ID_NEXT_PANE}), document.m_commands);
    EXPECT_TRUE(IsWindow(document.m_hWnd));
    EXPECT_TRUE(IsWindowVisible(*m_frame));
    g_updateUI.EnableCommand(ID_FILE_SAVE, true);
}
}

TEST_F(AppFrameTest, DelayCommandsAreOneRadioGroupOverTheKeptCountdown)
{
    const CSettings saved = g_settings;
    g_settings.m_bModified = 0;
    HMENU capturePopup = GetSubMenu(m_frame->MenuBar().GetMenu(), 1);
    HMENU delayPopup = GetSubMenu(capturePopup, GetMenuItemCount(capturePopup) - 1);
    ASSERT_NE(nullptr, delayPopup);
    auto radioChecked = [&] {
        SendMessageA(*m_frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(delayPopup), 0);
        std::vector<UINT> checked;
        for (UINT id : {ID_CAPTURE_DELAY_NONE, ID_CAPTURE_DELAY_3, ID_CAPTURE_DELAY_5, ID_CAPTURE_DELAY_10})
            if (GetMenuState(delayPopup, id, MF_BYCOMMAND) & MF_CHECKED)
                checked.push_back(id);
        return checked;
    };
    EXPECT_EQ(std::vector<UINT>{ID_CAPTURE_DELAY_NONE}, radioChecked());
    SendMessageA(*m_frame, WM_COMMAND, ID_CAPTURE_DELAY_5, 0);
    EXPECT_EQ(5, g_settings.m_nCountdownSeconds);
    EXPECT_EQ(1, g_settings.m_bModified);
    EXPECT_EQ(std::vector<UINT>{ID_CAPTURE_DELAY_5}, radioChecked());
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(delayPopup, ID_CAPTURE_DELAY_5, FALSE, &info);
    EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
    SendMessageA(*m_frame, WM_COMMAND, ID_CAPTURE_DELAY_10, 0);
    EXPECT_EQ(std::vector<UINT>{ID_CAPTURE_DELAY_10}, radioChecked());
    EXPECT_FALSE(g_updateUI.IsEnabled(ID_TRAY_CANCEL_DELAY)) << "nothing to cancel without a countdown";
    g_settings = saved;
    g_settings.m_bModified = 0;
}

namespace {
SIZE PictureSize(HWND toolBar)
{
    int width = 0, height = 0;
    ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageA(toolBar, TB_GETIMAGELIST, 0, 0)), &width, &height);
    return SIZE{width, height};
}
}  // namespace

// Moved to a monitor of 144 DPI, the frame takes the rectangle proposed for it, both
// toolbars show the 24-pixel pictures, the bars grow and the client moves down with
// them; back at 96 everything is as it was.
TEST_F(AppFrameTest, DpiChangeTakesTheProposedPlaceAndResizesTheBars)
{
    // The annotation toolbar comes with the first image.
    ASSERT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(16, 16), "a.bmp", true));
    HWND toolBar = m_frame->ToolBar();
    const auto startButtons = SendMessageA(toolBar, TB_GETBUTTONSIZE, 0, 0);
    const RECT startRebar = ChildRect(m_frame->Rebar());
    // The labels and the tooltips in the fonts they were made with; the status bar as high as its font.
    const HWND texts[] = {toolBar, reinterpret_cast<HWND>(SendMessageA(toolBar, TB_GETTOOLTIPS, 0, 0))};
    const auto statusHeight = [&] {
        const RECT status = ChildRect(m_frame->StatusBar());
        return status.bottom - status.top;
    };
    const LONG startStatus = statusHeight();
    const auto fontHeights = [&] {
        std::vector<LONG> heights;
        for (HWND window : texts) {
            LOGFONTA font{};
            GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
            heights.push_back(std::abs(font.lfHeight));
        }
        return heights;
    };
    const std::vector<LONG> startFonts = fontHeights();
    const auto changeDpi = [&](int dpi, RECT proposed) {
        SendMessageA(*m_frame, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&proposed));
        RECT now{};
        GetWindowRect(*m_frame, &now);
        EXPECT_TRUE(EqualRect(&proposed, &now)) << dpi << " DPI";
    };

    changeDpi(144, RECT{20, 10, 1220, 910});
    for (HWND bar : {toolBar, m_frame->AnnotationToolBar()}) {
        EXPECT_EQ(24, PictureSize(bar).cx);
        EXPECT_EQ(22, PictureSize(bar).cy);
    }
    const auto largeButtons = SendMessageA(toolBar, TB_GETBUTTONSIZE, 0, 0);
    EXPECT_GE(HIWORD(largeButtons), HIWORD(startButtons) + 7) << "the pictures are 7 pixels taller";
    EXPECT_GT(ChildRect(m_frame->Rebar()).bottom, startRebar.bottom);
    EXPECT_EQ(ChildRect(m_frame->Rebar()).bottom, ChildRect(m_frame->TabStrip()).top);
    for (size_t i = 0; i < startFonts.size(); ++i)
        EXPECT_EQ(MulDiv(startFonts[i], 3, 2), fontHeights()[i]) << "font " << i;
    EXPECT_GT(statusHeight(), startStatus);

    changeDpi(96, RECT{20, 10, 920, 610});
    EXPECT_EQ(startFonts, fontHeights());
    EXPECT_EQ(startStatus, statusHeight());
    EXPECT_EQ(16, PictureSize(toolBar).cx);
    EXPECT_EQ(startButtons, SendMessageA(toolBar, TB_GETBUTTONSIZE, 0, 0));
    EXPECT_EQ(startRebar.bottom, ChildRect(m_frame->Rebar()).bottom);
}
