// The annotation toolbar in the frame, driven by real clicks: the tools as one check
// group, the colour menu with the swatch on its button, the width list, and the band
// that is there only while an image is open.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "DialogAnswerer.h"
#include "PixelReader.h"
#include "RealClick.h"
#include "TimedSteps.h"
#include "annotate/AnnotationTools.h"
#include "document/DocumentMessages.h"
#include "gui/FrameFixture.h"
#include "gui/MenuBarTestHost.h"
#include "res/resource.h"
#include "scoped/ScopedHandles.h"
#include "util/ModulePath.h"

namespace {

RECT ButtonRect(HWND toolBar, UINT command)
{
    RECT rect{};
    SendMessageA(toolBar, TB_GETRECT, command, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

bool IsPressed(HWND toolBar, UINT command)
{
    return SendMessageA(toolBar, TB_ISBUTTONCHECKED, command, 0) != 0;
}

// The pixels of a button, as the bar shows it, that have exactly this colour.
int PixelsOfColour(HWND toolBar, UINT command, COLORREF colour)
{
    const RECT button = ButtonRect(toolBar, command);
    const CPixelReader shown(toolBar);
    int count = 0;
    for (int y = button.top; y < button.bottom; ++y)
        for (int x = button.left; x < button.right; ++x)
            count += shown.At(x, y) == colour;
    return count;
}

// The wParam of every annotation message the document window receives.
struct AnnotationMessages {
    static LRESULT CALLBACK Record(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
    {
        if (msg == WM_APP_ANNOTATION_CHANGED)
            reinterpret_cast<AnnotationMessages*>(data)->received.push_back(wParam);
        return DefSubclassProc(window, msg, wParam, lParam);
    }
    std::vector<WPARAM> received;
};

class AnnotationToolBarTest : public FrameFixture {
protected:
    void SetUp() override
    {
        // Every test starts from the default look, not from what an earlier one kept.
        ASSERT_TRUE(MakeModuleFilePath("lumigrab.ini", m_szIni));
        DeleteFileA(m_szIni);
        FrameFixture::SetUp();
        SetForegroundWindow(*m_frame);
    }

    void TearDown() override
    {
        FrameFixture::TearDown();
        DeleteFileA(m_szIni);
    }

    HWND OpenDocument()
    {
        EXPECT_TRUE(m_frame->Documents().CreateImageDocument(MakePatternBitmap(300, 200), "C:\\a.bmp", true));
        Pump();
        m_toolBar = m_frame->AnnotationToolBar();
        EXPECT_NE(nullptr, m_toolBar) << "made with the first image";
        return m_frame->ActiveDocument();
    }

    bool BandHidden() const
    {
        const LRESULT index = SendMessageA(m_frame->Rebar(), RB_IDTOINDEX, 60162, 0);
        REBARBANDINFOA band{};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_STYLE | RBBIM_CHILD;
        SendMessageA(m_frame->Rebar(), RB_GETBANDINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band));
        EXPECT_EQ(m_toolBar, band.hwndChild);
        return (band.fStyle & RBBS_HIDDEN) != 0;
    }

    void ClickButton(UINT command) { ClickInWindow(m_toolBar, ButtonRect(m_toolBar, command)); }

    char m_szIni[MAX_PATH] = {};
    HWND m_toolBar = nullptr;
};

TEST_F(AnnotationToolBarTest, TheBandIsThereOnlyWhileAnImageIsOpen)
{
    EXPECT_EQ(nullptr, m_frame->AnnotationToolBar()) << "not made before an image is open";
    const RECT clientAlone = ChildRect(m_frame->MdiClient());

    for (int round = 0; round < 2; ++round) {
        OpenDocument();
        EXPECT_FALSE(BandHidden()) << "round " << round;
        EXPECT_TRUE(IsWindowVisible(m_toolBar));
        // Under the main toolbar, over the tabs and the images, in the frame's width.
        const RECT bar = ChildRect(m_toolBar);
        EXPECT_GE(bar.top, ChildRect(m_frame->ToolBar()).bottom);
        EXPECT_LE(bar.bottom, ChildRect(m_frame->Rebar()).bottom);
        EXPECT_LE(ChildRect(m_frame->Rebar()).bottom, ChildRect(m_frame->TabStrip()).top);
        RECT frameClient{};
        GetClientRect(*m_frame, &frameClient);
        EXPECT_LE(bar.right, frameClient.right) << "all buttons fit in the 900-pixel frame";
        EXPECT_LE(ChildRect(m_frame->AnnotationBar().WidthList()).right, bar.right);

        ASSERT_TRUE(m_frame->Documents().CloseAll());
        Pump();
        EXPECT_TRUE(BandHidden()) << "round " << round;
        EXPECT_FALSE(IsWindowVisible(m_toolBar));
        EXPECT_EQ(clientAlone.top, ChildRect(m_frame->MdiClient()).top) << "the room is given back";
    }
}

TEST_F(AnnotationToolBarTest, AClickedToolIsTheToolAndTheOnePressedAndTheDocumentHearsOfIt)
{
    HWND document = OpenDocument();
    AnnotationMessages messages;
    ASSERT_TRUE(SetWindowSubclass(document, AnnotationMessages::Record, 1, reinterpret_cast<DWORD_PTR>(&messages)));
    CAnnotationTools& tools = m_frame->AnnotationTools();
    EXPECT_TRUE(IsPressed(m_toolBar, ID_TOOL_HAND));

    ClickButton(ID_TOOL_ARROW);
    EXPECT_TRUE(RunLoopUntil([&] { return tools.Tool() == AnnotationTool::kArrow; }));
    EXPECT_TRUE(IsPressed(m_toolBar, ID_TOOL_ARROW));
    EXPECT_FALSE(IsPressed(m_toolBar, ID_TOOL_HAND));

    ClickButton(ID_TOOL_CROP);
    EXPECT_TRUE(RunLoopUntil([&] { return tools.Tool() == AnnotationTool::kCrop; }));
    EXPECT_TRUE(IsPressed(m_toolBar, ID_TOOL_CROP));
    EXPECT_FALSE(IsPressed(m_toolBar, ID_TOOL_ARROW));

    // A tool chosen elsewhere (a key in the image) moves the pressed button too.
    tools.SetTool(AnnotationTool::kText);
    EXPECT_TRUE(IsPressed(m_toolBar, ID_TOOL_TEXT));
    EXPECT_FALSE(IsPressed(m_toolBar, ID_TOOL_CROP));
    EXPECT_EQ((std::vector<WPARAM>{0, 0, 0}), messages.received) << "one tool message for each change";

    // Any menu with the tools shows the one in use.
    CMenuOwner menu(CreatePopupMenu());
    for (UINT id = ID_TOOL_HAND; id <= ID_TOOL_CROP; ++id)
        AppendMenuA(menu.get(), MF_STRING, id, "tool");
    SendMessageA(*m_frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu.get()), 0);
    for (UINT id = ID_TOOL_HAND; id <= ID_TOOL_CROP; ++id)
        EXPECT_EQ(id == ID_TOOL_TEXT, (GetMenuState(menu.get(), id, MF_BYCOMMAND) & MF_CHECKED) != 0) << id;
    RemoveWindowSubclass(document, AnnotationMessages::Record, 1);
}

TEST_F(AnnotationToolBarTest, APresetFromTheColourMenuIsTheColourOnTheSwatchAndInTheFile)
{
    HWND document = OpenDocument();
    AnnotationMessages messages;
    ASSERT_TRUE(SetWindowSubclass(document, AnnotationMessages::Record, 1, reinterpret_cast<DWORD_PTR>(&messages)));
    CAnnotationTools& tools = m_frame->AnnotationTools();
    const COLORREF red = g_annotationPresetColours[0], blue = g_annotationPresetColours[4];
    ASSERT_EQ(red, tools.Colour());
    EXPECT_GT(PixelsOfColour(m_toolBar, ID_ANNOTATE_COLOUR, red), 60);
    EXPECT_EQ(0, PixelsOfColour(m_toolBar, ID_ANNOTATE_COLOUR, blue));

    int items = 0;
    CTimedSteps pick({{[] { return FindPopupMenuWindow() != nullptr; },
                       [&] {
                           HMENU menu = reinterpret_cast<HMENU>(SendMessageA(FindPopupMenuWindow(), MN_GETHMENU, 0, 0));
                           items = GetMenuItemCount(menu);
                           RECT item{};
                           GetMenuItemRect(nullptr, menu, 4, &item);
                           ClickAtScreen(CentreOf(item));
                       }}});
    ClickButton(ID_ANNOTATE_COLOUR);
    EXPECT_TRUE(RunLoopUntil([&] { return tools.Colour() == blue && !FindPopupMenuWindow(); }));
    Pump();
    EXPECT_EQ(10, items) << "eight presets, a line, 更多颜色…";
    EXPECT_GT(PixelsOfColour(m_toolBar, ID_ANNOTATE_COLOUR, blue), 60);
    EXPECT_EQ(0, PixelsOfColour(m_toolBar, ID_ANNOTATE_COLOUR, red));
    EXPECT_EQ(std::vector<WPARAM>{kPropertyColour}, messages.received);

    char kept[16] = {};
    GetPrivateProfileStringA("Annotate", "Colour", "", kept, sizeof kept, m_szIni);
    EXPECT_STREQ("0066FF", kept) << "the choice is written at once";
    RemoveWindowSubclass(document, AnnotationMessages::Record, 1);
}

TEST_F(AnnotationToolBarTest, TheWidthListSetsTheWidthAndShowsItAndGivesTheFocusBack)
{
    OpenDocument();
    CAnnotationTools& tools = m_frame->AnnotationTools();
    HWND list = m_frame->AnnotationBar().WidthList();
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(2, SendMessageA(list, CB_GETCURSEL, 0, 0)) << "the default width, 3";

    RECT field{};
    GetClientRect(list, &field);
    ClickInWindow(list, field);
    ASSERT_TRUE(RunLoopUntil([&] { return SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0) != 0; }));
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(list, &info));
    RECT item{};
    SendMessageA(info.hwndList, LB_GETITEMRECT, 6, reinterpret_cast<LPARAM>(&item));
    ClickInWindow(info.hwndList, item);
    EXPECT_TRUE(RunLoopUntil([&] { return tools.Style().width == 7 && !SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0); }));
    Pump();
    EXPECT_NE(list, GetFocus()) << "the keys go to the image again";

    tools.SetWidth(12);
    EXPECT_EQ(11, SendMessageA(list, CB_GETCURSEL, 0, 0));
}

// The fill and mosaic items reach the tools from any menu, and the fill button shows the fill.
TEST_F(AnnotationToolBarTest, FillAndMosaicCommandsSetTheLook)
{
    OpenDocument();
    CAnnotationTools& tools = m_frame->AnnotationTools();
    const LRESULT noFillPicture = SendMessageA(m_toolBar, TB_GETBITMAP, ID_ANNOTATE_FILL, 0);
    SendMessageA(*m_frame, WM_COMMAND, ID_ANNOTATE_FILL_HALF, 0);
    EXPECT_EQ(AnnotationFill::kHalf, tools.Style().fill);
    EXPECT_EQ(noFillPicture + 2, SendMessageA(m_toolBar, TB_GETBITMAP, ID_ANNOTATE_FILL, 0));
    SendMessageA(*m_frame, WM_COMMAND, ID_ANNOTATE_MOSAIC_LAST, 0);
    EXPECT_EQ(32, tools.Style().mosaicBlock);
    SendMessageA(*m_frame, WM_COMMAND, ID_ANNOTATE_MOSAIC_FIRST + 2, 0);
    EXPECT_EQ(12, tools.Style().mosaicBlock);
}

// 更多颜色… starts at the colour in use; 遮盖 keeps a colour of its own.
TEST_F(AnnotationToolBarTest, MoreColoursStartsAtTheColourAndSetsTheOneOfTheTool)
{
    OpenDocument();
    CAnnotationTools& tools = m_frame->AnnotationTools();
    constexpr int kRed = 706, kGreen = 707, kBlue = 708;  // the colour dialog's edits
    auto pick = [&](int red, int green, int blue, std::string* shown) {
        CDialogAnswerer answer({[=](HWND dialog) {
            char text[16];
            for (int edit : {kRed, kGreen, kBlue}) {
                GetDlgItemTextA(dialog, edit, text, sizeof text);
                *shown += std::string(text) + " ";
            }
            SetDlgItemInt(dialog, kRed, red, FALSE);
            SetDlgItemInt(dialog, kGreen, green, FALSE);
            SetDlgItemInt(dialog, kBlue, blue, FALSE);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        }});
        SendMessageA(*m_frame, WM_COMMAND, ID_ANNOTATE_MORE_COLOURS, 0);
        EXPECT_EQ(1u, answer.StepsTaken());
    };

    std::string shown;
    pick(10, 20, 30, &shown);
    EXPECT_EQ("255 0 0 ", shown);
    EXPECT_EQ(RGB(10, 20, 30), tools.Colour());
    EXPECT_GT(PixelsOfColour(m_toolBar, ID_ANNOTATE_COLOUR, RGB(10, 20, 30)), 60);

    SendMessageA(*m_frame, WM_COMMAND, ID_TOOL_REDACT, 0);
    EXPECT_GT(PixelsOfColour(m_toolBar, ID_ANNOTATE_COLOUR, RGB(0, 0, 0)), 60) << "遮盖's black";
    shown.clear();
    pick(40, 50, 60, &shown);
    EXPECT_EQ("0 0 0 ", shown);
    EXPECT_EQ(RGB(40, 50, 60), tools.StyleFor(AnnotationKind::kRedact).colour);
    EXPECT_EQ(RGB(10, 20, 30), tools.StyleFor(AnnotationKind::kArrow).colour);
}

// The font dialog speaks in points of the screen; the text is sized in image pixels.
TEST_F(AnnotationToolBarTest, TheFontDialogStartsAtTheFontAndGivesItsSizeInPixels)
{
    OpenDocument();
    CAnnotationTools& tools = m_frame->AnnotationTools();
    tools.SetFont(L"", 32);
    const int dpi = GetDeviceCaps(CScreenDC(), LOGPIXELSY);
    constexpr int kFaceList = 0x470, kSizeList = 0x472;  // cmb1, cmb3 of the font dialog

    char face[LF_FACESIZE] = {}, size[16] = {};
    CDialogAnswerer keep({[&](HWND dialog) {
        GetDlgItemTextA(dialog, kFaceList, face, sizeof face);
        GetDlgItemTextA(dialog, kSizeList, size, sizeof size);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }});
    SendMessageA(*m_frame, WM_COMMAND, ID_ANNOTATE_FONT, 0);
    EXPECT_EQ(1u, keep.StepsTaken());
    EXPECT_STRNE("", face) << "an empty face starts as the system's";
    EXPECT_EQ(MulDiv(32, 72, dpi), atoi(size)) << "32 pixels in points";
    EXPECT_EQ(L"", tools.Style().fontFace) << "the system's face taken as it was stays the system's";
    EXPECT_EQ(32, tools.Style().fontSize);

    CDialogAnswerer resize({[&](HWND dialog) {
        HWND sizes = GetDlgItem(dialog, kSizeList);
        SendMessageA(sizes, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("36"));
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kSizeList, CBN_SELCHANGE), reinterpret_cast<LPARAM>(sizes));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }});
    SendMessageA(*m_frame, WM_COMMAND, ID_ANNOTATE_FONT, 0);
    EXPECT_EQ(1u, resize.StepsTaken());
    EXPECT_EQ(MulDiv(36, dpi, 72), tools.Style().fontSize);
}

}  // namespace
