#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "Gbk.h"
#include "KeyInput.h"
#include "PixelReader.h"
#include "RealClick.h"
#include "annotate/AnnotatedPng.h"
#include "e2e/ProgramUnderTest.h"
#include "imageio/BmpFile.h"
#include "imageio/Dib.h"
#include "imageio/ImageFormats.h"
#include "imageio/TopDownDib.h"
#include "res/resource.h"
#include "scoped/ScopedHandles.h"

// Marks drawn the way a user draws them (tool keys, real drags and clicks), read back
// from what Ctrl+C and Save put out.
namespace {
constexpr int kWidth = 160;
constexpr int kHeight = 120;
constexpr COLORREF kGrey = RGB(200, 200, 200);
// The striped patch under the mosaic: black and white columns.
constexpr RECT kStripes{30, 60, 54, 84};
// The tools' keys, in the order of their commands from ID_TOOL_HAND on.
constexpr char kToolKeys[] = "HVALREPITNXMC";

COLORREF PictureColour(int x, int y)
{
    if (x >= kStripes.left && x < kStripes.right && y >= kStripes.top && y < kStripes.bottom)
        return x % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0);
    return kGrey;
}

void WritePicture(const std::string& path)
{
    CDib dib;
    ASSERT_TRUE(dib.Create(kWidth, kHeight, 24));
    for (int y = 0; y < kHeight; ++y) {
        BYTE* row = dib.GetBits() + (kHeight - 1 - y) * dib.GetStride();
        for (int x = 0; x < kWidth; ++x) {
            const COLORREF colour = PictureColour(x, y);
            row[x * 3] = GetBValue(colour);
            row[x * 3 + 1] = GetGValue(colour);
            row[x * 3 + 2] = GetRValue(colour);
        }
    }
    ASSERT_EQ(1, WriteBmpFile(dib, path.c_str()));
}

// A picture read back, top-down.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> colours;
    COLORREF At(int x, int y) const { return colours[static_cast<size_t>(y * width + x)]; }
};

bool IsRed(COLORREF c)
{
    return GetRValue(c) > 180 && GetGValue(c) < 100 && GetBValue(c) < 100;
}

int CountRed(const Pixels& pixels, RECT area)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += IsRed(pixels.At(x, y));
    return count;
}

Pixels PixelsOfBitmap(HBITMAP bitmap)
{
    BITMAP info{};
    GetObjectA(bitmap, sizeof(info), &info);
    Pixels pixels;
    pixels.width = info.bmWidth;
    pixels.height = info.bmHeight;
    BITMAPINFO format = TopDownDibInfo(info.bmWidth, info.bmHeight);
    std::vector<DWORD> bits(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    GetDIBits(CScreenDC(), bitmap, 0, static_cast<UINT>(info.bmHeight), bits.data(), &format, DIB_RGB_COLORS);
    for (DWORD bgr : bits)
        pixels.colours.push_back(RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
    return pixels;
}

class AnnotateTest : public ::testing::Test {
protected:
    void SetUp() override { OpenInProgram(m_program.PathOf("picture.bmp"), true); }

    void OpenInProgram(const std::string& path, bool write)
    {
        if (write)
            WritePicture(path);
        ASSERT_TRUE(m_program.Start("\"" + path + "\""));
        m_frame = m_program.MainFrame();
        ASSERT_NE(nullptr, m_frame);
        HWND tabs = FindWindowExA(m_frame, nullptr, WC_TABCONTROLA, nullptr);
        ASSERT_TRUE(PumpUntil([&] { return SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0) == 1; }, 10000));
        ASSERT_TRUE(PumpUntil([&] { return (m_view = FindChildOfClass(m_frame, "ImageView")) != nullptr; }, 5000));
        m_status = FindWindowExA(m_frame, nullptr, STATUSCLASSNAMEA, nullptr);
        m_tools = AnnotationToolBar();
        ASSERT_NE(nullptr, m_tools);
        SetForegroundWindow(m_frame);
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == m_frame; }, 5000));
        // A click gives the view the keyboard; with the hand it moves nothing.
        ClickAtScreen(ScreenPoint(kWidth / 2.0f, kHeight / 2.0f));
        ASSERT_TRUE(PumpUntil([&] { return KeyboardFocus() == m_view; }, 5000));
    }

    HWND AnnotationToolBar() const
    {
        HWND rebar = FindChildOfClass(m_frame, REBARCLASSNAMEA);
        for (HWND child = GetWindow(rebar, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (WindowClass(child) == TOOLBARCLASSNAMEA && SendMessageA(child, TB_COMMANDTOINDEX, ID_TOOL_HAND, 0) >= 0)
                return child;
        return nullptr;
    }

    GUITHREADINFO ProgramInput() const
    {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(m_frame, nullptr), &info);
        return info;
    }
    // The window of the program that has the keyboard, and the one that has the mouse.
    HWND KeyboardFocus() const { return ProgramInput().hwndFocus; }
    HWND MouseCapture() const { return ProgramInput().hwndCapture; }

    // Whether a pane of the status bar ends in value (" 50 x 30", " 400%").
    bool StatusShows(int pane, const std::string& value) const
    {
        const std::string text = m_program.StatusPaneText(m_status, pane);
        const std::string ending = " " + value;
        return text.size() >= ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
    }

    void TearDown() override
    {
        PostMessageA(m_frame, WM_CLOSE, 0, 0);
        // A document with marks asks to be saved: no.
        HWND prompt = nullptr;
        PumpUntil([&] { return (prompt = m_program.FindWindow("#32770")) != nullptr || !m_program.IsRunning(); }, 5000);
        if (prompt)
            CProgramUnderTest::PressButton(prompt, IDNO);
        DWORD exitCode = 0;
        EXPECT_TRUE(m_program.WaitForExit(10000, &exitCode));
    }

    void SetZoom(int command, float zoom)
    {
        CProgramUnderTest::PostCommand(m_frame, command);
        m_fZoom = zoom;
        ASSERT_TRUE(PumpUntil([&] { return StatusShows(2, std::to_string(std::lround(zoom * 100)) + "%"); }, 5000))
            << m_program.StatusPaneText(m_status, 2);
    }

    POINT ScreenPoint(float x, float y) const
    {
        POINT point{static_cast<LONG>(std::lround(x * m_fZoom)), static_cast<LONG>(std::lround(y * m_fZoom))};
        ClientToScreen(m_view, &point);
        return point;
    }

    // The colour the screen shows at image pixel (x, y), the middle of its screen pixels.
    COLORREF OnScreen(int x, int y) const
    {
        POINT middle{static_cast<LONG>((x + 0.5f) * m_fZoom), static_cast<LONG>((y + 0.5f) * m_fZoom)};
        ClientToScreen(m_view, &middle);
        return CPixelReader().At(middle);
    }

    // The program handles input in the order it comes, so what reads a result waits for
    // it; a tool's key is waited for until its button shows the tool chosen.
    void Key(WORD key)
    {
        PressKeys({key});
        const char* tool = key ? std::strchr(kToolKeys, key) : nullptr;
        if (!tool)
            return;
        const WPARAM command = static_cast<WPARAM>(ID_TOOL_HAND + (tool - kToolKeys));
        EXPECT_TRUE(PumpUntil([&] { return SendMessageA(m_tools, TB_ISBUTTONCHECKED, command, 0) != 0; }, 5000))
            << "the key " << static_cast<char>(key) << " chose no tool";
    }

    // The press and the release of a drag, each waited for until the view has taken the
    // mouse or let it go, so the program has the drag before anything reads its result.
    void Press(float x, float y)
    {
        MouseAtScreen(ScreenPoint(x, y), MOUSEEVENTF_LEFTDOWN);
        EXPECT_TRUE(PumpUntil([&] { return MouseCapture() == m_view; }, 5000)) << "the press began no drag";
    }
    void Release(float x, float y)
    {
        MouseAtScreen(ScreenPoint(x, y), MOUSEEVENTF_LEFTUP);
        EXPECT_TRUE(PumpUntil([&] { return MouseCapture() == nullptr; }, 5000)) << "the drag did not end";
    }
    void Drag(float x0, float y0, float x1, float y1)
    {
        Press(x0, y0);
        MouseAtScreen(ScreenPoint(x1, y1));
        Release(x1, y1);
    }

    // The picture's place on the screen.
    RECT PicturePlace() const
    {
        const POINT topLeft = ScreenPoint(0, 0), bottomRight = ScreenPoint(kWidth, kHeight);
        return RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    }

    Pixels Copied()
    {
        if (OpenClipboard(nullptr)) {
            EmptyClipboard();
            CloseClipboard();
        }
        PressKeys({VK_CONTROL, 'C'});
        Pixels pixels;
        if (!PumpUntil([] { return IsClipboardFormatAvailable(CF_DIB) != FALSE; }, 5000) || !OpenClipboard(nullptr))
            return pixels;
        if (HGLOBAL data = GetClipboardData(CF_DIB)) {
            const auto* dib = static_cast<const BITMAPINFO*>(GlobalLock(data));
            CBitmapOwner bitmap(CreateDIBitmap(CScreenDC(), &dib->bmiHeader, CBM_INIT,
                                               reinterpret_cast<const BYTE*>(dib) + dib->bmiHeader.biSize, dib,
                                               DIB_RGB_COLORS));
            GlobalUnlock(data);
            pixels = PixelsOfBitmap(bitmap.get());
        }
        CloseClipboard();
        return pixels;
    }

    CProgramUnderTest m_program;
    HWND m_frame = nullptr;
    HWND m_view = nullptr;
    HWND m_status = nullptr;
    HWND m_tools = nullptr;
    float m_fZoom = 1;
};

TEST_F(AnnotateTest, EachToolDrawsWhereTheUserDraggedAndUndoTakesItAway)
{
    Key('R');
    Drag(10, 10, 40, 30);
    Key('A');
    Drag(50, 10, 90, 10);
    Key('L');
    Drag(10, 40, 40, 40);
    Key('E');
    Drag(50, 20, 90, 40);
    Key('P');
    Press(10, 50);
    MouseAtScreen(ScreenPoint(25, 58));
    EXPECT_TRUE(PumpUntil([&] { return IsRed(OnScreen(25, 58)); }, 5000)) << "the pen follows the pointer";
    Release(40, 50);
    Key('I');
    Drag(60, 50, 95, 50);
    Key('X');
    Drag(5, 60, 20, 80);
    Key('M');
    Drag(30, 60, 54, 84);
    Key('N');
    ClickAtScreen(ScreenPoint(75, 72));
    EXPECT_TRUE(PumpUntil([&] { return IsRed(OnScreen(87, 72)); }, 5000)) << "the step number shows";
    EXPECT_EQ(RGB(0, 0, 0), OnScreen(12, 70)) << "the redaction shows";
    const Pixels out = Copied();
    ASSERT_EQ(kWidth, out.width);
    ASSERT_EQ(kHeight, out.height);
    EXPECT_TRUE(IsRed(out.At(10, 20))) << "the rectangle's left edge";
    EXPECT_EQ(kGrey, out.At(25, 20)) << "an unfilled rectangle keeps its middle";
    EXPECT_TRUE(IsRed(out.At(70, 10))) << "the arrow's line";
    EXPECT_GT(CountRed(out, RECT{82, 5, 90, 16}), CountRed(out, RECT{50, 5, 58, 16})) << "the head is at the end";
    EXPECT_TRUE(IsRed(out.At(25, 40))) << "the line";
    EXPECT_TRUE(IsRed(out.At(51, 30))) << "the ellipse's left side";
    EXPECT_EQ(kGrey, out.At(70, 30)) << "the ellipse's middle";
    EXPECT_TRUE(IsRed(out.At(25, 57))) << "the pen follows the pointer down";
    EXPECT_FALSE(IsRed(out.At(25, 50))) << "and does not cut across";
    const COLORREF tint = out.At(78, 50);
    EXPECT_TRUE(GetRValue(tint) > GetGValue(tint) + 20 && GetGValue(tint) > 60) << "the highlighter tints";
    EXPECT_TRUE(IsRed(out.At(87, 72))) << "the step number's circle";
    for (int y = 60; y < 80; ++y)
        for (int x = 5; x < 20; ++x)
            ASSERT_EQ(RGB(0, 0, 0), out.At(x, y)) << "redacted pixel " << x << "," << y;
    EXPECT_EQ(kGrey, out.At(4, 70));
    EXPECT_EQ(kGrey, out.At(20, 70)) << "the redaction stops at the pixel edge";
    // Every 12-pixel mosaic block is one colour, the mean of its stripes.
    for (int y = kStripes.top; y < kStripes.bottom; ++y)
        for (int x = kStripes.left; x < kStripes.right; ++x) {
            const COLORREF block = out.At(x, y);
            ASSERT_NEAR(GetRValue(block), 128, 1) << x << "," << y;
            ASSERT_EQ(GetRValue(block), GetBValue(block));
        }

    for (int i = 0; i < 9; ++i)
        PressKeys({VK_CONTROL, 'Z'});
    EXPECT_TRUE(PumpUntil([&] { return OnScreen(12, 70) == kGrey && OnScreen(87, 72) == kGrey; }, 5000))
        << "the undos take the marks from the screen";
    const Pixels clean = Copied();
    ASSERT_EQ(kWidth, clean.width);
    int changed = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            changed += clean.At(x, y) != PictureColour(x, y);
    EXPECT_EQ(0, changed) << "nine undos take the nine marks away";
}

TEST_F(AnnotateTest, ChineseTextTypedIntoTheBoxShowsInTheOutput)
{
    Key('T');
    ClickAtScreen(ScreenPoint(20, 20));
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return WindowClass(box = KeyboardFocus()) == "Edit"; }, 5000)) << "no text box";
    TypeText(ToGbk("标注文字"));
    EXPECT_TRUE(PumpUntil([&] { return WindowText(box) == ToGbk("标注文字"); }, 5000)) << WindowText(box);
    Key(VK_ESCAPE);
    const Pixels out = Copied();
    ASSERT_EQ(kWidth, out.width);
    EXPECT_GT(CountRed(out, RECT{20, 20, 100, 45}), 30) << "red strokes of the characters";
    EXPECT_EQ(0, CountRed(out, RECT{0, 50, kWidth, kHeight}));
}

TEST_F(AnnotateTest, SpaceHeldDownPansWhateverTheToolAndDrawsNothing)
{
    SetZoom(ID_ZOOM_800, 8.0f);
    Key('X');
    Drag(10, 10, 20, 20);
    Key('R');
    INPUT space[2] = {};
    space[0].type = space[1].type = INPUT_KEYBOARD;
    space[0].ki.wVk = space[1].ki.wVk = VK_SPACE;
    space[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &space[0], sizeof(INPUT));
    Drag(40, 30, 30, 20);  // the image follows, 80 pixels up and left
    SendInput(1, &space[1], sizeof(INPUT));
    POINT moved = ScreenPoint(15, 15);
    moved.x -= 80;
    moved.y -= 80;
    ASSERT_TRUE(PumpUntil([&] { return OnScreen(15, 15) == kGrey; }, 5000)) << "the redaction left its place";
    EXPECT_EQ(RGB(0, 0, 0), CPixelReader().At(moved)) << "and moved with the image";
    EXPECT_EQ(0, CountRed(Copied(), RECT{0, 0, kWidth, kHeight})) << "the rectangle tool drew nothing";
}

TEST_F(AnnotateTest, ANewColourRecoloursTheSelectionInOneStep)
{
    Key('R');
    Drag(10, 10, 40, 30);
    Drag(60, 10, 90, 30);
    Key('V');
    // The command below is posted, so it overtakes input still queued: it waits until the
    // selection has shown.
    ASSERT_TRUE(PumpUntil([&] { return IsRed(OnScreen(10, 20)) && IsRed(OnScreen(60, 20)); }, 5000));
    const std::vector<DWORD> unselected = ScreenPixels(PicturePlace());
    ClickAtScreen(ScreenPoint(10, 20));
    ASSERT_TRUE(PumpUntil([&] { return ScreenPixels(PicturePlace()) != unselected; }, 5000)) << "no selection shown";
    CProgramUnderTest::PostCommand(m_frame, ID_ANNOTATE_COLOUR_FIRST + 4);  // blue, from the colour menu
    Pixels out = Copied();
    ASSERT_EQ(kWidth, out.width);
    const COLORREF blue = out.At(10, 20);
    EXPECT_TRUE(GetBValue(blue) > 200 && GetRValue(blue) < 60) << "the selected rectangle is blue";
    EXPECT_TRUE(IsRed(out.At(60, 20))) << "the other one keeps its colour";
    PressKeys({VK_CONTROL, 'Z'});
    out = Copied();
    EXPECT_TRUE(IsRed(out.At(10, 20))) << "one undo gives the old colour back";
    EXPECT_TRUE(IsRed(out.At(60, 20)));
}

TEST_F(AnnotateTest, CropCutsTheImageAndUndoBringsItBack)
{
    Key('C');
    Drag(10, 10, 60, 40);
    Key(VK_RETURN);
    EXPECT_TRUE(PumpUntil([&] { return StatusShows(1, "50 x 30"); }, 5000));
    Pixels out = Copied();
    EXPECT_EQ(50, out.width);
    EXPECT_EQ(30, out.height);
    PressKeys({VK_CONTROL, 'Z'});
    EXPECT_TRUE(PumpUntil([&] { return StatusShows(1, "160 x 120"); }, 5000));
    out = Copied();
    EXPECT_EQ(kWidth, out.width);
    EXPECT_EQ(kHeight, out.height);
}

TEST_F(AnnotateTest, APngKeepsTheMarksEditableAfterReopening)
{
    Key('R');
    Drag(10, 10, 40, 30);
    const std::string first = m_program.PathOf("marked.png");
    PressKeys({VK_CONTROL, 'S'});
    HWND dialog = m_program.WaitForMessageBox(10000);
    ASSERT_NE(nullptr, dialog) << "no Save As dialog";
    CProgramUnderTest::SetFileNameBox(dialog, first);
    ASSERT_TRUE(CProgramUnderTest::PressButton(dialog, IDOK));
    CBitmapOwner saved;
    ASSERT_TRUE(PumpUntil([&] { return (saved.reset(ReadImageFile(first.c_str(), 2)), saved != nullptr); }, 5000));
    EXPECT_TRUE(IsRed(PixelsOfBitmap(saved.get()).At(10, 20))) << "other programs see the flattened picture";

    PostMessageA(m_frame, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    ASSERT_TRUE(m_program.WaitForExit(10000, &exitCode)) << "a saved document closes without asking";
    OpenInProgram(first, false);

    Key('V');
    Drag(10, 20, 30, 40);  // the left edge, 20 pixels right and down
    const std::string second = m_program.PathOf("moved.png");
    PressKeys({VK_CONTROL, 'S'});
    dialog = m_program.WaitForMessageBox(10000);
    ASSERT_NE(nullptr, dialog) << "no Save As dialog";
    CProgramUnderTest::SetFileNameBox(dialog, second);
    ASSERT_TRUE(CProgramUnderTest::PressButton(dialog, IDOK));
    std::string chunk;
    ASSERT_TRUE(PumpUntil([&] { return (saved.reset(ReadImageFile(second.c_str(), 2, nullptr, &chunk)), saved != nullptr); }, 5000));
    // Saved under the new name, the document is unmodified; an undo makes it differ from its file.
    HWND tabs = FindWindowExA(m_frame, nullptr, WC_TABCONTROLA, nullptr);
    EXPECT_EQ("moved.png", m_program.TabText(tabs, 0));
    PressKeys({VK_CONTROL, 'Z'});
    EXPECT_TRUE(PumpUntil([&] { return m_program.TabText(tabs, 0) == "moved.png*"; }, 3000)) << m_program.TabText(tabs, 0);
    PressKeys({VK_CONTROL, 'Y'});
    EXPECT_TRUE(PumpUntil([&] { return m_program.TabText(tabs, 0) == "moved.png"; }, 3000)) << "the redo is the saved state";
    const Pixels moved = PixelsOfBitmap(saved.get());
    EXPECT_TRUE(IsRed(moved.At(30, 40))) << "the rectangle moved";
    EXPECT_EQ(kGrey, moved.At(10, 20)) << "and left its old place clean";
    CBitmapOwner clean;
    std::vector<Annotation> objects;
    ASSERT_EQ(MarksRestore::kRestored, UnpackAnnotatedImage(chunk, saved.get(), clean, objects));
    ASSERT_EQ(1u, objects.size());
    EXPECT_EQ(kGrey, PixelsOfBitmap(clean.get()).At(10, 20)) << "the clean pixels are kept";
}
}
