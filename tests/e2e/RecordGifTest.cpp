// Recording a part of the screen as a GIF with the real program, as a user does: the command,
// a click on a window of this test on the frozen screen, Enter or Esc on the control bar. The
// auto-saved GIF is decoded and held against what this test showed.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "FlipbookWindow.h"
#include "KeyInput.h"
#include "MarkedRegion.h"
#include "PixelReader.h"
#include "RealClick.h"
#include "e2e/ProgramUnderTest.h"
#include "imageio/GifAnimation.h"
#include "res/resource.h"

namespace {

const char kBarClass[] = "LumigrabRecordBar";
const char kPlaybackClass[] = "LumigrabGifPlayback";
constexpr RECT kPlace{240, 200, 400, 320};
constexpr int kPlaceWidth = kPlace.right - kPlace.left;
constexpr int kPlaceHeight = kPlace.bottom - kPlace.top;

struct SDecodedGif {
    std::vector<std::vector<DWORD>> frames;
    std::vector<int> delaysMs;
};

SDecodedGif Decode(const std::string& path)
{
    SDecodedGif gif;
    CGifAnimation animation;
    if (!animation.Open(path.c_str()) || animation.Width() != kPlaceWidth || animation.Height() != kPlaceHeight)
        return gif;
    std::vector<DWORD> canvas(static_cast<size_t>(kPlaceWidth) * kPlaceHeight);
    for (int i = 0; i < animation.FrameCount(); ++i) {
        animation.DrawFrame(i, reinterpret_cast<uint32_t*>(canvas.data()));
        gif.frames.push_back(canvas);
        gif.delaysMs.push_back(animation.DelayCs(i) * 10);
    }
    return gif;
}

// The recorded time the bar shows ("0:05.3"), in tenths of a second; -1 when unreadable.
int BarTenths(HWND bar)
{
    unsigned minutes = 0, seconds = 0, tenths = 0;
    const std::string text = WindowText(GetDlgItem(bar, IDC_RECORD_TIME));
    return std::sscanf(text.c_str(), "%u:%u.%u", &minutes, &seconds, &tenths) == 3
               ? static_cast<int>((minutes * 60 + seconds) * 10 + tenths)
               : -1;
}

class RecordGifTest : public ::testing::Test {
protected:
    // The program with auto-save into a folder of its own and recordings at framesPerSecond.
    void Start(bool includeCursor = false, int framesPerSecond = 20)
    {
        m_saved = m_program.PathOf("saved");
        ASSERT_TRUE(CreateDirectoryA(m_saved.c_str(), nullptr));
        WriteCaptureSettings(m_program.PathOf("lumigrab.cfg"), true, m_saved, 1, 300, includeCursor);
        ASSERT_TRUE(WritePrivateProfileStringA("Options", "RecordFramesPerSecond",
                                               std::to_string(framesPerSecond).c_str(),
                                               m_program.PathOf("lumigrab.ini").c_str()));
        ASSERT_TRUE(m_program.Start());
        m_frame = m_program.MainFrame();
        ASSERT_NE(nullptr, m_frame);
    }

    void TearDown() override
    {
        if (m_frame && m_program.IsRunning()) {
            EXPECT_TRUE(m_program.CloseLettingCapturesGo(m_frame));
        }
    }

    // Asks for a recording and clicks the window at kPlace on the frozen screen; the bar, once
    // recording. A request that comes while the program is still starting is asked again.
    // byMenuKeys: asked for as a user does, by Alt+C, A.
    HWND Record(bool byMenuKeys = false) const
    {
        if (!FrozenScreenShows(byMenuKeys))
            return nullptr;
        ClickAtScreen(POINT{kPlace.left + 8, kPlace.top + 8});
        return m_program.WaitForWindow(kBarClass, 10000);
    }

    // The frozen screen of a new recording; it shows only once the last capture has ended.
    bool FrozenScreenShows(bool byMenuKeys = false) const
    {
        const auto overlayUp = [] {
            HWND overlay = FindWindowA("SnapcoreCaptureOverlay", nullptr);
            return overlay && IsWindowVisible(overlay) && GetForegroundWindow() == overlay;
        };
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (byMenuKeys) {
                SetForegroundWindow(m_frame);
                PumpUntil([&] { return GetForegroundWindow() == m_frame; });
                PressKeys({VK_MENU, 'C'});
                PumpUntil([] { return FindWindowA("#32768", nullptr) != nullptr; });
                PressKeys({'A'});
            } else {
                CProgramUnderTest::PostCommand(m_frame, ID_CAPTURE_RECORD_GIF);
            }
            if (PumpUntil(overlayUp, 4000))
                return true;
        }
        return false;
    }

    // Waits until the bar shows at least tenths of recorded time.
    static bool RecordedFor(HWND bar, int tenths)
    {
        return PumpUntil([&] { return BarTenths(bar) >= tenths; }, tenths * 100 + 10000);
    }

    // Enter on the bar; the auto-saved GIF once the playback window shows, or "".
    std::string StopByEnter() const
    {
        PressKeys({VK_RETURN});
        if (!m_program.WaitForWindow(kPlaybackClass, 20000))
            return "";
        const std::vector<std::string> files = SavedFiles();
        return files.size() == 1 ? m_saved + "\\" + files[0] : "";
    }

    std::vector<std::string> SavedFiles() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found{};
        const HANDLE search = FindFirstFileA((m_saved + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }

    CProgramUnderTest m_program;
    std::string m_saved;
    HWND m_frame = nullptr;
};

}  // namespace

// Each picture the test showed is one frame, in order, lasting as long as it showed; the
// file opens as its first frame.
TEST_F(RecordGifTest, EachPictureShownIsAFrameWithItsDuration)
{
    Start();
    CFlipbookWindow flipbook(kPlace, 20);
    ASSERT_TRUE(flipbook.Shown());
    HWND bar = Record(true);
    ASSERT_NE(nullptr, bar);
    flipbook.Start(100);
    ASSERT_TRUE(PumpUntil([&] { return flipbook.Finished(); }, 10000));
    ASSERT_TRUE(RecordedFor(bar, BarTenths(bar) + 3));
    const std::string path = StopByEnter();
    ASSERT_FALSE(path.empty()) << "no GIF auto-saved";
    EXPECT_EQ(".gif", path.substr(path.size() - 4));

    const SDecodedGif gif = Decode(path);
    ASSERT_EQ(flipbook.PictureCount(), static_cast<int>(gif.frames.size()));
    for (int k = 0; k < flipbook.PictureCount(); ++k) {
        SCOPED_TRACE("frame " + std::to_string(k));
        EXPECT_EQ(k, flipbook.Find(gif.frames[k]));
        // The first lasted from the start of the recording, the last until Enter.
        if (k > 0 && k + 1 < flipbook.PictureCount()) {
            const int shownMs = static_cast<int>(flipbook.ShownAt(k + 1) - flipbook.ShownAt(k));
            EXPECT_NEAR(shownMs, gif.delaysMs[k], 50) << "one period at 20 frames a second";
        }
    }

    // Opened as a file, the GIF is its first frame.
    m_program.DropFiles(m_frame, {path});
    HWND tabs = FindWindowExA(m_frame, nullptr, WC_TABCONTROLA, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0) == 1; }, 10000));
    const DWORD sequence = GetClipboardSequenceNumber();
    CProgramUnderTest::PostCommand(m_frame, ID_EDIT_COPY);
    SIZE size{};
    const std::vector<DWORD> opened = BitmapPixels(MarkedRegion::ClipboardPictureAfter(sequence).get(), size);
    EXPECT_EQ(0, flipbook.Find(opened));
}

TEST_F(RecordGifTest, FiveIdleSecondsAreOneOrTwoFrames)
{
    Start(false, 10);
    CFlipbookWindow still(kPlace, 1);
    ASSERT_TRUE(still.Shown());
    HWND bar = Record();
    ASSERT_NE(nullptr, bar);
    ASSERT_TRUE(RecordedFor(bar, 50));
    const SDecodedGif gif = Decode(StopByEnter());
    ASSERT_GE(gif.frames.size(), 1u);
    EXPECT_LE(gif.frames.size(), 2u);
    int totalMs = 0;
    for (int delay : gif.delaysMs)
        totalMs += delay;
    EXPECT_GE(totalMs, 4900);
    EXPECT_EQ(0, still.Find(gif.frames.back()));
}

// With 包含光标 the pointer over the region is in the frames; without, the frames are the picture.
class RecordPointerTest : public RecordGifTest, public ::testing::WithParamInterface<bool> {};

TEST_P(RecordPointerTest, ThePointerIsRecordedOnlyWhenIncluded)
{
    const bool included = GetParam();
    Start(included);
    CFlipbookWindow still(kPlace, 1);
    ASSERT_TRUE(still.Shown());
    HWND bar = Record();
    ASSERT_NE(nullptr, bar);
    MouseAtScreen(POINT{kPlace.left + kPlaceWidth / 2, kPlace.top + kPlaceHeight / 2});
    ASSERT_TRUE(RecordedFor(bar, BarTenths(bar) + 5));
    const SDecodedGif gif = Decode(StopByEnter());
    ASSERT_FALSE(gif.frames.empty());
    EXPECT_EQ(included, still.Find(gif.frames.back()) != 0);
}

INSTANTIATE_TEST_SUITE_P(IncludedOrNot, RecordPointerTest, ::testing::Bool());

TEST_F(RecordGifTest, EscCancelsLeavingNoFileAndNoWindowAndTheRateChosenStays)
{
    Start();
    char temporary[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temporary);
    const std::string recordings = std::string(temporary) + "Lumigrab\\*.gif";
    const auto countRecordings = [&] {
        int count = 0;
        WIN32_FIND_DATAA found{};
        const HANDLE search = FindFirstFileA(recordings.c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do
                ++count;
            while (FindNextFileA(search, &found));
            FindClose(search);
        }
        return count;
    };
    const int before = countRecordings();
    CFlipbookWindow flipbook(kPlace, 10);
    ASSERT_TRUE(flipbook.Shown());
    HWND bar = Record();
    ASSERT_NE(nullptr, bar);
    flipbook.Start(100);
    ASSERT_TRUE(RecordedFor(bar, 5));
    // From 停止, which has the keyboard, to the rate, whose first is 5 a second.
    PressKeys({VK_TAB});
    PressKeys({VK_TAB});
    PressKeys({VK_HOME});
    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(bar); }, 10000));
    // A playback window would have opened before the recording ended.
    ASSERT_TRUE(FrozenScreenShows());
    EXPECT_EQ(nullptr, m_program.FindWindow(kPlaybackClass));
    // The overlay may take a moment to take keys after it comes to the front.
    const auto overlayGone = [] {
        HWND overlay = FindWindowA("SnapcoreCaptureOverlay", nullptr);
        return !overlay || !IsWindowVisible(overlay);
    };
    EXPECT_TRUE(PumpUntil([&] {
        if (overlayGone())
            return true;
        PressKeys({VK_ESCAPE});
        return PumpUntil(overlayGone, 1000);
    }, 10000));
    EXPECT_TRUE(SavedFiles().empty());
    EXPECT_EQ(before, countRecordings());
    // The rate chosen is the next recording's, also after the program ends.
    ASSERT_TRUE(m_program.CloseLettingCapturesGo(m_frame));
    m_frame = nullptr;
    EXPECT_EQ(5, GetPrivateProfileIntA("Options", "RecordFramesPerSecond", 0, m_program.PathOf("lumigrab.ini").c_str()));
}
