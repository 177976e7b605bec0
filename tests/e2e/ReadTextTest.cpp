// Reading the text of a picture with the real program and its engine, as a user asks for
// it: Ctrl+T on a document, the crop frame's area, the capture desk's button; and
// leaving a reading before it ends.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "KeyInput.h"
#include "PictureWindow.h"
#include "RealClick.h"
#include "ScreenText.h"
#include "TextCompare.h"
#include "e2e/ProgramUnderTest.h"
#include "imageio/ImageFormats.h"
#include "imageio/TopDownDib.h"
#include "res/resource.h"

namespace {

const char kReadingClass[] = "LumigrabTextReading";
const std::vector<std::wstring> kLines = {L"设置 Settings 123", L"保存文件 Save 2026"};
constexpr int kTextPixels = 16;

std::wstring Joined(const std::vector<std::wstring>& lines)
{
    std::wstring text;
    for (const std::wstring& line : lines)
        text += (text.empty() ? L"" : L"\r\n") + line;
    return text;
}

// The text box of a reading window, of another process: WM_GETTEXT carries it across.
std::wstring EditText(HWND window)
{
    HWND edit = GetDlgItem(window, IDC_OCR_TEXT);
    std::vector<wchar_t> text(4096, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, 5000,
                        &copied);
    return std::wstring(text.data(), copied);
}

class ReadTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (WithEngine()) {
            ASSERT_TRUE(m_program.AddTextEngine());
        }
        const std::string path = m_program.PathOf("text.bmp");
        m_text = DrawScreenText(Lines(), kTextPixels, RGB(0x20, 0x20, 0x20), RGB(0xFF, 0xFF, 0xFF));
        DWORD* pixels = nullptr;
        const CBitmapOwner picture = CreateTopDownDib(m_text.width, m_text.height, pixels);
        ASSERT_TRUE(picture);
        std::copy(m_text.pixels.begin(), m_text.pixels.end(), pixels);
        ASSERT_TRUE(SaveImageFile(picture.get(), 1, path.c_str()));
        ASSERT_TRUE(m_program.Start("\"" + path + "\""));
        m_frame = m_program.MainFrame();
        ASSERT_NE(nullptr, m_frame);
        ASSERT_TRUE(PumpUntil([&] { return (m_view = FindChildOfClass(m_frame, "ImageView")) != nullptr; }, 10000));
        SetForegroundWindow(m_frame);
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == m_frame; }, 5000));
        // A click gives the view the keyboard; with the hand it moves nothing.
        ClickAtScreen(ViewPoint(m_text.width / 2, 4));
    }

    virtual std::vector<std::wstring> Lines() const { return kLines; }
    virtual bool WithEngine() const { return true; }

    void TearDown() override
    {
        if (m_program.IsRunning()) {
            EXPECT_TRUE(m_program.CloseLettingCapturesGo(m_frame));
        }
    }

    POINT ViewPoint(int x, int y) const
    {
        POINT point{x, y};
        ClientToScreen(m_view, &point);
        return point;
    }

    // Ctrl+T, and the reading window that it opens.
    HWND ReadByKeys() const
    {
        PressKeys({VK_CONTROL, 'T'});
        return m_program.WaitForWindow(kReadingClass, 10000);
    }

    // The reading has ended with text in the box; false, with what the window says, at the deadline.
    static testing::AssertionResult TextArrives(HWND window, DWORD timeoutMs = 60000)
    {
        if (PumpUntil([window] { return !EditText(window).empty() || !IsWindow(window); }, timeoutMs) &&
            IsWindow(window))
            return testing::AssertionSuccess();
        return testing::AssertionFailure() << "no text; the status says " << WindowText(GetDlgItem(window, IDC_OCR_STATUS));
    }

    CProgramUnderTest m_program;
    SScreenText m_text;
    HWND m_frame = nullptr;
    HWND m_view = nullptr;
};

TEST_F(ReadTextTest, CtrlTReadsThePictureAndTheMenuTheCropFramesArea)
{
    HWND reading = ReadByKeys();
    ASSERT_NE(nullptr, reading);
    ASSERT_TRUE(TextArrives(reading));
    EXPECT_EQ(Utf8(Joined(kLines)), Utf8(EditText(reading)));
    PostMessageA(reading, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(reading); }, 10000));

    // The crop tool's frame around the second line alone: that line is read, asked for
    // from the picture's right-button menu.
    SetForegroundWindow(m_frame);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == m_frame; }, 5000));
    PressKeys({'C'});
    const RECT& line = m_text.lines[1];
    DragOnScreen({ViewPoint(line.left - 6, line.top - 5), ViewPoint(line.right + 6, line.bottom + 5)});
    ClickAtScreen(ViewPoint(line.left, line.top), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(PumpUntil([] { return FindWindowA("#32768", nullptr) != nullptr; }, 5000));
    PressKeys({'T'});
    reading = m_program.WaitForWindow(kReadingClass, 10000);
    ASSERT_NE(nullptr, reading);
    ASSERT_TRUE(TextArrives(reading));
    EXPECT_EQ(Utf8(kLines[1]), Utf8(EditText(reading)));
}

TEST_F(ReadTextTest, TheDeskReadsItsSelection)
{
    // The capture takes the screen without the program's windows: the text shows in one of ours.
    const CPictureWindow shown(POINT{300, 420}, m_text.width, m_text.height, m_text.pixels);
    ASSERT_TRUE(shown.Shown());
    const RECT& line = m_text.lines[0];
    CProgramUnderTest::PostCommand(m_frame, ID_CAPTURE_MARKUP);
    ASSERT_TRUE(PumpUntil([] { return GetForegroundWindow() == FindWindowA("SnapcoreCaptureOverlay", nullptr); },
                          10000));
    DragOnScreen({shown.ScreenPoint(line.left - 6, line.top - 5), shown.ScreenPoint(line.right + 6, line.bottom + 5)});
    ASSERT_TRUE(PumpUntil([] { return IsWindowVisible(FindWindowA("LumigrabCaptureDesk", nullptr)); }, 10000));
    m_program.ClickDeskAction(ID_DESK_READ_TEXT);
    HWND reading = m_program.WaitForWindow(kReadingClass, 10000);
    ASSERT_NE(nullptr, reading);
    ASSERT_TRUE(TextArrives(reading));
    EXPECT_EQ(Utf8(kLines[0]), Utf8(EditText(reading)));
}

// Without the engine's files the program works on, and the command names the one missing.
class NoTextEngineTest : public ReadTextTest {
protected:
    bool WithEngine() const override { return false; }
};

TEST_F(NoTextEngineTest, TheCommandNamesTheMissingFileAndOpensNothing)
{
    PressKeys({VK_CONTROL, 'T'});
    HWND box = m_program.WaitForMessageBox(10000);
    ASSERT_NE(nullptr, box);
    EXPECT_NE(std::string::npos, MessageBoxText(box).find(m_program.PathOf("lumiocr.dll"))) << MessageBoxText(box);
    EXPECT_TRUE(CProgramUnderTest::PressButton(box, IDOK));
    EXPECT_EQ(nullptr, m_program.FindWindow(kReadingClass));
    EXPECT_TRUE(m_program.IsRunning());
}

// A picture that takes a while to read, so that the user leaves while it is read.
class LeaveReadingTest : public ReadTextTest {
protected:
    std::vector<std::wstring> Lines() const override
    {
        std::vector<std::wstring> lines;
        for (int i = 0; i < 40; ++i)
            lines.insert(lines.end(), kLines.begin(), kLines.end());
        return lines;
    }
    // The reading shows its progress: the click or the close comes during it.
    static bool Reading(HWND window)
    {
        return PumpUntil([window] { return !WindowText(GetDlgItem(window, IDC_OCR_STATUS)).empty(); }, 10000) &&
               EditText(window).empty();
    }
};

// Cancelled, the reading's window goes and the engine reads again; a document closed
// during a reading leaves the reading to finish.
TEST_F(LeaveReadingTest, CancellingOrClosingTheDocumentEndsAReadingCleanly)
{
    HWND reading = ReadByKeys();
    ASSERT_NE(nullptr, reading);
    ASSERT_TRUE(Reading(reading));
    ClickWindow(GetDlgItem(reading, IDC_OCR_CLOSE));
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(reading); }, 20000));
    EXPECT_EQ(nullptr, m_program.FindWindow("#32770")) << "a message after cancelling";

    SetForegroundWindow(m_frame);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == m_frame; }, 5000));
    reading = ReadByKeys();
    ASSERT_NE(nullptr, reading);
    SetForegroundWindow(m_frame);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == m_frame; }, 5000));
    ASSERT_TRUE(Reading(reading));
    PressKeys({VK_CONTROL, 'W'});
    ASSERT_TRUE(TextArrives(reading));
    EXPECT_NE(std::wstring::npos, EditText(reading).find(Joined(kLines))) << Utf8(EditText(reading));
}

TEST_F(LeaveReadingTest, TheProgramClosesDuringAReading)
{
    HWND reading = ReadByKeys();
    ASSERT_NE(nullptr, reading);
    ASSERT_TRUE(Reading(reading));
    PostMessageA(m_frame, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    EXPECT_TRUE(m_program.WaitForExit(20000, &exitCode));
    EXPECT_LT(exitCode, 0x80000000u) << "ended by an exception";
}

}  // namespace
