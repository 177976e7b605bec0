// The recording session against a window of this thread that shows known pictures:
// what the frames hold and how long they last, the pointer, the bar's keys and buttons.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "FlipbookWindow.h"
#include "KeyInput.h"
#include "MessagePump.h"
#include "PixelReader.h"
#include "RealClick.h"
#include "ThreadWindows.h"
#include "TimedSteps.h"
#include "capture/recording/RecordingSession.h"
#include "res/resource.h"

namespace {
constexpr RECT kPlace{200, 160, 360, 280};

// A sink that keeps every frame as it came, and refuses one more than takes with refusal.
class CMemorySink : public IRecordingSink {
public:
    explicit CMemorySink(size_t pixels, size_t takes = SIZE_MAX, DWORD refusal = 0)
        : m_nPixels(pixels), m_nTakes(takes), m_dwRefusal(refusal)
    {
    }
    bool AddFrame(const uint32_t* pixels, int previousDelayCs) override
    {
        if (frames.size() == m_nTakes)
            return false;
        frames.emplace_back(pixels, pixels + m_nPixels);
        if (frames.size() > 1)
            delays.push_back(previousDelayCs);
        return true;
    }
    bool Finish(int lastDelayCs) override
    {
        delays.push_back(lastDelayCs);
        finished = true;
        return true;
    }
    DWORD Error() const override { return m_dwRefusal; }
    int DelaySumCs() const
    {
        int sum = 0;
        for (int delay : delays)
            sum += delay;
        return sum;
    }

    std::vector<std::vector<uint32_t>> frames;
    std::vector<int> delays;
    bool finished = false;

private:
    size_t m_nPixels, m_nTakes;
    DWORD m_dwRefusal;
};

constexpr size_t kPixels = static_cast<size_t>(kPlace.right - kPlace.left) * (kPlace.bottom - kPlace.top);

// The flipbook's picture the frame shows; -1 when it shows none of them.
int PictureIn(const CFlipbookWindow& window, const std::vector<uint32_t>& frame)
{
    return window.Find(std::vector<DWORD>(frame.begin(), frame.end()));
}

HWND Bar()
{
    return FindThreadWindow([](HWND window) { return WindowClass(window) == "LumigrabRecordBar"; });
}

// Clicks a button of the bar.
std::function<void()> Click(UINT id)
{
    return [id] { ClickWindow(GetDlgItem(Bar(), id)); };
}

}  // namespace

// The bar and the border stay out of the frames: every frame is the window's colour alone.
TEST(RecordingSession, ChangingPicturesAreRecordedAsShownForTheirTimeAndEnterStops)
{
    CFlipbookWindow window(kPlace, 60);
    ASSERT_TRUE(window.Shown());
    window.Start(100);
    CMemorySink sink(kPixels);
    CSettings settings;
    settings.m_nRecordFramesPerSecond = 20;
    const DWORD start = GetTickCount();
    DWORD stopped = 0;
    CTimedSteps stop({{[&] { return Bar() && GetTickCount() - start >= 1500; },
                       [&] {
                           stopped = GetTickCount();
                           PressKeys({VK_RETURN});
                       }}},
                     10000, [] { PressKeys({VK_ESCAPE}); });
    const RecordingResult result = RunRecording(kPlace, settings, sink);
    ASSERT_EQ(RecordingEnd::kStopped, result.end);
    ASSERT_TRUE(sink.finished);
    EXPECT_EQ(static_cast<int>(sink.frames.size()), result.frames);
    EXPECT_GE(sink.frames.size(), 10u) << "a picture a tenth of a second for 1.5 s, at 20 frames a second";
    int previous = -1;
    for (size_t i = 0; i < sink.frames.size(); ++i) {
        const int picture = PictureIn(window, sink.frames[i]);
        ASSERT_NE(-1, picture) << "frame " << i << " is not one of the window's pictures";
        EXPECT_GT(picture, previous) << "frame " << i << " repeats or goes back";
        previous = picture;
    }
    // The test's clock also counts the bar being made before the first frame and Enter on its
    // way to the bar: two periods at 20 frames a second.
    EXPECT_NEAR(static_cast<double>(stopped - start), result.durationMs, 100);
    EXPECT_NEAR(result.durationMs / 10.0, sink.DelaySumCs(), 1);
}

// The time paused is left out, and an unchanging region is one frame however long it lasts.
TEST(RecordingSession, PausedTimeIsLeftOutAndAnIdleRegionIsOneFrame)
{
    const CFlipbookWindow window(kPlace, 1);
    ASSERT_TRUE(window.Shown());
    CMemorySink sink(kPixels);
    CSettings settings;
    const DWORD start = GetTickCount();
    DWORD paused = 0, resumed = 0, stopped = 0;
    auto clickAt = [](DWORD& when, UINT id) {
        return [&when, id] {
            when = GetTickCount();
            Click(id)();
        };
    };
    CTimedSteps steps({{[&] { return Bar() && GetTickCount() - start >= 300; }, clickAt(paused, ID_RECORD_PAUSE)},
                       {[&] { return GetTickCount() - paused >= 800; }, clickAt(resumed, ID_RECORD_PAUSE)},
                       {[&] { return GetTickCount() - resumed >= 300; }, clickAt(stopped, ID_RECORD_STOP)}},
                      10000, [] { PressKeys({VK_ESCAPE}); });
    const RecordingResult result = RunRecording(kPlace, settings, sink);
    ASSERT_EQ(RecordingEnd::kStopped, result.end);
    ASSERT_EQ(1u, sink.frames.size());
    EXPECT_EQ(0, PictureIn(window, sink.frames[0]));
    const DWORD wall = stopped - start;
    EXPECT_LT(result.durationMs, wall - 600) << "recorded " << result.durationMs << " ms of " << wall;
    EXPECT_GT(result.durationMs, 400u);
    EXPECT_NEAR(result.durationMs / 10.0, sink.DelaySumCs(), 1);
}

// The pointer moved over the region is drawn into the frames when asked for, and only then;
// Esc, or closing the bar, drops the recording without finishing it.
TEST(RecordingSession, ThePointerIsInTheFramesOnlyWhenIncludedAndEscOrAltF4Cancels)
{
    const CFlipbookWindow window(kPlace, 1);
    ASSERT_TRUE(window.Shown());
    for (int include : {1, 0}) {
        SCOPED_TRACE(include);
        const POINT at{kPlace.left + 40, kPlace.top + 40};
        MouseAtScreen(at);
        ASSERT_TRUE(PumpUntil([&] {
            POINT pointer{};
            return GetCursorPos(&pointer) && pointer.x == at.x && pointer.y == at.y;
        }));
        CMemorySink sink(kPixels);
        CSettings settings;
        settings.m_bIncludeCursor = include;
        const DWORD start = GetTickCount();
        CTimedSteps steps({{[&] { return Bar() && GetTickCount() - start >= 300; },
                            [] { MouseAtScreen(POINT{kPlace.left + 100, kPlace.top + 70}); }},
                           {[&] { return GetTickCount() - start >= 700; },
                            [&] { include ? PressKeys({VK_ESCAPE}) : PressKeys({VK_MENU, VK_F4}); }}},
                          10000, [] { PressKeys({VK_ESCAPE}); });
        const RecordingResult result = RunRecording(kPlace, settings, sink);
        EXPECT_EQ(RecordingEnd::kCancelled, result.end);
        EXPECT_FALSE(sink.finished);
        ASSERT_FALSE(sink.frames.empty());
        if (include) {
            EXPECT_GE(sink.frames.size(), 2u) << "the pointer moved";
            const std::vector<uint32_t>& first = sink.frames[0];
            const int width = kPlace.right - kPlace.left;
            int drawn = 0, elsewhere = 0;
            for (size_t i = 0; i < first.size(); ++i) {
                const long x = static_cast<long>(i % width), y = static_cast<long>(i / width);
                const bool nearHotSpot = x >= 40 && x < 40 + GetSystemMetrics(SM_CXCURSOR) && y >= 40 &&
                                         y < 40 + GetSystemMetrics(SM_CYCURSOR);
                (nearHotSpot ? drawn : elsewhere) += first[i] != window.Picture(0)[i];
            }
            EXPECT_GT(drawn, 20) << "the pointer at its hot spot";
            EXPECT_EQ(0, elsewhere);
        } else {
            EXPECT_EQ(1u, sink.frames.size());
            EXPECT_EQ(0, PictureIn(window, sink.frames[0]));
        }
    }
}

// With no room beside the region the bar goes over it, but its ticking clock makes no frame.
TEST(RecordingSession, ABarOverAFullScreenRegionStaysOutOfItsFrames)
{
    const CFlipbookWindow window(kPlace, 1);
    ASSERT_TRUE(window.Shown());
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    CMemorySink sink(static_cast<size_t>(screen.right) * screen.bottom);
    CSettings settings;
    const DWORD start = GetTickCount();
    RECT bar{};
    CTimedSteps stop({{[&] { return Bar() && GetTickCount() - start >= 800; },
                       [&] {
                           GetWindowRect(Bar(), &bar);
                           PressKeys({VK_RETURN});
                       }}},
                     10000, [] { PressKeys({VK_ESCAPE}); });
    const RecordingResult result = RunRecording(screen, settings, sink);
    ASSERT_EQ(RecordingEnd::kStopped, result.end);
    RECT over{};
    EXPECT_TRUE(IntersectRect(&over, &bar, &screen));
    EXPECT_EQ(1u, sink.frames.size());
}

// Tab goes from 停止, which has the focus first, over 取消 to the rate, which keys choose;
// Shift+Tab goes back, and Space presses the button.
TEST(RecordingSession, TheKeyboardReachesTheRateOnTheBar)
{
    CMemorySink sink(kPixels);
    CSettings settings;
    CTimedSteps keys({{[] { return Bar() && GetFocus() == GetDlgItem(Bar(), ID_RECORD_STOP); },
                       [] {
                           PressKeys({VK_TAB});
                           PressKeys({VK_TAB});
                           PressKeys({VK_HOME});
                           PressKeys({VK_SHIFT, VK_TAB});
                           PressKeys({VK_SHIFT, VK_TAB});
                           PressKeys({VK_SPACE});
                       }}},
                     10000, [] { PressKeys({VK_ESCAPE}); });
    const RecordingResult result = RunRecording(kPlace, settings, sink);
    EXPECT_EQ(RecordingEnd::kStopped, result.end);
    EXPECT_EQ(5, settings.m_nRecordFramesPerSecond);
}

// A rate chosen on the bar is kept in the settings and spaces the frames from then on.
TEST(RecordingSession, ARateChosenOnTheBarIsKeptAndSpacesTheNextFrames)
{
    CFlipbookWindow window(kPlace, 100);
    ASSERT_TRUE(window.Shown());
    window.Start(40);
    CMemorySink sink(kPixels);
    CSettings settings;
    settings.m_nRecordFramesPerSecond = 20;
    const DWORD start = GetTickCount();
    size_t framesBefore = 0;
    CTimedSteps steps({{[&] { return Bar() && GetTickCount() - start >= 500; },
                        [&] {
                            framesBefore = sink.frames.size();
                            ClickWindow(GetDlgItem(Bar(), IDC_RECORD_RATE));
                        }},
                       {[] { return SendDlgItemMessageA(Bar(), IDC_RECORD_RATE, CB_GETDROPPEDSTATE, 0, 0) != 0; },
                        [] { PressKeys({VK_HOME}); }},
                       {nullptr, [] { PressKeys({VK_RETURN}); }},
                       {[&] { return GetTickCount() - start >= 1800; }, [] { PressKeys({VK_RETURN}); }}},
                      10000, [] { PressKeys({VK_ESCAPE}); });
    const RecordingResult result = RunRecording(kPlace, settings, sink);
    ASSERT_EQ(RecordingEnd::kStopped, result.end) << "the Enter that closes the list does not stop";
    EXPECT_EQ(5, settings.m_nRecordFramesPerSecond);
    ASSERT_GT(framesBefore, 2u);
    ASSERT_GT(sink.delays.size(), framesBefore + 5);
    EXPECT_LE(*std::max_element(sink.delays.begin(), sink.delays.begin() + framesBefore - 1), 6);
    // Between the list's closing and the end, a frame every fifth of a second.
    for (size_t i = sink.delays.size() - 4; i + 1 < sink.delays.size(); ++i)
        EXPECT_NEAR(20, sink.delays[i], 2) << i;
}

// Recorded time up, the recording ends by itself, finished, its delays filling that time.
TEST(RecordingSession, TheTimeLimitEndsTheRecordingFinished)
{
    CFlipbookWindow window(kPlace, 30);
    ASSERT_TRUE(window.Shown());
    window.Start(100);
    CMemorySink sink(kPixels);
    CSettings settings;
    settings.m_nRecordFramesPerSecond = 10;
    CTimedSteps cancelLate({}, 10000, [] { PressKeys({VK_ESCAPE}); });
    const RecordingResult result = RunRecording(kPlace, settings, sink, 1500);
    ASSERT_EQ(RecordingEnd::kTimeLimit, result.end);
    EXPECT_TRUE(sink.finished);
    EXPECT_EQ(1500u, result.durationMs);
    EXPECT_NEAR(150, sink.DelaySumCs(), 10) << "within a period at 10 frames a second";
}

// A sink that takes no more ends the recording: finished up to its last frame when it is
// full, dropped with its reason when it failed.
TEST(RecordingSession, ASinkThatRefusesAFrameEndsTheRecording)
{
    CFlipbookWindow window(kPlace, 100);
    ASSERT_TRUE(window.Shown());
    window.Start(60);
    for (DWORD refusal : {DWORD(0), DWORD(ERROR_DISK_FULL)}) {
        SCOPED_TRACE(refusal);
        CMemorySink sink(kPixels, 4, refusal);
        CSettings settings;
        CTimedSteps cancelLate({}, 10000, [] { PressKeys({VK_ESCAPE}); });
        const RecordingResult result = RunRecording(kPlace, settings, sink);
        EXPECT_EQ(refusal ? RecordingEnd::kFailed : RecordingEnd::kSizeLimit, result.end);
        EXPECT_EQ(refusal, result.error);
        EXPECT_EQ(4, result.frames);
        EXPECT_EQ(refusal == 0, sink.finished);
        if (!refusal) {
            EXPECT_NEAR(result.durationMs / 10.0, sink.DelaySumCs(), 1);
        }
    }
}

// A quit request drops the recording and is passed on to the program's own loop.
TEST(RecordingSession, AQuitRequestCancelsAndIsPassedOn)
{
    CMemorySink sink(kPixels);
    CSettings settings;
    CTimedSteps quit({{[] { return Bar() != nullptr; }, [] { PostQuitMessage(7); }}}, 10000,
                     [] { PressKeys({VK_ESCAPE}); });
    const RecordingResult result = RunRecording(kPlace, settings, sink);
    EXPECT_EQ(RecordingEnd::kCancelled, result.end);
    EXPECT_FALSE(sink.finished);
    MSG passedOn{};
    EXPECT_TRUE(PeekMessageA(&passedOn, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, passedOn.wParam);
}
