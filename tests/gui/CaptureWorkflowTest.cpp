// Every trigger through the real frame and the real capture engine: what a user gets
// is a new document with its tab, and with auto-save a new file.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <thread>
#include <vector>

#include "Gbk.h"
#include "KeyInput.h"
#include "LiveGdiObjects.h"
#include "LiveUserObjects.h"
#include "RealClick.h"
#include "capture/CaptureEngine.h"
#include "capture/CaptureNames.h"
#include "document/ImageFrame.h"
#include "DialogAnswerer.h"
#include "gui/FrameFixture.h"
#include "gui/OptionsSheetDriver.h"
#include "gui/SnapcoreCaptureDriver.h"
#include "gui/SnapcoreScreenKit.h"
#include "res/resource.h"
#include "settings/Settings.h"
#include "TempFolder.h"
#include "util/AppMessageBox.h"
#include "util/FastString.h"
#include "util/ModulePath.h"

namespace {

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

// A hotkey of this thread's own, standing for another program that holds the keys.
constexpr int kOtherProgramsId = 0x7002;

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

    // Runs the frame's own loop until done() holds, for a few seconds at most.
    bool PumpFrameUntil(const std::function<bool()>& done)
    {
        for (int round = 0; round < 60 && !done(); ++round)
            Pump();
        return done();
    }

    CImageView& ActiveView() const
    {
        CImageFrame* document = nullptr;
        m_frame->Documents().FindTab(m_frame->ActiveDocument(), &document);
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
    EXPECT_TRUE(ActiveView().Document().IsModified());
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
    PumpPending();
    EXPECT_EQ(TabCount(), 0);
    EXPECT_EQ(g_nCaptureCount, 0);
    EXPECT_FALSE(IsWindowVisible(*m_frame));
}

TEST_F(CaptureWorkflow, WithoutHidingThereIsNoPause)
{
    g_settings.m_bHideMainWindow = 0;
    g_settings.m_nCaptureDelay = 3000;  // under the longest pause: a pause would take all of it
    CHideCounter hides(*m_frame);
    const DWORD start = GetTickCount();
    Command(ID_CAPTURE_FULLSCREEN);
    // This bounds the pause, not the speed.
    EXPECT_LT(GetTickCount() - start, 3000u);
    EXPECT_EQ(hides.Hides(), 0);
    EXPECT_EQ(TabCount(), 1);
}

// A delay typed or read far beyond reason must not leave the frame hidden for good.
TEST_F(CaptureWorkflow, ThePauseEndsAtTheLongestPauseWhateverTheStoredDelay)
{
    m_frame->CaptureWorkflow().SetLongestPause(300);
    g_settings.m_nCaptureDelay = 60000;
    const DWORD start = GetTickCount();
    Command(ID_CAPTURE_FULLSCREEN);
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 300u) << "the pause itself stays";
    EXPECT_LT(elapsed, 30000u) << "the stored delay was slept";
    EXPECT_EQ(TabCount(), 1);
    EXPECT_EQ(g_settings.m_nCaptureDelay, 60000u) << "the stored value is kept";
}

// A later start waits only so long for the running copy's answer; the pause must not
// leave it without one.
TEST_F(CaptureWorkflow, TheFrameAnswersDuringThePause)
{
    g_settings.m_nCaptureDelay = 3000;
    const HWND frame = *m_frame;
    bool answered = false;
    std::thread laterStart([frame, &answered] {
        for (int wait = 0; wait < 200 && IsWindowVisible(frame); ++wait)
            Sleep(10);
        DWORD_PTR result = 0;
        answered = SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_BLOCK, 1000, &result) != 0;
    });
    Command(ID_CAPTURE_FULLSCREEN);
    laterStart.join();
    EXPECT_TRUE(answered);
    EXPECT_EQ(TabCount(), 1);
}

// The program's countdown window, while it is there.
HWND CountdownWindow()
{
    return FindWindowA("LumigrabCountdown", nullptr);
}

// A taskbar that the shell functions find before the real one: it takes every icon and
// keeps what it was sent, where the text of a balloon can be looked for.
class CRecordingTaskbar {
public:
    CRecordingTaskbar()
    {
        s_received.clear();
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "Shell_TrayWnd";
        RegisterClassA(&wc);
        m_hWnd = CreateWindowExA(WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc));
    }
    ~CRecordingTaskbar() { DestroyWindow(m_hWnd); }
    CRecordingTaskbar(const CRecordingTaskbar&) = delete;
    CRecordingTaskbar& operator=(const CRecordingTaskbar&) = delete;

    // Whether the text (in the code page) went to the taskbar, as the shell passes it on.
    static bool Received(const std::string& text)
    {
        std::wstring wide(text.size() + 1, L'\0');
        wide.resize(MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &wide[0],
                                        static_cast<int>(wide.size())));
        const std::string bytes(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
        return s_received.find(bytes) != std::string::npos;
    }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg != WM_COPYDATA)
            return DefWindowProcA(window, msg, wParam, lParam);
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        s_received.append(static_cast<const char*>(data->lpData), data->cbData);
        return TRUE;
    }
    static std::string s_received;
    HWND m_hWnd;
};
std::string CRecordingTaskbar::s_received;

std::string LoadText(UINT id);

// At zero the countdown meets the rule a new request meets: a modal window open then
// would be hidden with the frame and taken into the picture, so nothing is captured,
// and the tray icon says why.
TEST_F(CaptureWorkflow, ACountdownEndingUnderAModalWindowCapturesNothingAndSaysSo)
{
    const CRecordingTaskbar taskbar;
    SendMessageA(*m_frame, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    g_settings.m_nCountdownSeconds = 1;
    Command(ID_CAPTURE_FULLSCREEN);
    ASSERT_NE(nullptr, CountdownWindow());
    CDialogAnswerer answerer({[](HWND box) {
        PumpUntil([] { return CountdownWindow() == nullptr; }, 5000);
        CDialogAnswerer::Press(IDOK)(box);
    }});
    AppMessageBox(*m_frame, IDS_COPY_FAILED, MB_OK);
    Pump();
    EXPECT_EQ(TabCount(), 0);
    EXPECT_EQ(g_nCaptureCount, 0);
    EXPECT_TRUE(CRecordingTaskbar::Received(LoadText(IDS_COUNTDOWN_REFUSED)));
    EXPECT_FALSE(m_frame->CaptureWorkflow().IsRunning()) << "the next request may capture";
}

// A capture follows the options as they were when it was asked for: what changes while
// it counts down is for the next one.
TEST_F(CaptureWorkflow, OptionsChangedDuringTheCountdownWaitForTheNextCapture)
{
    CTempFolder asked, changed;
    g_settings.m_bAutoSave = 1;
    g_settings.m_nSaveType = 2;
    g_settings.m_strSaveFolder = asked.Path();
    g_settings.m_nCountdownSeconds = 1;
    Command(ID_CAPTURE_FULLSCREEN);
    ASSERT_NE(nullptr, CountdownWindow());
    g_settings.m_nSaveType = 1;
    g_settings.m_strSaveFolder = changed.Path();
    g_settings.m_strNamePrefix = "changed-";
    ASSERT_TRUE(PumpUntil([&] { return TabCount() == 1; }, 5000));

    const std::string path = ActiveView().Document().Path();
    EXPECT_EQ(path.rfind(asked.Path() + "\\" + ToGbk("快照-"), 0), 0u) << path;
    EXPECT_EQ(ReadFileBytes(path).substr(0, 4), "\x89PNG");
}

// Closing asks about the unsaved images with no countdown left to go off meanwhile.
TEST_F(CaptureWorkflow, ClosingEndsARunningCountdownBeforeItAsks)
{
    Command(ID_CAPTURE_FULLSCREEN);
    g_settings.m_nCountdownSeconds = 1;
    Command(ID_CAPTURE_FULLSCREEN);
    ASSERT_NE(nullptr, CountdownWindow());
    bool countingWhileAsked = true;
    CDialogAnswerer answerer({[&](HWND box) {
        countingWhileAsked = CountdownWindow() != nullptr;
        CDialogAnswerer::Press(IDCANCEL)(box);
    }});
    SendMessageA(*m_frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(answerer.StepsTaken(), 1u);
    EXPECT_FALSE(countingWhileAsked);
    EXPECT_EQ(TabCount(), 1);
    EXPECT_EQ(g_nCaptureCount, 1);
}

TEST_F(CaptureWorkflow, TheFrameComesBackWithTheKeyboard)
{
    Command(ID_CAPTURE_FULLSCREEN);
    Pump();
    CDialogAnswerer answerer({CDialogAnswerer::Press(IDCANCEL)});
    PressKeys({VK_CONTROL, 'S'});
    EXPECT_TRUE(PumpFrameUntil([&] { return answerer.StepsTaken() == 1; })) << "Ctrl+S opened no Save As dialog";
}

TEST_F(CaptureWorkflow, WithoutShowAfterCaptureTheFrameStaysInTheTray)
{
    g_settings.m_bShowAfterCapture = 0;
    Command(ID_CAPTURE_FULLSCREEN);
    Pump();
    EXPECT_EQ(TabCount(), 1);
    EXPECT_FALSE(IsWindowVisible(*m_frame));
}

TEST_F(CaptureWorkflow, WithoutTheEngineACaptureSaysSoAndLeavesTheFrameInPlace)
{
    g_captureEngine.Unload();
    CHideCounter hides(*m_frame);
    std::string text;
    CDialogAnswerer answerer({CDialogAnswerer::Press(IDOK, &text)});
    Command(ID_CAPTURE_REGION);
    Vorn::CFastString<128> expected;
    expected.LoadString(IDS_ENGINE_MISSING);
    EXPECT_EQ(text, expected.GetString());
    EXPECT_EQ(hides.Hides(), 0);
    EXPECT_TRUE(IsWindowVisible(*m_frame));
}

// A held hotkey, or a user pressing again while the frame is away, asks for one capture.
TEST_F(CaptureWorkflow, RequestsQueuedDuringACaptureAreDropped)
{
    g_settings.m_nCaptureDelay = 800;
    const HWND frame = *m_frame;
    std::thread impatientUser([frame] {
        for (int wait = 0; wait < 200 && IsWindowVisible(frame); ++wait)
            Sleep(10);
        for (int press = 0; press < 3; ++press)
            PressKeys({VK_CONTROL, VK_F8});
        PostMessageA(frame, WM_COMMAND, ID_CAPTURE_WINDOW, 0);
    });
    Command(ID_CAPTURE_FULLSCREEN);
    impatientUser.join();
    for (int round = 0; round < 20; ++round)
        Pump();
    EXPECT_EQ(TabCount(), 1);

    PressKeys({VK_CONTROL, VK_F8});
    EXPECT_TRUE(PumpFrameUntil([this] { return TabCount() == 2; })) << "a later press captures again";
}

// While a modal window of the program is open neither a hotkey nor a tray command
// captures; afterwards the hotkeys come back without a word, even where another
// program took one of them meanwhile.
TEST_F(CaptureWorkflow, WhileAMessageBoxIsOpenHotkeysAndTrayCommandsDoNothing)
{
    int tabsMeanwhile = -1;
    CDialogAnswerer answerer({[&](HWND box) {
                                  PressKeys({VK_CONTROL, VK_F8});
                                  SendMessageA(*m_frame, WM_COMMAND, ID_CAPTURE_FULLSCREEN, 0);
                                  RegisterHotKey(nullptr, kOtherProgramsId, 0, VK_F2);
                                  PumpPending();
                                  tabsMeanwhile = TabCount();
                                  CDialogAnswerer::Press(IDOK)(box);
                              },
                              [&](HWND box) {  // a refusal would be asked again and again
                                  UnregisterHotKey(nullptr, kOtherProgramsId);
                                  CDialogAnswerer::Press(IDOK)(box);
                              }});
    AppMessageBox(*m_frame, IDS_COPY_FAILED, MB_OK);
    for (int round = 0; round < 10; ++round)
        Pump();
    UnregisterHotKey(nullptr, kOtherProgramsId);
    EXPECT_EQ(tabsMeanwhile, 0);
    EXPECT_EQ(answerer.StepsTaken(), 1u) << "no message about the key another program took";

    PressKeys({VK_CONTROL, VK_F8});
    EXPECT_TRUE(PumpFrameUntil([this] { return TabCount() == 1; })) << "the hotkey is back";
}

// Assigning F2 in the Options sheet, where F2 is the mode hotkey: the key lands in the
// field and captures nothing. After OK the keys are the sheet's.
TEST_F(CaptureWorkflow, TheHotkeyFieldOfTheOptionsTakesTheHotkeyItself)
{
    g_settings.m_nModalMode = 0;  // a capture by mistake would end at once
    WORD shown = 0;
    COptionsSheetDriver driver;
    driver.Run([this] { Command(ID_VIEW_OPTIONS); },
               {[](HWND sheet) {
                    ShowPage(sheet, 2);
                    const HWND page = CurrentPage(sheet);
                    SendDlgItemMessageA(page, IDC_FULLSCREEN_HOTKEY, HKM_SETHOTKEY, MAKEWORD(VK_F11, 0), 0);
                    SendDlgItemMessageA(page, IDC_MODAL_HOTKEY, HKM_SETHOTKEY, MAKEWORD(VK_F5, 0), 0);
                    SetFocus(GetDlgItem(page, IDC_MODAL_HOTKEY));
                },
                [](HWND) { PressKeys({VK_F2}); },
                [&](HWND sheet) {
                    shown = LOWORD(SendDlgItemMessageA(CurrentPage(sheet), IDC_MODAL_HOTKEY, HKM_GETHOTKEY, 0, 0));
                    PressOk(sheet);
                }});
    char settingsFile[MAX_PATH];
    ASSERT_TRUE(MakeModuleFilePath("lumigrab.cfg", settingsFile));
    DeleteFileA(settingsFile);
    EXPECT_FALSE(driver.Hung());
    EXPECT_EQ(shown, MAKEWORD(VK_F2, 0));
    EXPECT_EQ(TabCount(), 0);
    EXPECT_TRUE(IsWindowVisible(*m_frame));

    PressKeys({VK_F11});
    EXPECT_TRUE(PumpFrameUntil([this] { return TabCount() == 1; })) << "the new full-screen key";
    PressKeys({VK_F2});
    EXPECT_TRUE(PumpFrameUntil([this] { return TabCount() == 2; })) << "the mode key, unchanged";
    EXPECT_TRUE(RegisterHotKey(nullptr, kOtherProgramsId, MOD_CONTROL, VK_F8)) << "the old full-screen key is free";
    UnregisterHotKey(nullptr, kOtherProgramsId);
}

TEST_F(CaptureWorkflow, AutoSaveWritesANewFileNamedByDateAndTimeAndNamesTheDocumentByIt)
{
    CTempFolder folder;
    g_settings.m_bAutoSave = 1;
    const std::string prefix = ToGbk("快照-");
    for (const std::string& given : {folder.Path(), folder.Path() + "\\"}) {
        g_settings.m_strSaveFolder = given;
        Command(ID_CAPTURE_FULLSCREEN);
        const std::string path = ActiveView().Document().Path();
        EXPECT_EQ(path.rfind(folder.Path() + "\\" + prefix, 0), 0u) << path;
        EXPECT_EQ(path.substr(path.size() - 4), ".jpg");
        EXPECT_EQ(path.find("\\\\"), std::string::npos) << path;
        EXPECT_FALSE(ActiveView().Document().IsModified());
        EXPECT_EQ(TabText(TabCount() - 1), path.substr(folder.Path().size() + 1));
        EXPECT_EQ(ReadFileBytes(path).substr(0, 2), "\xFF\xD8") << "a JPEG file";
    }
    EXPECT_EQ(folder.FileNames().size(), 2u) << "two captures, two files, whatever the second";
}

// The documents a capture covers are out of the drawing while the frame is away; they
// must come back, in the window list too, and a hundred of them must leave nothing behind.
TEST_F(CaptureWorkflow, AHundredCapturesOpenedAndClosedLeaveTheObjectCountsAsTheyWere)
{
    CTempFolder folder;
    g_settings.m_bAutoSave = 1;  // saved captures close without a question
    g_settings.m_nSaveType = 1;
    g_settings.m_strSaveFolder = folder.Path();
    g_settings.m_nCaptureDelay = 0;
    g_settings.m_bPlaySound = 0;
    auto openCaptures = [this](int count) {
        for (int i = 0; i < count; ++i)
            Command(ID_CAPTURE_FULLSCREEN);
        Pump();
    };
    auto closeAll = [this] {
        Command(ID_WINDOW_CLOSE_ALL);
        Pump();
    };
    // A first round makes what lives as long as the frame (the annotation bar, the
    // view's cache, the menu bar's document buttons ...).
    openCaptures(10);
    closeAll();
    const size_t gdiBefore = LiveGdiObjects(), userBefore = LiveUserObjects();

    openCaptures(100);
    ASSERT_EQ(TabCount(), 100);
    HMENU menu = m_frame->MenuBar().GetMenu();
    HMENU windowMenu = GetSubMenu(menu, GetMenuItemCount(menu) - 2);
    int listed = 0;
    for (int i = 0; i < GetMenuItemCount(windowMenu); ++i)
        listed += GetMenuItemID(windowMenu, i) >= 0xFF00 && GetMenuItemID(windowMenu, i) != static_cast<UINT>(-1);
    EXPECT_EQ(listed, 10) << "the first nine documents and the entry for the others";
    EXPECT_GT(LiveUserObjects(), userBefore + 100) << "each document counted";

    closeAll();
    ASSERT_EQ(TabCount(), 0);
    EXPECT_EQ(LiveGdiObjects(), gdiBefore);
    EXPECT_EQ(LiveUserObjects(), userBefore);
}

TEST_F(CaptureWorkflow, AutoSaveOfTypeTwoWritesPng)
{
    CTempFolder folder;
    g_settings.m_bAutoSave = 1;
    g_settings.m_nSaveType = 2;
    g_settings.m_strSaveFolder = folder.Path();
    Command(ID_CAPTURE_FULLSCREEN);
    const std::string path = ActiveView().Document().Path();
    EXPECT_EQ(path.substr(path.size() - 4), ".png");
    EXPECT_EQ(ReadFileBytes(path).substr(0, 4), "\x89PNG");
}

// The name repeats within a second: files already there keep their bytes and the
// capture goes to the next free number.
TEST_F(CaptureWorkflow, AutoSaveNeverWritesOverAnExistingFile)
{
    CTempFolder folder;
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
            WriteFileBytes(path, "earlier capture");
            taken.push_back(path);
        }
    }
    Command(ID_CAPTURE_FULLSCREEN);
    const std::string path = ActiveView().Document().Path();
    EXPECT_EQ(path.substr(path.size() - 6), "-3.jpg") << path;
    EXPECT_FALSE(ActiveView().Document().IsModified());
    for (const std::string& earlier : taken)
        EXPECT_EQ(ReadFileBytes(earlier), "earlier capture") << earlier;
}

TEST_F(CaptureWorkflow, FailedOrImpossibleAutoSaveFallsBackToTheCounterName)
{
    g_settings.m_bAutoSave = 1;
    g_settings.m_strSaveFolder = "C:\\lumigrab-no-such-folder";
    Command(ID_CAPTURE_FULLSCREEN);
    EXPECT_EQ(TabText(0), ToGbk("快照-1*"));
    EXPECT_TRUE(ActiveView().Document().IsModified());

    // An empty folder (a damaged settings file) skips saving; nothing lands in the
    // current folder.
    CTempFolder current;
    char before[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, before);
    SetCurrentDirectoryA(current.Path().c_str());
    g_settings.m_strSaveFolder.clear();
    Command(ID_CAPTURE_FULLSCREEN);
    SetCurrentDirectoryA(before);
    EXPECT_EQ(TabText(1), ToGbk("快照-2*"));
    EXPECT_TRUE(current.FileNames().empty());
}

// Every pixel of two captures, compared.
bool SamePixels(HBITMAP first, HBITMAP second)
{
    const CScreenImage a(first, POINT{0, 0}), b(second, POINT{0, 0});
    if (a.IsEmpty() || b.IsEmpty() || a.Size().cx != b.Size().cx || a.Size().cy != b.Size().cy)
        return false;
    for (int y = 0; y < a.Size().cy; ++y)
        for (int x = 0; x < a.Size().cx; ++x)
            if (a.At(x, y) != b.At(x, y))
                return false;
    return true;
}

// The clipboard's device-independent bitmap: its size and one pixel.
struct ClipboardPicture {
    SIZE size{};
    COLORREF centre = CLR_INVALID;
};

ClipboardPicture ReadClipboardPicture()
{
    ClipboardPicture picture;
    if (!OpenClipboard(nullptr))
        return picture;
    if (HGLOBAL block = GetClipboardData(CF_DIB)) {
        const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(block));
        picture.size = SIZE{header->biWidth, header->biHeight};
        const auto* bytes = reinterpret_cast<const BYTE*>(header + 1);
        const int stride = (header->biWidth * 3 + 3) & ~3;
        const int x = header->biWidth / 2, y = header->biHeight / 2;
        const BYTE* pixel = bytes + static_cast<size_t>(header->biHeight - 1 - y) * stride + x * 3;
        picture.centre = RGB(pixel[2], pixel[1], pixel[0]);
        GlobalUnlock(block);
    }
    CloseClipboard();
    return picture;
}

void EmptyTheClipboard()
{
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

// Another program holding the clipboard open, from a thread of its own, while it lives.
class CClipboardHolder {
public:
    CClipboardHolder()
    {
        m_thread = std::thread([this] {
            HWND owner = CreateWindowExA(0, "Static", nullptr, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
            m_bHeld = OpenClipboard(owner) != FALSE;
            SetEvent(m_opened.get());
            WaitForSingleObject(m_release.get(), 30000);
            if (m_bHeld)
                CloseClipboard();
            DestroyWindow(owner);
        });
        WaitForSingleObject(m_opened.get(), 10000);
    }
    ~CClipboardHolder()
    {
        SetEvent(m_release.get());
        m_thread.join();
    }
    bool Held() const { return m_bHeld; }

private:
    CKernelHandleOwner m_opened{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    CKernelHandleOwner m_release{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    bool m_bHeld = false;
    std::thread m_thread;
};

std::string LoadText(UINT id)
{
    Vorn::CFastString<256> text;
    text.LoadString(id);
    return text.GetString();
}

TEST_F(CaptureWorkflow, CopyAfterCapturePutsEachCaptureOnTheClipboardBesideItsDocument)
{
    g_settings.m_bCopyAfterCapture = 1;
    const CPatternWindow window;
    EmptyTheClipboard();
    CCaptureDriver driver{Input::Drag(POINT{kPatternPlace.left + 10, kPatternPlace.top + 10},
                                      POINT{kPatternPlace.left + 110, kPatternPlace.top + 70})};
    Command(ID_CAPTURE_REGION);
    EXPECT_TRUE(driver.Finish());
    ASSERT_EQ(TabCount(), 1);
    const ClipboardPicture picture = ReadClipboardPicture();
    EXPECT_EQ(picture.size.cx, 100);
    EXPECT_EQ(picture.size.cy, 60);
    EXPECT_EQ(picture.centre, PatternColourAt(POINT{kPatternPlace.left + 60, kPatternPlace.top + 40}));

    // Held by another program, the clipboard refuses: the message says so as Copy's
    // does, and the capture still opens.
    std::string text;
    {
        const CClipboardHolder holder;
        ASSERT_TRUE(holder.Held());
        CDialogAnswerer answerer({CDialogAnswerer::Press(IDOK, &text)});
        Command(ID_CAPTURE_FULLSCREEN);
    }
    EXPECT_EQ(text, LoadText(IDS_COPY_FAILED));
    EXPECT_EQ(TabCount(), 2);
}

// Saved and copied, the capture opens no document; whatever did not go where it was
// to go opens as a document as it always did.
TEST_F(CaptureWorkflow, WithoutADocumentTheCaptureIsOnlySavedAndCopiedUnlessOneOfThemFails)
{
    CTempFolder folder;
    g_settings.m_bNoDocumentAfterCapture = 1;
    Command(ID_CAPTURE_FULLSCREEN);
    EXPECT_EQ(TabCount(), 1) << "neither saving nor copying is on";

    g_settings.m_bAutoSave = 1;
    g_settings.m_strSaveFolder = folder.Path();
    g_settings.m_bCopyAfterCapture = 1;
    EmptyTheClipboard();
    Command(ID_CAPTURE_FULLSCREEN);
    EXPECT_EQ(TabCount(), 1);
    EXPECT_EQ(folder.FileNames().size(), 1u);
    const RECT screen = VirtualScreen();
    EXPECT_EQ(ReadClipboardPicture().size.cx, screen.right - screen.left);
    EXPECT_EQ(g_nCaptureCount, 2);

    g_settings.m_bCopyAfterCapture = 0;
    g_settings.m_strSaveFolder = "C:\\lumigrab-no-such-folder";
    Command(ID_CAPTURE_FULLSCREEN);
    ASSERT_EQ(TabCount(), 2) << "a failed auto-save keeps the capture as a document";
    EXPECT_EQ(TabText(1), ToGbk("快照-3*"));

    g_settings.m_strSaveFolder = folder.Path();
    g_settings.m_bCopyAfterCapture = 1;
    std::string text;
    {
        const CClipboardHolder holder;
        CDialogAnswerer answerer({CDialogAnswerer::Press(IDOK, &text)});
        Command(ID_CAPTURE_FULLSCREEN);
    }
    EXPECT_EQ(text, LoadText(IDS_COPY_FAILED));
    EXPECT_EQ(TabCount(), 3) << "so does a failed copy";
}

// The system refuses the pin's window, as it does when window handles run out.
LRESULT CALLBACK RefusePins(int code, WPARAM wParam, LPARAM lParam)
{
    char className[32] = {};
    if (code == HCBT_CREATEWND && GetClassNameA(reinterpret_cast<HWND>(wParam), className, sizeof className)
        && lstrcmpA(className, "LumigrabPin") == 0)
        return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A capture that was to be copied and pinned, with no document, and that cannot be
// pinned: the user hears why, and the capture opens as a document rather than being lost.
TEST_F(CaptureWorkflow, ACaptureThatCannotBePinnedSaysSoAndOpensAsADocument)
{
    g_settings.m_bNoDocumentAfterCapture = 1;
    g_settings.m_bCopyAfterCapture = 1;
    g_settings.m_bPinAfterCapture = 1;
    EmptyTheClipboard();
    std::string text;
    {
        CDialogAnswerer answerer({CDialogAnswerer::Press(IDOK, &text)});
        const CHookOwner refusal(SetWindowsHookExA(WH_CBT, RefusePins, nullptr, GetCurrentThreadId()));
        Command(ID_CAPTURE_FULLSCREEN);
    }
    EXPECT_EQ(text, LoadText(IDS_PIN_NO_MEMORY));
    EXPECT_EQ(m_frame->Pins().Count(), 0u);
    EXPECT_EQ(TabCount(), 1);

    Command(ID_CAPTURE_FULLSCREEN);
    EXPECT_EQ(m_frame->Pins().Count(), 1u);
    EXPECT_EQ(TabCount(), 1) << "pinned and copied, the capture needs no document";
    m_frame->Pins().CloseAll();
}

// The rectangle of the last region capture lives beside the program; each test starts
// with none and leaves the file as it found it.
class LastRegion : public CaptureWorkflow {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(MakeModuleFilePath("lumigrab.ini", m_szIniPath));
        m_bHadIni = GetFileAttributesA(m_szIniPath) != INVALID_FILE_ATTRIBUTES;
        if (m_bHadIni)
            m_strIni = ReadFileBytes(m_szIniPath);
        DeleteFileA(m_szIniPath);
        g_settings.m_bHasLastRegion = 0;
        CaptureWorkflow::SetUp();
        g_settings.m_bIncludeCursor = 0;  // the pointer moves between the captures
    }
    void TearDown() override
    {
        CaptureWorkflow::TearDown();
        if (m_bHadIni)
            WriteFileBytes(m_szIniPath, m_strIni);
        else
            DeleteFileA(m_szIniPath);
    }

    bool MenuEnabled()
    {
        HMENU capturePopup = GetSubMenu(m_frame->MenuBar().GetMenu(), 1);
        SendMessageA(*m_frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(capturePopup), 1);
        return !(GetMenuState(capturePopup, ID_CAPTURE_LAST_REGION, MF_BYCOMMAND) & MF_GRAYED);
    }
    bool ButtonEnabled() const
    {
        return SendMessageA(m_frame->ToolBar(), TB_ISBUTTONENABLED, ID_CAPTURE_LAST_REGION, 0) != 0;
    }

    char m_szIniPath[MAX_PATH] = {};
    bool m_bHadIni = false;
    std::string m_strIni;
};

TEST_F(LastRegion, TheToolBarButtonTakesTheSameRectangleAgainOnceThereIsOne)
{
    // Beside the pattern: a click raises the frame, and the pattern, painted by this
    // thread, could not repaint what the hidden frame uncovers before the picture.
    SetWindowPos(*m_frame, nullptr, kPatternPlace.right + 10, 0, 600, 400, SWP_NOZORDER);
    const CPatternWindow window;
    CHideCounter hides(*m_frame);
    Pump();
    EXPECT_FALSE(MenuEnabled());
    EXPECT_FALSE(ButtonEnabled());
    Command(ID_CAPTURE_LAST_REGION);  // a hotkey can still ask
    EXPECT_EQ(hides.Hides(), 0);
    EXPECT_EQ(TabCount(), 0);

    const POINT from{kPatternPlace.left + 100, kPatternPlace.top + 60};
    const POINT to{kPatternPlace.left + 170, kPatternPlace.top + 110};  // across the four quadrants
    CCaptureDriver driver{Input::Drag(from, to)};
    Command(ID_CAPTURE_REGION);
    ASSERT_TRUE(driver.Finish());
    ASSERT_EQ(TabCount(), 1);
    EXPECT_TRUE(g_settings.m_bHasLastRegion);
    const RECT dragged{from.x, from.y, to.x, to.y};
    EXPECT_TRUE(EqualRect(&g_settings.m_rcLastRegion, &dragged));
    HBITMAP first = ActiveView().Document().Image();
    Pump();
    EXPECT_TRUE(MenuEnabled());
    ASSERT_TRUE(ButtonEnabled());

    RECT button{};
    SendMessageA(m_frame->ToolBar(), TB_GETRECT, ID_CAPTURE_LAST_REGION, reinterpret_cast<LPARAM>(&button));
    MapWindowPoints(m_frame->ToolBar(), nullptr, reinterpret_cast<POINT*>(&button), 2);
    ClickAtScreen(CentreOf(button));
    ASSERT_TRUE(RunLoopUntil([this] { return TabCount() == 2; }));
    EXPECT_EQ(hides.Hides(), 2) << "the frame stepped aside";
    EXPECT_TRUE(SamePixels(first, ActiveView().Document().Image()));
}

// A monitor removed: what is left of the rectangle is taken, and with nothing left a
// message says why nothing was.
TEST_F(LastRegion, ARectangleOffTheScreenIsClippedToItOrRefusedWithAMessage)
{
    const RECT screen = VirtualScreen();
    g_settings.m_bHasLastRegion = 1;
    g_settings.m_rcLastRegion = RECT{screen.right - 30, screen.bottom - 20, screen.right + 50, screen.bottom + 40};
    Command(ID_CAPTURE_LAST_REGION);
    ASSERT_EQ(TabCount(), 1);
    EXPECT_EQ(ActiveView().ContentSize().cx, 30);
    EXPECT_EQ(ActiveView().ContentSize().cy, 20);

    g_settings.m_rcLastRegion = RECT{screen.right + 10, screen.top, screen.right + 90, screen.top + 60};
    std::string text;
    CDialogAnswerer answerer({CDialogAnswerer::Press(IDOK, &text)});
    Command(ID_CAPTURE_LAST_REGION);
    EXPECT_EQ(text, LoadText(IDS_LAST_REGION_OFF_SCREEN));
    EXPECT_EQ(TabCount(), 1);
    EXPECT_EQ(g_nCaptureCount, 1);
}

}  // namespace
