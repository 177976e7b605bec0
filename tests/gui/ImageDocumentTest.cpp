#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "Gbk.h"
#include "document/ImageFrame.h"
#include "gui/DialogAnswerer.h"
#include "gui/FrameFixture.h"
#include "gui/LiveGdiObjects.h"
#include "res/resource.h"
#include "ui/UpdateUI.h"

namespace {
class ImageDocumentTest : public FrameFixture {
protected:
    HWND Open(const char* name, bool saved, int width = 64, int height = 48)
    {
        EXPECT_TRUE(m_frame->CreateImageDocument(MakePatternBitmap(width, height), name, saved));
        return m_frame->ActiveDocument();
    }

    CImageView& ViewOf(HWND document)
    {
        CImageFrame* frame = nullptr;
        m_frame->FindTab(document, &frame);
        return frame->View();
    }

    int TabCount() const { return static_cast<int>(SendMessageA(m_frame->TabStrip(), TCM_GETITEMCOUNT, 0, 0)); }
    int SelectedTab() const { return static_cast<int>(SendMessageA(m_frame->TabStrip(), TCM_GETCURSEL, 0, 0)); }

    std::string TabText(int index) const
    {
        char text[MAX_PATH] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(m_frame->TabStrip(), TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
        return text;
    }

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

    // The pixels the view shows, read back from its window.
    COLORREF ViewPixel(HWND view, int x, int y)
    {
        UpdateWindow(view);
        HDC dc = GetDC(view);
        const COLORREF color = GetPixel(dc, x, y);
        ReleaseDC(view, dc);
        return color;
    }
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

    Close(document);
    EXPECT_EQ(0, TabCount());
    const RECT after = ChildRect(m_frame->MdiClient());
    EXPECT_TRUE(EqualRect(&bare, &after));
    for (UINT id : {ID_ZOOM_IN, ID_ZOOM_OUT, ID_ZOOM_FIT, ID_ZOOM_ACTUAL, ID_EDITORS})
        EXPECT_FALSE(g_updateUI.IsEnabled(id)) << id;

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

std::string TempFolder()
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return folder;
}

std::string FileStart(const std::string& path, size_t count)
{
    std::string bytes(count, '\0');
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD read = 0;
    if (file != INVALID_HANDLE_VALUE) {
        ReadFile(file, &bytes[0], static_cast<DWORD>(count), &read, nullptr);
        CloseHandle(file);
    }
    bytes.resize(read);
    return bytes;
}

// The Save As dialog: the proposal, the extension that follows the chosen type, and
// the format taken from the type rather than from the typed name.
TEST_F(ImageDocumentTest, SaveAsWritesTheChosenTypeAndRenamesTheDocument)
{
    HWND document = Open(ToGbk("快照-3*").c_str(), false);
    const std::string target = TempFolder() + "a.jpg";
    DeleteFileA(target.c_str());
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
            SendMessageA(dialog, CDM_SETCONTROLTEXT, 0x47c, reinterpret_cast<LPARAM>(target.c_str()));
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        }});
        SendMessageA(document, WM_COMMAND, ID_FILE_SAVE_AS, 0);
        EXPECT_EQ(1u, answerer.StepsTaken());
    }
    EXPECT_EQ(ToGbk("快照-3"), proposed);
    EXPECT_EQ(ToGbk("快照-3.bmp"), afterTypeChange);
    EXPECT_EQ("BM", FileStart(target, 2)) << "BMP data under the typed .jpg name";

    char title[MAX_PATH] = {};
    GetWindowTextA(document, title, MAX_PATH);
    EXPECT_EQ(target, title);
    EXPECT_EQ("a.jpg", TabText(0));
    EXPECT_FALSE(g_updateUI.IsEnabled(ID_FILE_SAVE));
    Close(document);
    EXPECT_FALSE(IsWindow(document)) << "a saved document closes without asking";
    DeleteFileA(target.c_str());
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
