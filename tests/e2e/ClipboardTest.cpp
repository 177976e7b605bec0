#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "Gbk.h"
#include "KeyInput.h"
#include "PixelReader.h"
#include "e2e/ProgramUnderTest.h"
#include "imageio/BmpFile.h"
#include "imageio/Dib.h"
#include "res/resource.h"
#include "scoped/ScopedHandles.h"

// Ctrl+C puts the active document's image on the clipboard in the form other
// programs paste; a clipboard held by someone else is reported.
namespace {
constexpr int kWidth = 37;  // rows of 111 bytes need padding
constexpr int kHeight = 23;

BYTE PatternByte(int x, int y, int channel) { return static_cast<BYTE>(x * 7 + y * 11 + channel * 85); }

// A 24-bit file whose every byte says where it is.
void WritePatternFile(const std::string& path)
{
    CDib dib;
    ASSERT_TRUE(dib.Create(kWidth, kHeight, 24));
    for (int row = 0; row < kHeight; ++row)
        for (int x = 0; x < kWidth; ++x)
            for (int channel = 0; channel < 3; ++channel)
                dib.GetBits()[row * dib.GetStride() + x * 3 + channel] = PatternByte(x, row, channel);
    ASSERT_EQ(1, WriteBmpFile(dib, path.c_str()));
}

// Counts the pixels that differ from the pattern; pixel(x, row) gives the colour
// shown at a row counted from the bottom, as a bottom-up DIB stores them.
int PatternMismatches(const std::function<COLORREF(int x, int row)>& pixel)
{
    int mismatches = 0;
    for (int row = 0; row < kHeight; ++row)
        for (int x = 0; x < kWidth; ++x)
            mismatches += pixel(x, row) != RGB(PatternByte(x, row, 2), PatternByte(x, row, 1), PatternByte(x, row, 0));
    return mismatches;
}

// A small window of ours showing a pasted DIB, as a program that pastes would.
class CPasteWindow {
public:
    explicit CPasteWindow(const BITMAPINFO* dib)
    {
        m_bitmap = CreateDIBitmap(CScreenDC(), &dib->bmiHeader, CBM_INIT,
                                  reinterpret_cast<const BYTE*>(dib) + dib->bmiHeader.biSize, dib, DIB_RGB_COLORS);
        m_window = CreateWindowExA(WS_EX_TOPMOST, "Static", nullptr, WS_POPUP | WS_VISIBLE | SS_BITMAP, 40, 40,
                                   kWidth, kHeight, nullptr, nullptr, nullptr, nullptr);
        SendMessageA(m_window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_bitmap));
        UpdateWindow(m_window);
    }
    ~CPasteWindow()
    {
        DestroyWindow(m_window);
        DeleteObject(m_bitmap);
    }

    COLORREF Shown(int x, int row) const { return ShownPixel(m_window, x, kHeight - 1 - row); }

private:
    HBITMAP m_bitmap;
    HWND m_window;
};

class ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string picture = m_program.PathOf("pattern.bmp");
        WritePatternFile(picture);
        ASSERT_TRUE(m_program.Start("\"" + picture + "\""));
        m_frame = m_program.MainFrame();
        ASSERT_NE(nullptr, m_frame);
        HWND tabs = FindWindowExA(m_frame, nullptr, WC_TABCONTROLA, nullptr);
        ASSERT_TRUE(PumpUntil([&] { return SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0) == 1; }, 10000));
    }

    void TearDown() override
    {
        PostMessageA(m_frame, WM_CLOSE, 0, 0);
        DWORD exitCode = 0;
        EXPECT_TRUE(m_program.WaitForExit(10000, &exitCode));
    }

    CProgramUnderTest m_program;
    HWND m_frame = nullptr;
};

TEST_F(ClipboardTest, CtrlCPutsTheDocumentPixelsOnTheClipboardForPasting)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    SetForegroundWindow(m_frame);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == m_frame; }, 5000));
    PressKeys({VK_CONTROL, 'C'});
    ASSERT_TRUE(PumpUntil([] { return IsClipboardFormatAvailable(CF_DIB) != FALSE; }, 5000));

    ASSERT_TRUE(OpenClipboard(nullptr));
    HGLOBAL data = GetClipboardData(CF_DIB);
    ASSERT_NE(nullptr, data);
    const std::string pasted(static_cast<const char*>(GlobalLock(data)), GlobalSize(data));
    GlobalUnlock(data);
    CloseClipboard();

    const auto& header = *reinterpret_cast<const BITMAPINFOHEADER*>(pasted.data());
    ASSERT_GE(pasted.size(), sizeof header + CDib::ImageSizeFor(kWidth, kHeight, 24));
    EXPECT_EQ(kWidth, header.biWidth);
    EXPECT_EQ(kHeight, header.biHeight) << "bottom-up";
    EXPECT_EQ(DWORD(BI_RGB), header.biCompression);
    ASSERT_EQ(24, header.biBitCount);
    const auto* bits = reinterpret_cast<const BYTE*>(pasted.data()) + header.biSize;
    const int stride = (kWidth * 3 + 3) & ~3;
    EXPECT_EQ(0, PatternMismatches([&](int x, int row) {
        const BYTE* pixel = bits + row * stride + x * 3;
        return RGB(pixel[2], pixel[1], pixel[0]);
    }));

    const CPasteWindow window(reinterpret_cast<const BITMAPINFO*>(pasted.data()));
    const auto shown = [&](int x, int row) { return window.Shown(x, row); };
    PumpUntil([&] { return PatternMismatches(shown) == 0; }, 3000);
    EXPECT_EQ(0, PatternMismatches(shown)) << "the pasted picture shows the document's pixels";
}

TEST_F(ClipboardTest, AClipboardHeldElsewhereIsReported)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    CProgramUnderTest::PostCommand(m_frame, ID_EDIT_COPY);
    HWND box = m_program.WaitForWindow("#32770", 10000, "Lumigrab");
    CloseClipboard();
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(ToGbk("无法将图像复制到剪贴板，剪贴板可能正被其他程序使用。"), MessageBoxText(box));
    EXPECT_EQ(m_frame, GetWindow(box, GW_OWNER));
    EXPECT_TRUE(CProgramUnderTest::PressButton(box, IDOK));
}
}
