// The window that plays a recording: what it shows and says, and its save, copy and discard
// as a user clicks them, a full disk included.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "DialogAnswerer.h"
#include "Gbk.h"
#include "KeyInput.h"
#include "MessagePump.h"
#include "PixelReader.h"
#include "RealClick.h"
#include "TempFolder.h"
#include "ThreadWindows.h"
#include "document/GifPlaybackWindow.h"
#include "gui/FileDialogInput.h"
#include "record/GifEncoder.h"
#include "res/resource.h"
#include "util/SystemReason.h"

namespace {

const std::vector<DWORD> kColours{0xFF0000, 0x00FF00, 0x0000FF};
constexpr int kWidth = 120, kHeight = 90;

// A recording of three frames, each shown for a tenth of a second: a colour each in the
// middle, and speckles at the left that make the file a few thousand bytes.
void WriteRecording(const std::string& path)
{
    CGifEncoder encoder(kWidth, kHeight);
    ASSERT_TRUE(encoder.Start(path.c_str()));
    std::vector<uint32_t> pixels(kWidth * kHeight);
    uint32_t speckle = 1;
    int delayCs = 0;
    for (DWORD colour : kColours) {
        for (size_t i = 0; i < pixels.size(); ++i) {
            speckle = speckle * 1103515245 + 12345;
            pixels[i] = i % kWidth < kWidth / 4 ? speckle >> 8 & 0x808080 : colour;
        }
        ASSERT_TRUE(encoder.AddFrame(pixels.data(), delayCs));
        delayCs = 10;
    }
    ASSERT_TRUE(encoder.Finish(10));
}

HWND PlaybackWindow()
{
    return FindThreadWindow([](HWND window) { return WindowClass(window) == "LumigrabGifPlayback"; });
}

// How many rows of the window's middle column show colour (0x00RRGGBB): the picture's
// height there while it shows that frame.
int ShownRows(HWND window, DWORD colour)
{
    RECT client{};
    GetClientRect(window, &client);
    POINT top{client.right / 2, 0}, bottom{client.right / 2 + 1, client.bottom};
    ClientToScreen(window, &top);
    ClientToScreen(window, &bottom);
    const std::vector<DWORD> column = ScreenPixels(RECT{top.x, top.y, bottom.x, bottom.y});
    return static_cast<int>(std::count(column.begin(), column.end(), colour));
}

bool Shows(HWND window, DWORD colour)
{
    return ShownRows(window, colour) > 0;
}

std::string LoadedText(UINT id)
{
    char text[512] = "";
    LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return text;
}

// The line under the info line, which says what was done.
std::string StatusOf(HWND window)
{
    return WindowText(GetWindow(GetDlgItem(window, IDC_PLAYBACK_INFO), GW_HWNDNEXT));
}

void Click(HWND window, UINT button)
{
    ClickWindow(GetDlgItem(window, button));
}

// The file a file drop on the clipboard names, or what is there instead.
std::string DroppedFile()
{
    if (!OpenClipboard(nullptr))
        return "(clipboard busy)";
    std::string name = "(no file drop)";
    const auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
    if (drop && DragQueryFileA(drop, ~0u, nullptr, 0) == 1) {
        char path[MAX_PATH] = "";
        DragQueryFileA(drop, 0, path, MAX_PATH);
        name = path;
    }
    CloseClipboard();
    return name;
}

void PutTextOnClipboard()
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 2);
    static_cast<char*>(GlobalLock(block))[0] = 'x';
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Saves through the Save As dialog to target; failure receives the message box shown, if any,
// and an existing target is replaced when the dialog asks.
void SaveTo(HWND window, const std::string& target, std::string* proposedName, std::string* failure)
{
    const bool exists = GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES;
    std::vector<CDialogAnswerer::Step> steps{[&](HWND dialog) {
        HandleInput(dialog);
        if (proposedName)
            *proposedName = NameBox(dialog);
        TypeName(target);
        PressEnterOrCancel(dialog);
    }};
    if (exists)
        steps.push_back(CDialogAnswerer::Press(IDYES));
    if (failure)
        steps.push_back(CDialogAnswerer::Press(IDOK, failure));
    CDialogAnswerer answerer(steps);
    Click(window, IDC_PLAYBACK_SAVE);
    EXPECT_TRUE(PumpUntil([&] { return answerer.StepsTaken() == steps.size() && GetActiveWindow() == window; },
                          15000, window));
}

class GifPlayback : public ::testing::Test {
protected:
    SRecordingFiles Recording(const std::string& name)
    {
        SRecordingFiles files{m_folder.PathOf(name), m_folder.PathOf(ToGbk("动图 1.gif")), ""};
        WriteRecording(files.temporary);
        return files;
    }

    HWND Open(const SRecordingFiles& files)
    {
        EXPECT_TRUE(ShowGifPlayback(nullptr, files, RECT{40, 40, 200, 160}));
        const HWND window = PlaybackWindow();
        EXPECT_TRUE(window && PumpUntil([&] { return Shows(window, kColours[0]) || Shows(window, kColours[1]); },
                                        5000, window));
        return window;
    }

    void TearDown() override
    {
        while (const HWND window = PlaybackWindow())
            DestroyWindow(window);
    }

    CTempFolder m_folder;
};

}  // namespace

TEST_F(GifPlayback, PlaysInALoopBesideTheRecordedPlaceAndSaysWhatItHolds)
{
    const SRecordingFiles files = Recording("played.gif");
    const HWND window = Open(files);
    ASSERT_TRUE(window);
    EXPECT_EQ(ToGbk("动图"), WindowText(window));
    RECT place{};
    GetWindowRect(window, &place);
    EXPECT_GE(place.left, 200) << "not over the recorded place";
    for (int round = 0; round < 2; ++round)
        for (DWORD colour : kColours)
            EXPECT_TRUE(PumpUntil([&] { return Shows(window, colour); }, 3000, window)) << std::hex << colour;
    // Never enlarged, however large the window.
    SetWindowPos(window, nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(PumpUntil([&] { return ShownRows(window, kColours[2]) == kHeight; }, 3000, window));

    const size_t size = ReadFileBytes(files.temporary).size();
    ASSERT_TRUE(size >= 1000 && size < 1000000) << size;
    const std::string bytes = std::to_string(size / 1000) + "," + std::to_string(size % 1000 + 1000).substr(1);
    EXPECT_EQ(ToGbk(" 字节，3 帧，0.3 秒").insert(0, bytes), WindowText(GetDlgItem(window, IDC_PLAYBACK_INFO)));
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }, 5000, window));
    EXPECT_FALSE(Exists(files.temporary)) << "the recording goes with its window";
}

TEST_F(GifPlayback, SavesACopyThatLaterCopiesName)
{
    const SRecordingFiles files = Recording("saved.gif");
    const HWND window = Open(files);
    ASSERT_TRUE(window);
    const std::string target = m_folder.PathOf("kept.gif");
    std::string proposed;
    SaveTo(window, target, &proposed, nullptr);
    EXPECT_EQ(ToGbk("动图 1.gif"), proposed);
    EXPECT_TRUE(ReadFileBytes(files.temporary) == ReadFileBytes(target)) << "a copy of the recording";
    EXPECT_NE(std::string::npos, StatusOf(window).find("kept.gif"));
    EXPECT_EQ(GetDlgItem(window, IDC_PLAYBACK_SAVE), GetFocus()) << "back where it was before the dialog";

    Click(window, IDC_PLAYBACK_COPY);
    EXPECT_TRUE(PumpUntil([&] { return StatusOf(window) == LoadedText(IDS_PLAYBACK_COPIED); }, 5000, window));
    EXPECT_EQ(target, DroppedFile());
    Click(window, IDC_PLAYBACK_DISCARD);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }, 5000, window));
    EXPECT_FALSE(Exists(files.temporary)) << "the clipboard names the saved copy, not the recording";
    EXPECT_TRUE(Exists(target));

    // Saved under the recording's own name, it stays when the window goes.
    const SRecordingFiles again = Recording("again.gif");
    const HWND second = Open(again);
    ASSERT_TRUE(second);
    SaveTo(second, again.temporary, nullptr, nullptr);
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(second); }, 5000, second));
    EXPECT_TRUE(Exists(again.temporary));
}

TEST_F(GifPlayback, DiscardKeepsTheRecordingOnlyWhileTheClipboardHoldsIt)
{
    struct Case {
        const char* name;
        bool autoSaved, clipboardChanges, kept;
    };
    for (const Case& c : {Case{"held.gif", false, false, true}, Case{"replaced.gif", false, true, false},
                          Case{"autosaved.gif", true, false, false}}) {
        SCOPED_TRACE(c.name);
        SRecordingFiles files = Recording(c.name);
        if (c.autoSaved) {
            files.autoSaved = m_folder.PathOf("auto.gif");
            WriteFileBytes(files.autoSaved, ReadFileBytes(files.temporary));
        }
        const HWND window = Open(files);
        ASSERT_TRUE(window);
        Click(window, IDC_PLAYBACK_COPY);
        EXPECT_TRUE(PumpUntil([&] { return StatusOf(window) == LoadedText(IDS_PLAYBACK_COPIED); }, 5000, window));
        EXPECT_EQ(c.autoSaved ? files.autoSaved : files.temporary, DroppedFile());
        if (c.clipboardChanges)
            PutTextOnClipboard();
        Click(window, IDC_PLAYBACK_DISCARD);
        EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }, 5000, window));
        EXPECT_EQ(c.kept, Exists(files.temporary));
        EXPECT_TRUE(files.autoSaved.empty() || Exists(files.autoSaved));
    }
}

TEST_F(GifPlayback, ACopyTheClipboardRefusesIsSaidSo)
{
    const SRecordingFiles files = Recording("refused.gif");
    const HWND window = Open(files);
    ASSERT_TRUE(window);
    // Another window holds the clipboard open.
    const HWND holder = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(OpenClipboard(holder));
    std::string text;
    CDialogAnswerer answerer({CDialogAnswerer::Press(IDOK, &text)});
    Click(window, IDC_PLAYBACK_COPY);
    EXPECT_TRUE(PumpUntil([&] { return answerer.StepsTaken() == 1; }, 5000, window));
    CloseClipboard();
    DestroyWindow(holder);
    const std::string prefix = ToGbk("无法复制动图：");
    EXPECT_EQ(0u, text.find(prefix)) << text;
    EXPECT_GT(text.size(), prefix.size()) << "with the reason";
    EXPECT_EQ("", StatusOf(window));
}

TEST_F(GifPlayback, ARecordingThatCannotBePlayedIsSaidSoAndRemoved)
{
    const SRecordingFiles files{m_folder.PathOf("damaged.gif"), m_folder.PathOf("x.gif"), ""};
    // No GIF at all, and a GIF of a 2 x 2 screen that ends before its first frame.
    for (const std::string& bytes : {std::string("no picture at all"), std::string("GIF89a\2\0\2\0\0\0\0;", 14)}) {
        WriteFileBytes(files.temporary, bytes);
        std::string text;
        CDialogAnswerer answerer({CDialogAnswerer::Press(IDOK, &text)});
        EXPECT_FALSE(ShowGifPlayback(nullptr, files, RECT{40, 40, 200, 160}));
        EXPECT_EQ(1u, answerer.StepsTaken());
        EXPECT_NE(std::string::npos, text.find(SystemReason(ERROR_INVALID_DATA))) << text;
        EXPECT_FALSE(PlaybackWindow());
        EXPECT_FALSE(Exists(files.temporary));
    }
}

// Run by the ctest entry playback_write_limit under a file size limit (ulimit -f), with a
// recording larger than the limit made before it applied, named in LUMIGRAB_LARGE_RECORDING.
TEST(GifPlaybackWriteLimit, ASaveThatRunsOutOfSpaceSaysWhyAndKeepsPlaying)
{
    const char* large = std::getenv("LUMIGRAB_LARGE_RECORDING");
    if (!large)
        GTEST_SKIP() << "needs the recording and the file size limit of the playback_write_limit test";
    std::string temporary = std::string("Z:") + large;
    for (char& c : temporary)
        c = c == '/' ? '\\' : c;
    CTempFolder folder;
    const SRecordingFiles files{temporary, folder.PathOf("x.gif"), ""};
    ASSERT_TRUE(ShowGifPlayback(nullptr, files, RECT{40, 40, 200, 160}));
    const HWND window = PlaybackWindow();
    ASSERT_TRUE(window);
    // The recording is larger than the screen: it shows smaller.
    RECT place{}, work{};
    GetWindowRect(window, &place);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(place.bottom - place.top, work.bottom - work.top);

    const std::string target = folder.PathOf("full.gif");
    std::string failure;
    SaveTo(window, target, nullptr, &failure);
    EXPECT_EQ(0u, failure.find(ToGbk("无法保存“") + target + ToGbk("”。"))) << failure;
    EXPECT_GT(failure.size(), (ToGbk("无法保存“") + target + ToGbk("”。\n\n")).size()) << "with the reason";
    EXPECT_TRUE(folder.FileNames().empty()) << "nothing left of the failed save";

    // Still there with the recording, still playing.
    EXPECT_TRUE(IsWindow(window));
    RECT client{};
    GetClientRect(window, &client);
    POINT middle{client.right / 2, client.bottom / 4};
    ClientToScreen(window, &middle);
    const RECT probe{middle.x - 8, middle.y - 8, middle.x + 8, middle.y + 8};
    const std::vector<DWORD> before = ScreenPixels(probe);
    EXPECT_TRUE(PumpUntil([&] { return ScreenPixels(probe) != before; }, 5000, window));
    DestroyWindow(window);
}
