// Every trigger through the real frame and the real capture engine: what a user gets
// is a new document with its tab, and with auto-save a new file.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Gbk.h"
#include "capture/CaptureEngine.h"
#include "capture/CaptureNames.h"
#include "document/ImageFrame.h"
#include "gui/FrameFixture.h"
#include "gui/SnapcoreCaptureDriver.h"
#include "gui/SnapcoreScreenKit.h"
#include "res/resource.h"
#include "settings/Settings.h"

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// A folder of its own under the temporary folder, removed with what it holds.
class CScratchFolder {
public:
    CScratchFolder()
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        m_path = std::string(temp) + "lumigrab-capture-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~CScratchFolder()
    {
        for (const std::string& name : Files())
            DeleteFileA((m_path + "\\" + name).c_str());
        RemoveDirectoryA(m_path.c_str());
    }
    const std::string& Path() const { return m_path; }
    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((m_path + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }

private:
    std::string m_path;
};

// Counts the times the frame is hidden, by watching the messages it receives.
class CHideCounter {
public:
    explicit CHideCounter(HWND frame)
    {
        s_frame = frame;
        s_hides = 0;
        m_hook = SetWindowsHookExA(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
    }
    ~CHideCounter() { UnhookWindowsHookEx(m_hook); }
    int Hides() const { return s_hides; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->hwnd == s_frame && message->message == WM_SHOWWINDOW && !message->wParam)
            ++s_hides;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static HWND s_frame;
    static int s_hides;
    HHOOK m_hook;
};
HWND CHideCounter::s_frame = nullptr;
int CHideCounter::s_hides = 0;

class CaptureWorkflow : public FrameFixture {
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        ASSERT_TRUE(g_captureEngine.Load());
        m_saved = g_settings;
        g_settings.SetDefaults();
        g_settings.m_nCaptureDelay = 50;
        g_nCaptureCount = 0;
    }
    void TearDown() override
    {
        g_captureEngine.Unload();
        g_settings = m_saved;
        g_settings.m_bModified = 0;
        FrameFixture::TearDown();
    }

    void Command(UINT id) { SendMessageA(*m_frame, WM_COMMAND, id, 0); }

    CImageView& ActiveView() const
    {
        CImageFrame* document = nullptr;
        m_frame->FindTab(m_frame->ActiveDocument(), &document);
        return document->View();
    }

    CSettings m_saved;
};

TEST_F(CaptureWorkflow, FullScreenCapturesBecomeNumberedUnsavedDocumentsWhileTheFrameStepsAside)
{
    CHideCounter hides(*m_frame);
    for (int i = 0; i < 3; ++i)
        Command(ID_CAPTURE_FULLSCREEN);

    ASSERT_EQ(TabCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(TabText(i), ToGbk(("快照-" + std::to_string(i + 1) + "*").c_str()));
    EXPECT_EQ(g_nCaptureCount, 3);
    EXPECT_EQ(hides.Hides(), 3);
    EXPECT_TRUE(IsWindowVisible(*m_frame)) << "shown again after the capture";
    EXPECT_EQ(ChildRect(m_frame->MdiClient()).bottom, ChildRect(m_frame->StatusBar()).top)
        << "laid out around the bars while it was hidden";
    EXPECT_TRUE(ActiveView().IsModified());
    const RECT screen = VirtualScreen();
    EXPECT_EQ(ActiveView().ContentSize().cx, screen.right - screen.left);

    // Hidden in the tray, the full-screen hotkey brings a new document and the frame.
    SendMessageA(*m_frame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_FALSE(IsWindowVisible(*m_frame));
    SendMessageA(*m_frame, WM_HOTKEY, CSettings::kFullScreenHotkeyId, 0);
    EXPECT_EQ(TabCount(), 4);
    EXPECT_TRUE(IsWindowVisible(*m_frame));
    EXPECT_FALSE(IsIconic(*m_frame));
}

TEST_F(CaptureWorkflow, ModeHotkeyCapturesTheWindowUnderThePointer)
{
    const CPatternWindow window;
    const POINT centre{(kPatternPlace.left + kPatternPlace.right) / 2, (kPatternPlace.top + kPatternPlace.bottom) / 2};
    CCaptureDriver driver{Input::MoveTo(centre), Input::Key(VK_RETURN)};
    SendMessageA(*m_frame, WM_HOTKEY, CSettings::kModalHotkeyId, 0);
    EXPECT_TRUE(driver.Finish());
    ASSERT_EQ(TabCount(), 1);
    EXPECT_EQ(ActiveView().ContentSize().cx, kPatternPlace.right - kPatternPlace.left);
}

// Cancelled: nothing counted, no document, and the frame stays out of the way. A
// trigger arriving meanwhile (the engine's overlay dispatches messages) is ignored.
TEST_F(CaptureWorkflow, CancelledCaptureLeavesNoTraceAndIgnoresTriggersMeanwhile)
{
    CCaptureDriver driver{Do([this] {
                              PostMessageA(*m_frame, WM_HOTKEY, CSettings::kFullScreenHotkeyId, 0);
                              PostMessageA(*m_frame, WM_COMMAND, ID_CAPTURE_FULLSCREEN, 0);
                          }),
                          WaitUntil([] {
                              MSG msg;
                              return !PeekMessageA(&msg, nullptr, WM_HOTKEY, WM_HOTKEY, PM_NOREMOVE);
                          }),
                          Input::Key(VK_ESCAPE)};
    Command(ID_CAPTURE_REGION);
    EXPECT_TRUE(driver.Finish());
    PumpMessages(100);
    EXPECT_EQ(TabCount(), 0);
    EXPECT_EQ(g_nCaptureCount, 0);
    EXPECT_FALSE(IsWindowVisible(*m_frame));
}

TEST_F(CaptureWorkflow, WithoutHidingThereIsNoPause)
{
    g_settings.m_bHideMainWindow = 0;
    g_settings.m_nCaptureDelay = 20000;
    CHideCounter hides(*m_frame);
    const DWORD start = GetTickCount();
    Command(ID_CAPTURE_FULLSCREEN);
    // A pause would have slept the whole delay; this bounds the pause, not the speed.
    EXPECT_LT(GetTickCount() - start, 20000u);
    EXPECT_EQ(hides.Hides(), 0);
    EXPECT_EQ(TabCount(), 1);
}

TEST_F(CaptureWorkflow, AutoSaveWritesANewFileNamedByDateAndTimeAndNamesTheDocumentByIt)
{
    CScratchFolder folder;
    g_settings.m_bAutoSave = 1;
    const std::string prefix = ToGbk("快照-");
    for (const std::string& given : {folder.Path(), folder.Path() + "\\"}) {
        g_settings.m_strSaveFolder = given;
        Command(ID_CAPTURE_FULLSCREEN);
        const std::string path = ActiveView().Path();
        EXPECT_EQ(path.rfind(folder.Path() + "\\" + prefix, 0), 0u) << path;
        EXPECT_EQ(path.substr(path.size() - 4), ".jpg");
        EXPECT_EQ(path.find("\\\\"), std::string::npos) << path;
        EXPECT_FALSE(ActiveView().IsModified());
        EXPECT_EQ(TabText(TabCount() - 1), path.substr(folder.Path().size() + 1));
        EXPECT_EQ(ReadFile(path).substr(0, 2), "\xFF\xD8") << "a JPEG file";
    }
    EXPECT_EQ(folder.Files().size(), 2u) << "two captures, two files, whatever the second";
}

// The name repeats within a second: files already there keep their bytes and the
// capture goes to the next free number.
TEST_F(CaptureWorkflow, AutoSaveNeverWritesOverAnExistingFile)
{
    CScratchFolder folder;
    g_settings.m_bAutoSave = 1;
    g_settings.m_strSaveFolder = folder.Path();
    SYSTEMTIME now;
    GetSystemTime(&now);
    FILETIME time;
    SystemTimeToFileTime(&now, &time);
    std::vector<std::string> taken;
    for (int second = 0; second < 10; ++second) {
        ULARGE_INTEGER ticks{{time.dwLowDateTime, time.dwHighDateTime}};
        ticks.QuadPart += second * 10000000ULL;
        FILETIME later{ticks.LowPart, ticks.HighPart};
        SYSTEMTIME at;
        FileTimeToSystemTime(&later, &at);
        for (int copy : {1, 2}) {
            CaptureName path;
            ASSERT_TRUE(MakeAutoSavePath(at, copy, path));
            std::ofstream(path, std::ios::binary) << "earlier capture";
            taken.push_back(path);
        }
    }
    Command(ID_CAPTURE_FULLSCREEN);
    const std::string path = ActiveView().Path();
    EXPECT_EQ(path.substr(path.size() - 6), "-3.jpg") << path;
    EXPECT_FALSE(ActiveView().IsModified());
    for (const std::string& earlier : taken)
        EXPECT_EQ(ReadFile(earlier), "earlier capture") << earlier;
}

TEST_F(CaptureWorkflow, FailedOrImpossibleAutoSaveFallsBackToTheCounterName)
{
    g_settings.m_bAutoSave = 1;
    g_settings.m_strSaveFolder = "C:\\lumigrab-no-such-folder";
    Command(ID_CAPTURE_FULLSCREEN);
    EXPECT_EQ(TabText(0), ToGbk("快照-1*"));
    EXPECT_TRUE(ActiveView().IsModified());

    // An empty folder (a damaged settings file) skips saving; nothing lands in the
    // current folder.
    CScratchFolder current;
    char before[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, before);
    SetCurrentDirectoryA(current.Path().c_str());
    g_settings.m_strSaveFolder.clear();
    Command(ID_CAPTURE_FULLSCREEN);
    SetCurrentDirectoryA(before);
    EXPECT_EQ(TabText(1), ToGbk("快照-2*"));
    EXPECT_TRUE(current.Files().empty());
}

}  // namespace
