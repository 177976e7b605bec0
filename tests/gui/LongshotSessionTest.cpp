// The long screenshot's session against a page of this thread that cannot scroll: it ends
// at the page's end by itself, a spot that never stops changing stops the taking with the
// reason shown, after which Enter keeps what was taken, and a double-click ends it.
#include <gtest/gtest.h>

#include <windows.h>

#include "KeyInput.h"
#include "MessagePump.h"
#include "PixelReader.h"
#include "RealClick.h"
#include "ThreadWindows.h"
#include "TimedSteps.h"
#include "capture/longshot/LongshotSession.h"
#include "res/resource.h"
#include "util/FastString.h"

namespace {
constexpr RECT kPlace{100, 100, 420, 340};
constexpr RECT kSpot{150, 120, 170, 140};  // client coordinates
constexpr UINT_PTR kBlinkTimer = 1;

COLORREF RowColour(int y)
{
    return RGB(y * 7 & 0xFF, 255 - (y & 0xFF), y * 3 & 0xFF);
}

// Rows of distinct colours, and optionally a spot that changes every few milliseconds.
class CStillPage {
public:
    explicit CStillPage(bool blinking)
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "LongshotStillPage";
        RegisterClassA(&wc);
        m_window = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, kPlace.left,
                                   kPlace.top, kPlace.right - kPlace.left, kPlace.bottom - kPlace.top, nullptr,
                                   nullptr, wc.hInstance, nullptr);
        if (blinking)
            SetTimer(m_window, kBlinkTimer, 10, nullptr);
        UpdateWindow(m_window);
    }
    ~CStillPage() { DestroyWindow(m_window); }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        static int blinks = 0;
        if (message == WM_TIMER) {
            ++blinks;
            InvalidateRect(window, &kSpot, FALSE);
            return 0;
        }
        if (message != WM_PAINT)
            return DefWindowProcA(window, message, wParam, lParam);
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        for (int y = 0; y < kPlace.bottom - kPlace.top; ++y) {
            const RECT row{0, y, kPlace.right - kPlace.left, y + 1};
            SetBkColor(dc, RowColour(y));
            ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &row, nullptr, 0, nullptr);
        }
        SetBkColor(dc, RGB(blinks * 37 & 0xFF, blinks * 91 & 0xFF, 40));
        ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &kSpot, nullptr, 0, nullptr);
        EndPaint(window, &paint);
        return 0;
    }

    HWND m_window;
};

HWND Preview()
{
    return FindThreadWindow([](HWND window) { return WindowClass(window) == "LumigrabLongshotPreview"; });
}

// The preview's line that says why the taking stopped.
bool PreviewSays(UINT message)
{
    Vorn::CFastString<256> expected;
    expected.LoadString(message);
    HWND preview = Preview();
    for (HWND child = preview ? GetWindow(preview, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT)) {
        char text[256] = {};
        GetWindowTextA(child, text, sizeof text);
        if (expected.GetString() == std::string(text))
            return true;
    }
    return false;
}

// The page's first and last rows are on the screen.
bool PageShows()
{
    const std::vector<DWORD> shown = ScreenPixels(kPlace);
    auto pixel = [](COLORREF colour) {
        return DWORD(GetRValue(colour)) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
    };
    return !shown.empty() && (shown.front() & 0xFFFFFF) == pixel(RowColour(0)) &&
           (shown.back() & 0xFFFFFF) == pixel(RowColour(kPlace.bottom - kPlace.top - 1));
}

int Height(const CBitmapOwner& picture)
{
    BITMAP info{};
    return picture && GetObjectA(picture.get(), sizeof info, &info) ? info.bmHeight : -1;
}
}  // namespace

TEST(LongshotSession, APageThatDoesNotMoveEndsAtItsEndWithTheSelectionAsItShows)
{
    CStillPage page(false);
    ASSERT_TRUE(PumpUntil(PageShows));
    const std::vector<DWORD> shown = ScreenPixels(kPlace);
    CTimedSteps cancelLate({}, 10000, [] { PressKeys({VK_ESCAPE}); });
    const LongshotResult result = RunLongshot(kPlace, CSettings());
    ASSERT_EQ(LongshotEnd::kPageEnd, result.end);
    ASSERT_EQ(kPlace.bottom - kPlace.top, Height(result.picture));
    DIBSECTION dib{};
    GetObjectA(result.picture.get(), sizeof dib, &dib);
    const auto* pixels = static_cast<const DWORD*>(dib.dsBm.bmBits);
    int differing = 0;
    for (size_t i = 0; i < shown.size(); ++i)
        differing += (pixels[i] & 0xFFFFFF) != (shown[i] & 0xFFFFFF);
    EXPECT_EQ(0, differing);
}

TEST(LongshotSession, ASpotThatNeverSettlesStopsTheTakingAndEnterKeepsWhatWasTaken)
{
    CStillPage page(true);
    bool said = false;
    CTimedSteps keep({{[&] { return said = PreviewSays(IDS_LONGSHOT_NO_MATCH); }, [] { PressKeys({VK_RETURN}); }}},
                     15000, [] { PressKeys({VK_ESCAPE}); });
    const LongshotResult result = RunLongshot(kPlace, CSettings());
    EXPECT_TRUE(said) << "the preview did not say why the taking stopped";
    EXPECT_EQ(LongshotEnd::kNoMatch, result.end);
    EXPECT_EQ(kPlace.bottom - kPlace.top, Height(result.picture));
}

// The clicks never reach the page: it would change under the grabs.
TEST(LongshotSession, ADoubleClickInsideTheSelectionEndsAndThePageGetsNoClick)
{
    CStillPage page(true);
    static bool pageClicked = false;
    HWND pageWindow = FindThreadWindow([](HWND window) { return WindowClass(window) == "LongshotStillPage"; });
    const WNDPROC pageProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(pageWindow, GWLP_WNDPROC));
    static WNDPROC s_pageProc = pageProc;
    SetWindowLongPtrA(pageWindow, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(+[](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
                          pageClicked |= message == WM_LBUTTONDOWN || message == WM_LBUTTONUP;
                          return CallWindowProcA(s_pageProc, window, message, wParam, lParam);
                      }));
    const POINT inside{kPlace.left + 250, kPlace.top + 180};
    CTimedSteps doubleClick(
        {{[] { return Preview() != nullptr; },
          [&] {
              ClickAtScreen(inside);
              ClickAtScreen(inside);
          }}},
        10000, [] { PressKeys({VK_ESCAPE}); });
    const LongshotResult result = RunLongshot(kPlace, CSettings());
    EXPECT_EQ(LongshotEnd::kFinished, result.end);
    EXPECT_EQ(kPlace.bottom - kPlace.top, Height(result.picture));
    PumpPending();
    EXPECT_FALSE(pageClicked);
}
