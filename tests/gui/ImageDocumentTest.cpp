#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Gbk.h"
#include "PixelReader.h"
#include "document/ImageFrame.h"
#include "DialogAnswerer.h"
#include "gui/FrameFixture.h"
#include "LiveGdiObjects.h"
#include "res/resource.h"
#include "TempFolder.h"
#include "ui/UpdateUI.h"

namespace {
class ImageDocumentTest : public FrameFixture {
protected:
    HWND Open(const char* name, bool saved, int width = 64, int height = 48)
    {
        EXPECT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(width, height), name, saved));
        return m_frame->ActiveDocument();
    }

    CImageView& ViewOf(HWND document)
    {
        CImageFrame* frame = nullptr;
        m_frame->Documents().FindTab(document, &frame);
        return frame->View();
    }

    int SelectedTab() const { return static_cast<int>(SendMessageA(m_frame->TabStrip(), TCM_GETCURSEL, 0, 0)); }

    void ClickTab(int index)
    {
        SendMessageA(m_frame->TabStrip(), TCM_SETCURSEL, index, 0);
        NMHDR header{m_frame->TabStrip(), 0, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageA(*m_frame, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    }

    bool IsMaximized(HWND document) const
    {
        BOOL maximized = FALSE;
        SendMessageA(m_frame->MdiClient(), WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
        return maximized && m_frame->ActiveDocument() == document;
    }

    void Close(HWND document) { SendMessageA(m_frame->MdiClient(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(document), 0); }

    COLORREF ViewPixel(HWND view, int x, int y) { return ShownPixel(view, x, y); }
};

TEST_F(ImageDocumentTest, TabsFollowDocumentsAndTheFirstOneOpensMaximised)
{
    const RECT bare = ChildRect(m_frame->MdiClient());
    HWND first = Open("C:\\pics\\a.bmp", true);
    ASSERT_NE(nullptr, first);
    EXPECT_TRUE(IsMaximized(first));
    EXPECT_EQ(1, TabCount());
    EXPECT_EQ("a.bmp", TabText(0));
    EXPECT_GT(ChildRect(m_frame->MdiClient()).top, bare.top) << "the row of tabs shows above the client";

    HWND second = Open(ToGbk("快照-2*").c_str(), false);
    EXPECT_TRUE(IsMaximized(second)) << "MDI keeps the maximised state";
    EXPECT_EQ(2, TabCount());
    EXPECT_EQ(1, SelectedTab());
    EXPECT_EQ(ToGbk("快照-2*"), TabText(1));

    ClickTab(0);
    EXPECT_EQ(first, m_frame->ActiveDocument());
    SendMessageA(m_frame->MdiClient(), WM_MDINEXT, reinterpret_cast<WPARAM>(first), 0);
    EXPECT_EQ(second, m_frame->ActiveDocument());
    EXPECT_EQ(1, SelectedTab()) << "the tab follows MDI activation";

    Close(first);
    EXPECT_FALSE(IsWindow(first)) << "a saved document closes without asking";
    EXPECT_EQ(1, TabCount());
    EXPECT_EQ(0, SelectedTab());
}

TEST_F(ImageDocumentTest, LastDocumentClosingHidesTheTabsAndDisablesImageCommands)
{
    const RECT bare = ChildRect(m_frame->MdiClient());
    HWND document = Open("C:\\pics\\a.bmp", true);
    SendMessageA(document, WM_COMMAND, ID_ZOOM_IN, 0);
    EXPECT_TRUE(g_updateUI.IsEnabled(ID_ZOOM_OUT));
    EXPECT_TRUE(g_updateUI.IsEnabled(ID_EDITORS));
    EXPECT_TRUE(g_updateUI.IsEnabled(ID_EDIT_COPY));

    Close(document);
    EXPECT_EQ(0, TabCount());
    const RECT after = ChildRect(m_frame->MdiClient());
    EXPECT_TRUE(EqualRect(&bare, &after));
    for (UINT id : {ID_ZOOM_IN, ID_ZOOM_OUT, ID_ZOOM_FIT, ID_ZOOM_ACTUAL, ID_EDITORS, ID_EDIT_COPY})
        EXPECT_FALSE(g_updateUI.IsEnabled(id)) << id;
    EXPECT_STREQ("", g_updateUI.GetCommandText(ID_INDICATOR_SIZE)) << "no image, no size";
    EXPECT_STREQ("", g_updateUI.GetCommandText(ID_INDICATOR_ZOOM));

    HWND again = Open("C:\\pics\\b.bmp", true);
    EXPECT_TRUE(IsMaximized(again)) << "the first document after an empty frame is maximised again";
}

TEST_F(ImageDocumentTest, StatusPanesAndZoomMarkBelongToTheActiveDocument)
{
    HWND first = Open("C:\\a.bmp", true, 640, 480);
    EXPECT_EQ(ToGbk(" 实际尺寸: 640 x 480"), g_updateUI.GetCommandText(ID_INDICATOR_SIZE));
    EXPECT_EQ(ToGbk(" 缩放比例: 100%"), g_updateUI.GetCommandText(ID_INDICATOR_ZOOM));
    SendMessageA(first, WM_COMMAND, ID_ZOOM_400, 0);
    EXPECT_EQ(ToGbk(" 缩放比例: 400%"), g_updateUI.GetCommandText(ID_INDICATOR_ZOOM));

    HWND second = Open("C:\\b.bmp", true, 32, 16);
    EXPECT_EQ(ToGbk(" 实际尺寸: 32 x 16"), g_updateUI.GetCommandText(ID_INDICATOR_SIZE));
    EXPECT_EQ(ToGbk(" 缩放比例: 100%"), g_updateUI.GetCommandText(ID_INDICATOR_ZOOM));

    auto zoomMenu = [](HWND document) {
        return GetSubMenu(reinterpret_cast<HMENU>(SendMessageA(document, WM_APP + 101, 3, 0)), 2);
    };
    EXPECT_TRUE(GetMenuState(zoomMenu(first), 7, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(zoomMenu(first), 4, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(zoomMenu(second), 4, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_EQ(nullptr, reinterpret_cast<HMENU>(SendMessageA(first, WM_APP + 101, 2, 0)));

    Pump();
    char pane[64] = {};
    SendMessageA(m_frame->StatusBar(), SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(pane));
    EXPECT_EQ(ToGbk(" 实际尺寸: 32 x 16"), pane);
}

TEST_F(ImageDocumentTest, ViewPaintsTheImageAndHatchesTheRest)
{
    HWND document = Open("C:\\a.bmp", true, 64, 48);
    HWND view = GetWindow(document, GW_CHILD);
    for (POINT p : {POINT{0, 0}, POINT{10, 3}, POINT{63, 47}, POINT{31, 20}})
        EXPECT_EQ(PatternColor(p.x, p.y), ViewPixel(view, p.x, p.y)) << p.x << "," << p.y;

    // Outside the image: black diagonal cross-hatch on white.
    int black = 0, white = 0;
    for (int x = 100; x < 116; ++x) {
        const COLORREF color = ViewPixel(view, x, 10);
        black += color == RGB(0, 0, 0);
        white += color == RGB(255, 255, 255);
    }
    EXPECT_EQ(16, black + white);
    EXPECT_GT(black, 0);
    EXPECT_GT(white, 0);

    SendMessageA(document, WM_COMMAND, ID_ZOOM_400, 0);
    for (POINT p : {POINT{0, 0}, POINT{10, 3}, POINT{63, 47}})
        EXPECT_EQ(PatternColor(p.x, p.y), ViewPixel(view, p.x * 4 + 2, p.y * 4 + 1)) << p.x << "," << p.y;
}

TEST_F(ImageDocumentTest, HatchStaysFixedToTheImageWhenScrolling)
{
    // Narrow and tall: the hatch shows right of the image while it scrolls vertically.
    HWND document = Open("C:\\a.bmp", true, 40, 3000);
    HWND view = GetWindow(document, GW_CHILD);
    std::vector<COLORREF> before;
    for (int y = 40; y < 56; ++y)
        before.push_back(ViewPixel(view, 60, y));
    SendMessageA(view, WM_VSCROLL, SB_LINEDOWN, 0);
    ASSERT_EQ(30, ViewOf(document).ScrollOffset().y);
    for (int y = 10; y < 26; ++y)
        EXPECT_EQ(before[y - 10], ViewPixel(view, 60, y)) << y;
    EXPECT_EQ(PatternColor(5, 60), ViewPixel(view, 5, 30));
}

TEST_F(ImageDocumentTest, ClosePromptAnswersDecideWhetherTheDocumentGoes)
{
    HWND document = Open(ToGbk("快照-3*").c_str(), false);
    std::string prompt;
    {
        CDialogAnswerer answerer({CDialogAnswerer::Press(IDCANCEL, &prompt)});
        Close(document);
        EXPECT_EQ(1u, answerer.StepsTaken());
    }
    EXPECT_EQ(ToGbk("要保存图象“快照-3”吗？"), prompt);
    EXPECT_TRUE(IsWindow(document));
    EXPECT_EQ(1, TabCount());

    {
        // Yes, then the Save As dialog is cancelled: that counts as Cancel.
        CDialogAnswerer answerer({CDialogAnswerer::Press(IDYES), CDialogAnswerer::Press(IDCANCEL)});
        Close(document);
        EXPECT_EQ(2u, answerer.StepsTaken());
    }
    EXPECT_TRUE(IsWindow(document));

    {
        CDialogAnswerer answerer({CDialogAnswerer::Press(IDNO)});
        Close(document);
    }
    EXPECT_FALSE(IsWindow(document));
    EXPECT_EQ(0, TabCount());
}

TEST_F(ImageDocumentTest, FitActualSizeAndZoomStepsFollowTheTable)
{
    // Small enough for no scroll bars, so the client area stays as it was measured.
    HWND small = Open("C:\\small.bmp", true, 160, 120);
    CImageView& smallView = ViewOf(small);
    RECT client{};
    GetClientRect(smallView.Handle(), &client);
    SendMessageA(small, WM_COMMAND, ID_ZOOM_FIT, 0);
    const float expected = std::min(static_cast<float>(client.right) / 160, static_cast<float>(client.bottom) / 120);
    EXPECT_NEAR(expected, smallView.Zoom(), 1e-5);
    EXPECT_FALSE(g_updateUI.IsEnabled(ID_ZOOM_FIT)) << "the image already fits one side exactly";

    HWND document = Open("C:\\big.bmp", true, 1600, 1200);
    CImageView& view = ViewOf(document);

    SendMessageA(document, WM_COMMAND, ID_ZOOM_3200, 0);
    EXPECT_EQ(32.0f, view.Zoom());
    EXPECT_FALSE(g_updateUI.IsEnabled(ID_ZOOM_IN));
    SendMessageA(document, WM_COMMAND, ID_ZOOM_IN, 0);
    EXPECT_EQ(32.0f, view.Zoom()) << "zoom in at the top does nothing";
    SendMessageA(document, WM_COMMAND, ID_ZOOM_OUT, 0);
    EXPECT_EQ(16.0f, view.Zoom());
    EXPECT_EQ(11, view.ZoomIndex());

    SendMessageA(view.Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
    const LONG scrolled = view.ScrollOffset().y;
    EXPECT_EQ(1200 * 16 / 10, scrolled);
    SendMessageA(document, WM_COMMAND, ID_ZOOM_1600, 0);
    EXPECT_EQ(scrolled, view.ScrollOffset().y) << "choosing the current level keeps the position";
    SendMessageA(document, WM_COMMAND, ID_ZOOM_ACTUAL, 0);
    EXPECT_EQ(1.0f, view.Zoom());
    EXPECT_EQ(0, view.ScrollOffset().y);
    EXPECT_FALSE(g_updateUI.IsEnabled(ID_ZOOM_ACTUAL));
}

TEST_F(ImageDocumentTest, KeysWheelAndTheHandMoveTheImage)
{
    HWND document = Open("C:\\big.bmp", true, 2000, 3000);
    CImageView& view = ViewOf(document);
    HWND window = view.Handle();
    EXPECT_EQ(0, view.HandCursor()) << "an image larger than the view shows the open hand";

    SendMessageA(window, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(30, view.ScrollOffset().y);
    SendMessageA(window, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(20, view.ScrollOffset().x);
    SendMessageA(window, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(0, view.ScrollOffset().y);

    // Half notches: two lines, then three.
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, -60), 0);
    const LONG afterHalf = view.ScrollOffset().y;
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, -60), 0);
    EXPECT_EQ(2 * 30, afterHalf);
    EXPECT_EQ(5 * 30, view.ScrollOffset().y);

    // Dragging left and up moves the image with the mouse.
    const POINT before = view.ScrollOffset();
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 300));
    EXPECT_EQ(window, GetCapture());
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(250, 260));
    EXPECT_EQ(before.x + 50, view.ScrollOffset().x);
    EXPECT_EQ(before.y + 40, view.ScrollOffset().y);
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2000, 2000));
    EXPECT_EQ(0, view.ScrollOffset().x) << "clamped at the left edge";
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(2000, 2000));
    EXPECT_EQ(nullptr, GetCapture());

    HWND small = Open("C:\\small.bmp", true, 40, 30);
    EXPECT_EQ(-1, ViewOf(small).HandCursor()) << "an image that fits keeps the arrow";
}

TEST_F(ImageDocumentTest, WindowMenuListsTheOpenDocuments)
{
    Open("C:\\a.bmp", true);
    HWND second = Open("C:\\b.bmp", true);
    HMENU menu = m_frame->MenuBar().GetMenu();
    const int count = GetMenuItemCount(menu);
    HMENU windowMenu = GetSubMenu(menu, count - 2);
    std::vector<std::string> items;
    for (int i = 0; i < GetMenuItemCount(windowMenu); ++i) {
        char text[MAX_PATH] = {};
        if (GetMenuItemID(windowMenu, i) >= 0xFF00) {
            GetMenuStringA(windowMenu, i, text, MAX_PATH, MF_BYPOSITION);
            items.push_back(text);
        }
    }
    ASSERT_EQ(2u, items.size());
    EXPECT_NE(std::string::npos, items[0].find("a.bmp"));
    EXPECT_NE(std::string::npos, items[1].find("b.bmp"));

    // Choosing the first one from the list activates it and selects its tab.
    SendMessageA(*m_frame, WM_COMMAND, 0xFF00, 0);
    EXPECT_NE(second, m_frame->ActiveDocument());
    EXPECT_EQ(0, SelectedTab());
}

// The Save As dialog: the proposal, the extension that follows the chosen type, and
// the format taken from the type for a typed name without an extension.
TEST_F(ImageDocumentTest, SaveAsWritesTheChosenTypeAndRenamesTheDocument)
{
    HWND document = Open(ToGbk("快照-3*").c_str(), false);
    CTempFolder folder;
    const std::string typed = folder.PathOf("a");
    const std::string target = typed + ".bmp";
    std::string proposed, afterTypeChange;
    {
        CDialogAnswerer answerer({[&](HWND dialog) {
            char text[MAX_PATH] = {};
            GetDlgItemTextA(dialog, 0x47c, text, MAX_PATH);
            proposed = text;
            HWND types = GetDlgItem(dialog, 0x470);
            SendMessageA(types, CB_SETCURSEL, 1, 0);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
            GetDlgItemTextA(dialog, 0x47c, text, MAX_PATH);
            afterTypeChange = text;
            SendMessageA(dialog, CDM_SETCONTROLTEXT, 0x47c, reinterpret_cast<LPARAM>(typed.c_str()));
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        }});
        SendMessageA(document, WM_COMMAND, ID_FILE_SAVE_AS, 0);
        EXPECT_EQ(1u, answerer.StepsTaken());
    }
    EXPECT_EQ(ToGbk("快照-3"), proposed);
    EXPECT_EQ(ToGbk("快照-3.bmp"), afterTypeChange);
    EXPECT_EQ("BM", ReadFileBytes(target).substr(0, 2));

    char title[MAX_PATH] = {};
    GetWindowTextA(document, title, MAX_PATH);
    EXPECT_EQ(target, title);
    EXPECT_EQ("a.bmp", TabText(0));
    EXPECT_FALSE(g_updateUI.IsEnabled(ID_FILE_SAVE));
    Close(document);
    EXPECT_FALSE(IsWindow(document)) << "a saved document closes without asking";
}

TEST_F(ImageDocumentTest, ExitStopsAtTheFirstRefusedDocument)
{
    Open("C:\\a.bmp", false);
    HWND second = Open("C:\\b.bmp", false);
    {
        CDialogAnswerer answerer({CDialogAnswerer::Press(IDCANCEL)});
        SendMessageA(*m_frame, WM_CLOSE, 0, 0);
    }
    EXPECT_TRUE(IsWindow(*m_frame));
    EXPECT_TRUE(IsWindow(second));
    EXPECT_EQ(2, TabCount());
}

TEST_F(ImageDocumentTest, OpeningAndClosingDocumentsLeavesNoGdiObjects)
{
    Close(Open("C:\\warm.bmp", true));  // brush, cursors and classes made once
    const size_t before = LiveGdiObjects();
    for (int i = 0; i < 10; ++i) {
        HWND document = Open("C:\\a.bmp", true, 200, 100);
        SendMessageA(document, WM_COMMAND, ID_ZOOM_200, 0);
        UpdateWindow(document);
        Close(document);
    }
    EXPECT_EQ(before, LiveGdiObjects());
}
}
