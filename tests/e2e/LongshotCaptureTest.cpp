// The long screenshot with the real program and its engine, as a user takes one: the
// command, a drag over a page taller than the screen, then scrolling by the program or
// by the user's wheel, and the stitched document compared with the page pixel for pixel.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <unordered_set>
#include <vector>

#include "DialogAnswerer.h"
#include "Gbk.h"
#include "KeyInput.h"
#include "MarkedRegion.h"
#include "PixelReader.h"
#include "RealClick.h"
#include "TallPicture.h"
#include "e2e/ProgramUnderTest.h"
#include "imageio/ImageFormats.h"
#include "res/resource.h"
#include "scoped/ScopedHandles.h"

namespace {
using namespace TallPicture;

// The tall page's client area: header, view and footer, with room beside it for the preview.
constexpr int kLeft = 40, kTop = 60, kWidth = 360, kViewRows = 600;
constexpr int kPageRows = 5200;
const RECT kPage = {kLeft, kTop, kLeft + kWidth, kTop + kHeaderRows + kViewRows + kFooterRows};

HWND Overlay() { return FindWindowA("SnapcoreCaptureOverlay", nullptr); }
HWND Session() { return FindWindowA("LumigrabLongshotFrame", nullptr); }
HWND Preview() { return FindWindowA("LumigrabLongshotPreview", nullptr); }
bool Shown(HWND window) { return window && IsWindowVisible(window); }

// The height the preview shows in one of its controls ("N 像素"), -1 while it shows none.
int PreviewHeight()
{
    const std::string unit = ToGbk(" 像素");
    int height = -1;
    const auto read = [&](HWND window) {
        const std::string text = WindowText(window);
        if (text.size() > unit.size() && text.compare(text.size() - unit.size(), unit.size(), unit) == 0)
            std::sscanf(text.c_str(), "%d", &height);
    };
    for (HWND child = GetWindow(Preview(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        read(child);
    return height;
}

// tall_page.exe in a mode (--scrollbar or --wheel-only) at the page's place, ended when the object goes.
class CTallPage {
public:
    explicit CTallPage(const std::string& mode)
    {
        const std::string exe = BesideTestProgram("tall_page.exe");
        std::string line = "\"" + exe + "\" " + mode + " --rows " + std::to_string(kPageRows) + " --size " +
                           std::to_string(kWidth) + " " + std::to_string(kViewRows) + " --at " +
                           std::to_string(kLeft) + " " + std::to_string(kTop);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_process))
            return;
        // The screen shows the page once its header, first row and footer are there.
        m_bShown = PumpUntil(
            [] {
                const std::vector<DWORD> shown = ScreenPixels(kPage);
                const auto at = [&](int x, int y) { return shown[static_cast<size_t>(y) * kWidth + x]; };
                return !shown.empty() && at(kWidth - 1, 0) == HeaderPixel(kWidth - 1, 0) &&
                       at(kWidth - 1, kHeaderRows) == PagePixel(kWidth - 1, 0) &&
                       at(0, kHeaderRows + kViewRows) == FooterPixel(0, 0);
            },
            10000);
    }
    ~CTallPage()
    {
        if (!m_process.hProcess)
            return;
        TerminateProcess(m_process.hProcess, 0);
        WaitForSingleObject(m_process.hProcess, 5000);
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }
    CTallPage(const CTallPage&) = delete;
    CTallPage& operator=(const CTallPage&) = delete;

    bool Shown() const { return m_bShown; }

    // The picture's row at the top of the view, as the screen shows it; -1 when none is.
    // The view's last row tells which of a blank block's rows the first is.
    static int FirstRowShown()
    {
        const auto screenRow = [](int y) {
            const std::vector<DWORD> row = ScreenPixels({kLeft, y, kLeft + kWidth, y + 1});
            return std::vector<uint32_t>(row.begin(), row.end());
        };
        const std::vector<uint32_t> first = screenRow(kTop + kHeaderRows);
        const std::vector<uint32_t> last = screenRow(kTop + kHeaderRows + kViewRows - 1);
        for (int y = 0; y + kViewRows <= kPageRows; ++y)
            if (PageRows(0, kWidth, y, 1) == first && PageRows(0, kWidth, y + kViewRows - 1, 1) == last)
                return y;
        return -1;
    }

private:
    PROCESS_INFORMATION m_process{};
    bool m_bShown = false;
};

// Where the pictures differ: their sizes, or the first row that does; empty when equal.
std::string Differences(const std::vector<DWORD>& result, SIZE size, const std::vector<uint32_t>& expected, int width)
{
    const int rows = static_cast<int>(expected.size() / width);
    if (result.empty() || size.cx != width || size.cy != rows)
        return "a picture of " + std::to_string(size.cx) + " x " + std::to_string(size.cy) + " instead of " +
               std::to_string(width) + " x " + std::to_string(rows);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < width; ++x)
            if (result[static_cast<size_t>(y) * width + x] != expected[static_cast<size_t>(y) * width + x])
                return "row " + std::to_string(y) + " differs from column " + std::to_string(x);
    return "";
}

class LongshotCaptureTest : public ::testing::Test {
protected:
    void Start()
    {
        ASSERT_TRUE(m_program.Start());
        m_frame = m_program.MainFrame();
        ASSERT_NE(m_frame, nullptr);
        m_tabs = FindWindowExA(m_frame, nullptr, WC_TABCONTROLA, nullptr);
        // Out of the page's way: with the window over it, the display at times showed neither.
        SetWindowPos(m_frame, nullptr, 600, 740, 640, 260, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void TearDown() override
    {
        if (m_frame && m_program.IsRunning()) {
            EXPECT_TRUE(m_program.CloseLettingCapturesGo(m_frame));
        }
    }

    int TabCount() const { return static_cast<int>(SendMessageA(m_tabs, TCM_GETITEMCOUNT, 0, 0)); }

    // Chooses the long screenshot, from the menu by its keys (Alt+C, G) or as a command,
    // and drags over region on the frozen screen; true once the session has begun. A
    // request that comes while the last capture is still ending is dropped, so the user
    // asks again.
    bool Select(const RECT& region, bool byMenuKeys = false) const
    {
        const auto overlayUp = [] { return Shown(Overlay()) && GetForegroundWindow() == Overlay(); };
        bool up = false;
        for (int attempt = 0; attempt < 3 && !up; ++attempt) {
            if (byMenuKeys) {
                SetForegroundWindow(m_frame);
                PumpUntil([&] { return GetForegroundWindow() == m_frame; });
                PressKeys({VK_MENU, 'C'});
                PumpUntil([] { return FindWindowA("#32768", nullptr) != nullptr; });
                PressKeys({'G'});
            } else {
                CProgramUnderTest::PostCommand(m_frame, ID_CAPTURE_LONGSHOT);
            }
            up = PumpUntil(overlayUp, 4000);
        }
        if (!up)
            return false;
        DragOnScreen({{region.left, region.top}, {region.right, region.bottom}});
        return PumpUntil([] { return Shown(Session()); }, 10000);
    }

    // The pixels of the newest document once there are documents documents, read through the clipboard.
    std::vector<DWORD> Document(int documents, SIZE& size, DWORD timeoutMs = 120000) const
    {
        if (!PumpUntil([&] { return TabCount() == documents && !Session(); }, timeoutMs))
            return {};
        const DWORD sequence = GetClipboardSequenceNumber();
        CProgramUnderTest::PostCommand(m_frame, ID_EDIT_COPY);
        return BitmapPixels(MarkedRegion::ClipboardPictureAfter(sequence).get(), size);
    }

    CProgramUnderTest m_program;
    HWND m_frame = nullptr;
    HWND m_tabs = nullptr;
};

}  // namespace

TEST_F(LongshotCaptureTest, AutomaticScrollingGivesHeaderWholePageAndFooterExactly)
{
    Start();
    SIZE size{};
    {
        const CTallPage page("--scrollbar");
        ASSERT_TRUE(page.Shown());
        ASSERT_TRUE(Select(kPage, true));
        const std::vector<DWORD> result = Document(1, size);
        EXPECT_EQ("", Differences(result, size, WholePage(0, kWidth, kPageRows), kWidth)) << "by the scroll bar";
    }
    const CTallPage page("--wheel-only");
    ASSERT_TRUE(page.Shown());
    const RECT narrower{kLeft + 70, kTop, kLeft + 290, kPage.bottom};
    ASSERT_TRUE(Select(narrower));
    const std::vector<DWORD> result = Document(2, size);
    EXPECT_EQ("", Differences(result, size, WholePage(70, 220, kPageRows), 220)) << "by the wheel, narrower than the page";
}

TEST_F(LongshotCaptureTest, TheUsersWheelScrollsByHandAndEnterKeepsWhatWasShown)
{
    Start();
    const CTallPage page("--wheel-only");
    ASSERT_TRUE(page.Shown());
    ASSERT_TRUE(Select(kPage));
    // Once capturing has begun: rows scrolled away before the first grab are not in it.
    ASSERT_TRUE(PumpUntil([] { return PreviewHeight() > 0; }, 10000));
    const POINT centre = CentreOf(kPage);
    MouseAtScreen(centre, MOUSEEVENTF_WHEEL, -WHEEL_DELTA);
    EXPECT_TRUE(PumpUntil(
        [] {
            HWND box = GetDlgItem(Preview(), ID_LONGSHOT_AUTO);
            return box && SendMessageA(box, BM_GETCHECK, 0, 0) == BST_UNCHECKED;
        },
        10000))
        << "the user's wheel turned automatic scrolling off";
    for (int notch = 0; notch < 25; ++notch) {
        const int before = PreviewHeight();
        MouseAtScreen(centre, MOUSEEVENTF_WHEEL, -WHEEL_DELTA);
        ASSERT_TRUE(PumpUntil([&] { return PreviewHeight() != before; }, 10000)) << "notch " << notch;
    }
    // The preview's height (with the footer) counts what the view shows now.
    int lastRow = 0;
    ASSERT_TRUE(PumpUntil(
        [&] {
            lastRow = CTallPage::FirstRowShown() + kViewRows;
            return PreviewHeight() == kHeaderRows + lastRow + kFooterRows;
        },
        10000));
    PressKeys({VK_RETURN});
    SIZE size{};
    const std::vector<DWORD> result = Document(1, size, 20000);
    EXPECT_EQ("", Differences(result, size, WholePage(0, kWidth, lastRow), kWidth));
}

namespace {
// A PNG of the page's picture, width x rows, written by the program's own writer.
bool WritePicture(const std::string& path, int width, int rows)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -rows;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const CBitmapOwner picture(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!picture)
        return false;
    const std::vector<uint32_t> pixels = PageRows(0, width, 0, rows);
    std::copy(pixels.begin(), pixels.end(), static_cast<uint32_t*>(bits));
    return SaveImageFile(picture.get(), 2, path.c_str());
}

// Where the result fails to hold every row of the picture once, in order: the rows of
// a view's fixed parts may come before and after them, but no row of the picture may.
std::string RowsOnceInOrder(const std::vector<DWORD>& result, SIZE size, const std::vector<uint32_t>& picture)
{
    const size_t width = static_cast<size_t>(size.cx);
    const int rows = width ? static_cast<int>(picture.size() / width) : 0;
    const auto resultRow = [&](int y) { return std::string(reinterpret_cast<const char*>(&result[y * width]), width * 4); };
    const auto pictureRow = [&](int y) { return std::string(reinterpret_cast<const char*>(&picture[y * width]), width * 4); };
    if (result.empty() || !rows)
        return "no picture";
    int start = 0;
    while (start < size.cy && resultRow(start) != pictureRow(0))
        ++start;
    if (start + rows > size.cy)
        return "the picture's rows do not all follow its first, at " + std::to_string(start) + " of " +
               std::to_string(size.cy);
    for (int y = 0; y < rows; ++y)
        if (resultRow(start + y) != pictureRow(y))
            return "the picture's row " + std::to_string(y) + " is not at " + std::to_string(start + y);
    std::unordered_set<std::string> pictureRows;
    for (int y = 0; y < rows; ++y)
        pictureRows.insert(pictureRow(y));
    for (int y = 0; y < size.cy; ++y)
        if ((y < start || y >= start + rows) && pictureRows.count(resultRow(y)))
            return "a row of the picture again at " + std::to_string(y);
    return "";
}
}  // namespace

TEST_F(LongshotCaptureTest, LumigrabsOwnViewOfATallPictureGivesEveryRowOnceInOrder)
{
    constexpr int kPictureWidth = 400, kPictureRows = 5200;
    CProgramUnderTest viewer;
    const std::string png = viewer.PathOf("tall.png");
    ASSERT_TRUE(WritePicture(png, kPictureWidth, kPictureRows));
    Start();
    ASSERT_TRUE(viewer.Start("/new \"" + png + "\""));
    // It cannot have the hotkeys the first copy holds, and says so for each.
    for (int hotkey = 0; hotkey < 2; ++hotkey) {
        HWND box = viewer.WaitForMessageBox(10000);
        ASSERT_NE(nullptr, box);
        EXPECT_TRUE(CProgramUnderTest::PressButton(box, IDOK));
    }
    HWND viewerFrame = viewer.MainFrame();
    ASSERT_NE(nullptr, viewerFrame);
    HWND viewerTabs = FindWindowExA(viewerFrame, nullptr, WC_TABCONTROLA, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return SendMessageA(viewerTabs, TCM_GETITEMCOUNT, 0, 0) == 1; }, 10000));
    // Beside the place of the preview, at 100%.
    SetWindowPos(viewerFrame, HWND_TOP, 0, 0, 700, 1000, SWP_SHOWWINDOW);
    CProgramUnderTest::PostCommand(viewerFrame, ID_ZOOM_ACTUAL);
    HWND view = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        HWND client = FindWindowExA(viewerFrame, nullptr, "MDIClient", nullptr);
        return (view = GetWindow(GetWindow(client, GW_CHILD), GW_CHILD)) != nullptr;
    }));
    RECT shown{};
    GetClientRect(view, &shown);
    MapWindowPoints(view, nullptr, reinterpret_cast<POINT*>(&shown), 2);
    shown.right = std::min<LONG>(shown.right, shown.left + kPictureWidth);
    const int width = shown.right - shown.left;
    ASSERT_TRUE(PumpUntil(
        [&] {
            const std::vector<DWORD> top = ScreenPixels({shown.left, shown.top, shown.right, shown.top + 1});
            return std::vector<uint32_t>(top.begin(), top.end()) == PageRows(0, width, 0, 1);
        },
        10000))
        << "the view shows the picture from its first row";

    ASSERT_TRUE(Select(shown));
    SIZE size{};
    const std::vector<DWORD> result = Document(1, size);
    EXPECT_EQ("", RowsOnceInOrder(result, size, PageRows(0, width, 0, kPictureRows)));
    EXPECT_TRUE(viewer.CloseLettingCapturesGo(viewerFrame));
}

TEST_F(LongshotCaptureTest, EscLeavesNothingAndAPageOverTheLimitEndsThereWithTheMessage)
{
    constexpr int kLimit = 3000;
    ASSERT_TRUE(WritePrivateProfileStringA("Options", "LongshotMaxRows", std::to_string(kLimit).c_str(),
                                           m_program.PathOf("lumigrab.ini").c_str()));
    Start();
    {
        const CTallPage page("--scrollbar");
        ASSERT_TRUE(page.Shown());
        const std::vector<std::string> files = m_program.FileNames();
        ASSERT_TRUE(Select(kPage));
        ASSERT_TRUE(PumpUntil([] { return PreviewHeight() > 0; }, 10000));
        PressKeys({VK_ESCAPE});
        EXPECT_TRUE(PumpUntil([&] { return !Session() && !Preview(); }, 10000));
        PumpPending();
        EXPECT_EQ(nullptr, m_program.FindWindow("#32770")) << "no message about an end";
        EXPECT_EQ(0, TabCount());
        EXPECT_EQ(files, m_program.FileNames());
    }
    const CTallPage page("--scrollbar");
    ASSERT_TRUE(page.Shown());
    ASSERT_TRUE(Select(kPage));
    HWND box = m_program.WaitForMessageBox(120000);
    ASSERT_NE(nullptr, box);
    char format[256] = "";
    LoadStringA(GetModuleHandleA(nullptr), IDS_LONGSHOT_LIMIT, format, sizeof format);
    std::string expected = format;
    const size_t number = expected.find('%');
    ASSERT_NE(std::string::npos, number);
    expected.replace(number, 2, std::to_string(kLimit));
    EXPECT_EQ(expected, MessageBoxText(box));
    EXPECT_TRUE(CProgramUnderTest::PressButton(box, IDOK));
    SIZE size{};
    const std::vector<DWORD> result = Document(1, size, 20000);
    EXPECT_EQ("", Differences(result, size, WholePage(0, kWidth, kLimit - kHeaderRows - kFooterRows), kWidth));
}
