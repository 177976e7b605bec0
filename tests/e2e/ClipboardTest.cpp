#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "Gbk.h"
#include "KeyInput.h"
#include "e2e/ProgramUnderTest.h"
#include "imageio/BmpFile.h"
#include "imageio/Dib.h"
#include "res/resource.h"

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

// Counts the pixels of a bottom-up 24-bit DIB that differ from the pattern.
int PatternMismatches(const BITMAPINFOHEADER& header, const BYTE* bits)
{
    const int stride = ((kWidth * 24 + 31) / 32) * 4;
    int mismatches = 0;
    for (int row = 0; row < kHeight; ++row)
        for (int x = 0; x < kWidth; ++x)
            for (int channel = 0; channel < 3; ++channel)
                mismatches += bits[row * stride + x * 3 + channel] != PatternByte(x, row, channel);
    return header.biBitCount == 24 ? mismatches : -1;
}

// A small window of ours that shows a pasted DIB, and reads back what it shows.
class CPasteWindow {
public:
    explicit CPasteWindow(const BITMAPINFO* dib) : m_dib(dib)
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "PasteTestWindow";
        RegisterClassA(&windowClass);
        m_hWnd = CreateWindowExA(WS_EX_TOPMOST, "PasteTestWindow", "paste", WS_POPUP | WS_VISIBLE, 40, 40, kWidth,
                                 kHeight, nullptr, nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        InvalidateRect(m_hWnd, nullptr, FALSE);
        UpdateWindow(m_hWnd);
    }
    ~CPasteWindow() { DestroyWindow(m_hWnd); }

    // The window's pixels as a bottom-up 24-bit DIB.
    std::string ReadBack(BITMAPINFOHEADER& header) const
    {
        HDC window = GetDC(m_hWnd);
        HDC memory = CreateCompatibleDC(window);
        HBITMAP copy = CreateCompatibleBitmap(window, kWidth, kHeight);
        HGDIOBJ previous = SelectObject(memory, copy);
        BitBlt(memory, 0, 0, kWidth, kHeight, window, 0, 0, SRCCOPY);
        SelectObject(memory, previous);
        header = {};
        header.biSize = sizeof header;
        header.biWidth = kWidth;
        header.biHeight = kHeight;
        header.biPlanes = 1;
        header.biBitCount = 24;
        std::string bits(static_cast<size_t>(((kWidth * 24 + 31) / 32) * 4 * kHeight), '\0');
        GetDIBits(memory, copy, 0, kHeight, &bits[0], reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
        DeleteObject(copy);
        DeleteDC(memory);
        ReleaseDC(m_hWnd, window);
        return bits;
    }

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<CPasteWindow*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        if (msg != WM_PAINT || !self)
            return DefWindowProcA(hWnd, msg, wParam, lParam);
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hWnd, &paint);
        const BITMAPINFOHEADER& header = self->m_dib->bmiHeader;
        SetDIBitsToDevice(dc, 0, 0, header.biWidth, header.biHeight, 0, 0, 0, header.biHeight,
                          reinterpret_cast<const BYTE*>(&header) + header.biSize, self->m_dib, DIB_RGB_COLORS);
        EndPaint(hWnd, &paint);
        return 0;
    }

    const BITMAPINFO* m_dib;
    HWND m_hWnd = nullptr;
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
        ASSERT_TRUE(WaitUntil([&] { return SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0) == 1; }, 10000));
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
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == m_frame; }, 5000));
    PressKeys({VK_CONTROL, 'C'});
    ASSERT_TRUE(WaitUntil([] { return IsClipboardFormatAvailable(CF_DIB) != FALSE; }, 5000));

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
    const auto* bits = reinterpret_cast<const BYTE*>(pasted.data()) + header.biSize;
    EXPECT_EQ(0, PatternMismatches(header, bits));

    CPasteWindow window(reinterpret_cast<const BITMAPINFO*>(pasted.data()));
    BITMAPINFOHEADER shownHeader;
    std::string shown;
    WaitUntil([&] {
        shown = window.ReadBack(shownHeader);
        return PatternMismatches(shownHeader, reinterpret_cast<const BYTE*>(shown.data())) == 0;
    }, 3000);
    EXPECT_EQ(0, PatternMismatches(shownHeader, reinterpret_cast<const BYTE*>(shown.data())))
        << "the pasted picture shows the document's pixels";
}

TEST_F(ClipboardTest, AClipboardHeldElsewhereIsReported)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    CProgramUnderTest::PostCommand(m_frame, ID_EDIT_COPY);
    HWND box = m_program.WaitForWindow("#32770", 10000, "Lumigrab");
    CloseClipboard();
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(ToGbk("无法将图像复制到剪贴板，剪贴板可能正被其他程序使用。"), CProgramUnderTest::MessageBoxText(box));
    EXPECT_EQ(m_frame, GetWindow(box, GW_OWNER));
    EXPECT_TRUE(CProgramUnderTest::PressButton(box, IDOK));
}
}
