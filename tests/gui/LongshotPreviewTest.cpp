// The long screenshot's preview beside a selection: what it shows of a page stitched from
// real grabs, read off the screen, and what its buttons and keys tell the owner.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <vector>

#include "Gbk.h"
#include "KeyInput.h"
#include "LiveGdiObjects.h"
#include "MessagePump.h"
#include "CommandRecorder.h"
#include "PixelReader.h"
#include "RealClick.h"
#include "capture/longshot/LongshotPreview.h"
#include "capture/longshot/ScrollStitcher.h"
#include "res/resource.h"

namespace {

// The page: bands of kBand rows in colours of their own, every row told apart by its number
// written into the first columns.
constexpr int kWidth = 400, kGrabHeight = 500, kStep = 70, kPageHeight = kGrabHeight + 35 * kStep, kBand = 24;
const RECT kSelection{100, 100, 100 + kWidth, 100 + kGrabHeight};
constexpr DWORD kEmpty = 0x808080;

DWORD BandColour(int band)
{
    return static_cast<DWORD>(2 * band) << 16 | static_cast<DWORD>(255 - band) << 8 | ((band * 53) & 0xFF);
}

// The band a shown pixel is of; -2 for the empty picture, -1 for anything else.
int BandOf(DWORD pixel)
{
    const int band = static_cast<int>(pixel >> 17);
    if (pixel == BandColour(band))
        return band;
    return pixel == kEmpty ? -2 : -1;
}

std::vector<uint32_t> Page()
{
    std::vector<uint32_t> page(static_cast<size_t>(kWidth) * kPageHeight);
    for (int y = 0; y < kPageHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            page[static_cast<size_t>(y) * kWidth + x] =
                x < 4 ? static_cast<uint32_t>(y * 4 + x) : BandColour(y / kBand);
    return page;
}


HWND Child(HWND parent, const char* className, int index)
{
    HWND child = FindWindowExA(parent, nullptr, className, nullptr);
    while (child && index--)
        child = FindWindowExA(parent, child, className, nullptr);
    return child;
}

std::string TextOf(HWND window)
{
    char text[128] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

RECT ScreenRectOf(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// The bands shown down the middle of the picture, from its top to the height line, as the
// screen shows them, each once.
std::vector<int> BandsShown(HWND preview)
{
    UpdateWindow(preview);
    const RECT window = ScreenRectOf(preview);
    const int middle = (window.left + window.right) / 2;
    const RECT column{middle, window.top, middle + 1, ScreenRectOf(Child(preview, "Static", 0)).top};
    std::vector<int> bands;
    for (DWORD pixel : ScreenPixels(column)) {
        const int band = BandOf(pixel);
        if (band != -1 && (bands.empty() || bands.back() != band))
            bands.push_back(band);
    }
    return bands;
}

std::vector<int> BandRun(int first, int last)
{
    std::vector<int> bands;
    for (int band = first; band <= last; ++band)
        bands.push_back(band);
    return bands;
}

class LongshotPreviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_owner = MakeCommandRecorder(
            RECT{kSelection.left, kSelection.top, kSelection.left + kWidth, kSelection.top + kGrabHeight});
        ASSERT_NE(nullptr, m_owner);
        SetForegroundWindow(m_owner);
        ASSERT_TRUE(m_preview.Create(m_owner, kSelection));
        PumpPending();
    }
    void TearDown() override
    {
        m_preview.DestroyWindow();
        DestroyWindow(m_owner);
    }

    // True when the owner hears command, and only it, after what the user did.
    bool Hears(UINT command)
    {
        const size_t heard = RecordedCommands().size();
        return PumpUntil([&] { return RecordedCommands().size() > heard; }, 3000) &&
               RecordedCommands().size() == heard + 1 && RecordedCommands().back() == command;
    }

    bool Click(HWND window)
    {
        const POINT centre = WindowCentre(window);
        if (!PumpUntil([&] { return WindowFromPoint(centre) == window; }))
            return false;
        ClickAtScreen(centre);
        return true;
    }

    // Whether the screen shows these bands down the picture, once it has drawn what was asked.
    ::testing::AssertionResult Shows(const std::vector<int>& bands)
    {
        if (PumpUntil([&] { return BandsShown(m_preview.Handle()) == bands; }))
            return ::testing::AssertionSuccess();
        ::testing::AssertionResult failure = ::testing::AssertionFailure() << "shows";
        for (int band : BandsShown(m_preview.Handle()))
            failure << " " << band;
        return failure;
    }

    CLongshotPreview m_preview;
    HWND m_owner = nullptr;
};

TEST_F(LongshotPreviewTest, ShowsTheNewestRowsOfAStitchedPageAndItsHeight)
{
    RECT common{};
    const RECT placed = ScreenRectOf(m_preview.Handle());
    EXPECT_FALSE(IntersectRect(&common, &kSelection, &placed));
    EXPECT_EQ(m_owner, GetActiveWindow()) << "shown without taking the activation";
    EXPECT_EQ(ToGbk("自动滚动中，也可滚动滚轮。Enter 完成，Esc 取消。"), TextOf(Child(m_preview.Handle(), "Static", 1)));

    const std::vector<uint32_t> page = Page();
    CScrollStitcher stitcher(kWidth, kGrabHeight);
    for (int top = 0; top + kGrabHeight <= kPageHeight; top += kStep) {
        const StitchAnswer answer = stitcher.Add(page.data() + static_cast<size_t>(top) * kWidth, top ? kStep : 0);
        ASSERT_EQ(StitchStep::kAppended, answer.step) << top;
        m_preview.ShowRows(stitcher);
        if (top == kStep) {
            std::vector<int> early = BandRun(0, (kGrabHeight + kStep - 1) / kBand);
            early.push_back(-2);
            EXPECT_TRUE(Shows(early)) << "from the top, the rest empty";
        }
    }
    const int lastBand = (kPageHeight - 1) / kBand;
    std::vector<int> bands;
    ASSERT_TRUE(PumpUntil([&] {
        bands = BandsShown(m_preview.Handle());
        return !bands.empty() && bands.back() == lastBand;
    }));
    EXPECT_TRUE(bands.front() > 0 && BandRun(bands.front(), lastBand) == bands)
        << "the newest, in order, at the bottom";
    EXPECT_EQ(ToGbk("2950 像素"), TextOf(Child(m_preview.Handle(), "Static", 0)));
}

TEST_F(LongshotPreviewTest, ButtonsKeysAndADoubleClickReachTheOwner)
{
    HWND preview = m_preview.Handle();
    EXPECT_TRUE(Click(GetDlgItem(preview, ID_LONGSHOT_DONE)));
    EXPECT_TRUE(Hears(ID_LONGSHOT_DONE));
    EXPECT_TRUE(Click(GetDlgItem(preview, ID_LONGSHOT_CANCEL)));
    EXPECT_TRUE(Hears(ID_LONGSHOT_CANCEL));
    EXPECT_TRUE(Click(GetDlgItem(preview, ID_LONGSHOT_AUTO)));
    EXPECT_TRUE(Hears(ID_LONGSHOT_AUTO));
    EXPECT_FALSE(IsDlgButtonChecked(preview, ID_LONGSHOT_AUTO)) << "the owner decides";
    m_preview.SetAutoScroll(true);
    EXPECT_TRUE(IsDlgButtonChecked(preview, ID_LONGSHOT_AUTO));

    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == GetDlgItem(preview, ID_LONGSHOT_AUTO); }));
    PressKeys({VK_RETURN});
    EXPECT_TRUE(Hears(ID_LONGSHOT_DONE));
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(Hears(ID_LONGSHOT_CANCEL));

    const RECT window = ScreenRectOf(preview);
    const POINT inPicture{(window.left + window.right) / 2, window.top + 30};
    ClickAtScreen(inPicture);
    ClickAtScreen(inPicture);
    EXPECT_TRUE(Hears(ID_LONGSHOT_DONE)) << "double-click on the picture";
}

TEST_F(LongshotPreviewTest, AWarningIsRedAndNoRoomMakesNothing)
{
    HWND status = Child(m_preview.Handle(), "Static", 1);
    auto inked = [&](bool red) {
        UpdateWindow(status);
        for (DWORD pixel : ScreenPixels(ScreenRectOf(status))) {
            const DWORD r = pixel >> 16 & 0xFF, g = pixel >> 8 & 0xFF, b = pixel & 0xFF;
            if (red ? r > 150 && g < 80 && b < 80 : r < 80 && g < 80 && b < 80)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(PumpUntil([&] { return inked(false); })) << "the hint in black";
    EXPECT_FALSE(inked(true));
    m_preview.SetStatus("No match", true);
    EXPECT_TRUE(PumpUntil([&] { return inked(true); }));

    // The system keeps what it makes for the first window drawn at a place; counted after that.
    auto makeAndDrop = [&] {
        CLongshotPreview another;
        EXPECT_TRUE(another.Create(m_owner, RECT{700, 100, 1000, 500}));
        PumpPending();
    };
    makeAndDrop();
    const size_t gdiObjects = LiveGdiObjects();
    makeAndDrop();
    EXPECT_EQ(gdiObjects, LiveGdiObjects()) << "the picture goes with the preview";
    m_preview.DestroyWindow();
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    CLongshotPreview none;
    EXPECT_FALSE(none.Create(m_owner, screen));
    EXPECT_EQ(nullptr, FindWindowA("LumigrabLongshotPreview", nullptr));
}

}
