#include "gui/FrameFixture.h"

#include <commctrl.h>

#include "TimedSteps.h"
#include "app/Application.h"
#include "imageio/TopDownDib.h"

void FrameFixture::SetUp()
{
    g_app.Init(GetModuleHandleA(nullptr));
    g_app.AddMessageLoop(&m_loop);
    m_frame = std::make_unique<CAppFrame>();
    ASSERT_NE(nullptr, m_frame->CreateFrame());
    g_hMainFrame = *m_frame;
    SetWindowPos(*m_frame, HWND_TOP, 0, 0, 900, 600, 0);
    ShowWindow(*m_frame, SW_SHOW);
    Pump();
}

void FrameFixture::TearDown()
{
    m_frame.reset();
    g_hMainFrame = nullptr;
    g_app.RemoveMessageLoop();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))  // the frame's WM_QUIT
        ;
}

void FrameFixture::Pump()
{
    CTimedSteps quit({{nullptr, [] { PostQuitMessage(0); }}}, INFINITE, nullptr, 50);
    m_loop.Run();
}

bool FrameFixture::RunLoopUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    CTimedSteps until({{done, [] { PostQuitMessage(0); }}}, timeoutMs, [] { PostQuitMessage(0); }, 30);
    m_loop.Run();
    return until.Finished();
}

RECT FrameFixture::ChildRect(HWND child) const
{
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, *m_frame, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int FrameFixture::TabCount() const
{
    return static_cast<int>(SendMessageA(m_frame->TabStrip(), TCM_GETITEMCOUNT, 0, 0));
}

std::string FrameFixture::TabText(int index) const
{
    char text[MAX_PATH] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(m_frame->TabStrip(), TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
    return text;
}

COLORREF PatternColor(int x, int y)
{
    return RGB((x * 7) & 0xFF, (y * 5) & 0xFF, ((x + y) * 3) & 0xFF);
}

CBitmapOwner MakePatternBitmap(int width, int height)
{
    DWORD* pixels = nullptr;
    CBitmapOwner bitmap = CreateTopDownDib(width, height, pixels);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF color = PatternColor(x, y);
            pixels[y * width + x] = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
        }
    return bitmap;
}
