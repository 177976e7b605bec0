#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "KeyInput.h"
#include "PixelReader.h"
#include "RealClick.h"
#include "e2e/ProgramUnderTest.h"
#include "imageio/ImageFormats.h"
#include "res/resource.h"
#include "scoped/ScopedHandles.h"

// The real program pins its document over everything, at 100%, and Esc takes it away.
namespace {
constexpr COLORREF kLeft = RGB(220, 30, 40), kRight = RGB(20, 90, 230);

// 160 x 100, red on the left, blue on the right.
bool WriteHalvesFile(const std::string& path)
{
    CScreenDC screen;
    CBitmapOwner bitmap(CreateCompatibleBitmap(screen, 160, 100));
    CMemoryDC dc(screen);
    {
        CSelectObject selection(dc, bitmap.get());
        CBrushOwner left(CreateSolidBrush(kLeft)), right(CreateSolidBrush(kRight));
        const RECT leftHalf{0, 0, 80, 100}, rightHalf{80, 0, 160, 100};
        FillRect(dc, &leftHalf, left.get());
        FillRect(dc, &rightHalf, right.get());
    }
    return SaveImageFile(bitmap.get(), FindImageFormat("bmp"), path.c_str());
}

TEST(PinTest, TheDocumentIsPinnedAtActualSizeAndEscClosesIt)
{
    CProgramUnderTest program;
    const std::string picture = program.PathOf("halves.bmp");
    ASSERT_TRUE(WriteHalvesFile(picture));
    ASSERT_TRUE(program.Start("\"" + picture + "\""));
    HWND frame = program.MainFrame();
    ASSERT_NE(nullptr, frame);
    HWND tabs = FindWindowExA(frame, nullptr, WC_TABCONTROLA, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0) == 1; }, 10000));

    CProgramUnderTest::PostCommand(frame, ID_IMAGE_PIN);
    HWND pin = program.WaitForWindow("LumigrabPin", 5000);
    ASSERT_NE(nullptr, pin);
    RECT place;
    GetWindowRect(pin, &place);
    const POINT picture0{place.left + 2, place.top + 2};
    EXPECT_EQ(164, place.right - place.left) << "100% and a frame of 2";
    const auto shows = [&](int x, int y, COLORREF colour) {
        return CPixelReader().At(picture0.x + x, picture0.y + y) == colour;
    };
    EXPECT_TRUE(PumpUntil([&] { return shows(0, 0, kLeft) && shows(79, 99, kLeft) && shows(80, 0, kRight)
                                       && shows(159, 99, kRight); }, 5000))
        << "the document's pixels on the screen";

    // The display's own focus events of the program's start may arrive after the click
    // and take the keyboard back, and Esc then misses the pin: the click and Esc are
    // repeated until the pin has closed.
    const POINT centre = CentreOf(place);
    bool closed = false;
    for (int attempt = 0; attempt < 3 && !closed; ++attempt) {
        ClickAtScreen(centre);
        if (!PumpUntil([&] { return GetForegroundWindow() == pin; }, 3000))
            continue;
        PressKeys({VK_ESCAPE});
        closed = PumpUntil([&] { return !IsWindow(pin); }, 3000);
    }
    EXPECT_TRUE(closed) << "Esc closes the pin that has the keyboard";

    PostMessageA(frame, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    EXPECT_TRUE(program.WaitForExit(10000, &exitCode));
}

} // namespace
