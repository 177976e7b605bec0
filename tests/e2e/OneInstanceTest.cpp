// Starting the program while a copy runs: the later start hands its files to that copy
// and ends; /tray starts the copy hidden by its tray icon.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <thread>

#include "Gbk.h"
#include "KeyInput.h"
#include "e2e/ProgramUnderTest.h"
#include "res/resource.h"

namespace {

class OneInstanceTest : public ::testing::Test {
protected:
    void Start(const std::string& arguments = "")
    {
        ASSERT_TRUE(m_program.Start(arguments));
        // The frame is there hidden while it makes its bars and tabs.
        ASSERT_TRUE(PumpUntil(
            [&] {
                m_frame = m_program.HiddenMainFrame(0);
                m_tabs = m_frame ? FindWindowExA(m_frame, nullptr, WC_TABCONTROLA, nullptr) : nullptr;
                return m_tabs && TrayIconShown(m_frame);
            },
            10000));
        // Answered once the program reads its messages, after it has shown the frame or not.
        SendMessageTimeoutA(m_frame, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr);
    }

    void TearDown() override
    {
        PostMessageA(m_frame, WM_CLOSE, 0, 0);
        DWORD exitCode = 0;
        EXPECT_TRUE(m_program.WaitForExit(10000, &exitCode));
    }

    // A later start with the other arguments and then one picture; its exit code, or -1
    // while it still runs.
    DWORD StartSecondWithPicture(const std::string& before = "")
    {
        const std::string picture = m_second.PathOf("handed.bmp");
        EXPECT_TRUE(WriteBlankImage(picture, 40, 30, 1));
        EXPECT_TRUE(m_second.Start(before + (before.empty() ? "" : " ") + "\"" + picture + "\""));
        DWORD exitCode = static_cast<DWORD>(-1);
        m_second.WaitForExit(15000, &exitCode);
        return exitCode;
    }

    int TabCount() const { return static_cast<int>(SendMessageA(m_tabs, TCM_GETITEMCOUNT, 0, 0)); }

    CProgramUnderTest m_program;
    CProgramUnderTest m_second;
    HWND m_frame = nullptr;
    HWND m_tabs = nullptr;
};

// Waiting in the tray from the start, with the hotkeys taken; a later start's file
// brings the frame out and opens there.
TEST_F(OneInstanceTest, ATrayStartWaitsHiddenAndALaterStartsFileOpensInIt)
{
    Start("/TRAY");
    EXPECT_FALSE(IsWindowVisible(m_frame));
    EXPECT_FALSE(RegisterHotKey(nullptr, 1, MOD_CONTROL, VK_F8)) << "the full-screen hotkey is the program's";

    EXPECT_EQ(0u, StartSecondWithPicture());
    EXPECT_TRUE(PumpUntil([&] { return TabCount() == 1 && IsWindowVisible(m_frame); }, 10000));
    EXPECT_EQ(ToGbk("handed.bmp"), m_program.TabText(m_tabs, 0));
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == m_frame; }, 5000));
}

// Opening under a modal window would put the document behind it: the files wait.
TEST_F(OneInstanceTest, FilesHandedOverWhileADialogIsOpenOpenWhenItCloses)
{
    Start();
    CProgramUnderTest::PostCommand(m_frame, ID_APP_ABOUT);
    HWND about = m_program.WaitForWindow("#32770", 10000);
    ASSERT_NE(nullptr, about);

    EXPECT_EQ(0u, StartSecondWithPicture());
    // Posted behind the handed files: once the status bar has gone, they have been seen to.
    HWND statusBar = FindWindowExA(m_frame, nullptr, STATUSCLASSNAMEA, nullptr);
    CProgramUnderTest::PostCommand(m_frame, ID_VIEW_STATUS_BAR);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(statusBar); }, 5000));
    EXPECT_EQ(0, TabCount());

    ASSERT_TRUE(CProgramUnderTest::PressButton(about, IDOK));
    EXPECT_TRUE(PumpUntil([&] { return TabCount() == 1; }, 10000));
}

// Each file is opened or refused with its reason, as the first start would: a path too
// long for the program, a name the code page lost a character of, and a good picture.
TEST_F(OneInstanceTest, EveryHandedFileOpensOrSaysWhyItCannot)
{
    Start();
    const std::string tooLong = m_second.PathOf((std::string(280, 'a') + ".png").c_str());
    EXPECT_EQ(0u, StartSecondWithPicture("\"" + tooLong + "\" C:\\lost?name.png"));
    for (const char* said : {"无法加载文件“", "无法打开“C:\\lost?name.png”：文件名中有系统代码页无法表示的字符"}) {
        HWND box = m_program.WaitForMessageBox(10000);
        ASSERT_NE(nullptr, box) << said;
        EXPECT_EQ(0u, MessageBoxText(box).find(ToGbk(said))) << MessageBoxText(box);
        ASSERT_TRUE(CProgramUnderTest::PressButton(box, IDOK));
        PumpUntil([&] { return !IsWindow(box); }, 5000);
    }
    EXPECT_TRUE(PumpUntil([&] { return TabCount() == 1; }, 10000));
}

// The overlay keeps the front and the keys; the file opens once Esc has ended the capture.
TEST_F(OneInstanceTest, FilesHandedOverDuringACaptureOpenWhenItEnds)
{
    Start();
    auto overlay = [] { return FindWindowA("SnapcoreCaptureOverlay", nullptr); };
    CProgramUnderTest::PostCommand(m_frame, ID_CAPTURE_REGION);
    ASSERT_TRUE(PumpUntil([&] { return overlay() && IsWindowVisible(overlay()); }, 10000));
    SetForegroundWindow(overlay());
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == overlay(); }, 5000));

    EXPECT_EQ(0u, StartSecondWithPicture());
    HWND statusBar = FindWindowExA(m_frame, nullptr, STATUSCLASSNAMEA, nullptr);
    CProgramUnderTest::PostCommand(m_frame, ID_VIEW_STATUS_BAR);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(statusBar); }, 5000));
    EXPECT_EQ(0, TabCount());
    EXPECT_EQ(overlay(), GetForegroundWindow());

    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(PumpUntil([&] { return overlay() == nullptr || !IsWindowVisible(overlay()); }, 5000));
    EXPECT_TRUE(PumpUntil([&] { return TabCount() == 1; }, 10000));
}

// The instance name held and, with a frame, a window of the frame's class on a thread
// that never reads its messages: a copy that hangs. Without one: a copy on its way out.
class CFrozenCopy {
public:
    explicit CFrozenCopy(bool withFrame = true)
        : m_hName(CreateMutexA(nullptr, TRUE, "Local\\Lumigrab.Instance")),
          m_bNameWasFree(m_hName && GetLastError() != ERROR_ALREADY_EXISTS),
          m_hRelease(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          m_thread([this, withFrame] {
              if (withFrame)
                  Freeze();
          })
    {
        if (withFrame)
            PumpUntil([this] { return m_hWnd != nullptr; }, 5000);
    }
    ~CFrozenCopy()
    {
        SetEvent(m_hRelease);
        m_thread.join();
        CloseHandle(m_hRelease);
        ReleaseMutex(m_hName);
        CloseHandle(m_hName);
    }
    bool HoldsTheName() const { return m_bNameWasFree; }
    HWND Frame() const { return m_hWnd; }

private:
    void Freeze()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = CProgramUnderTest::kFrameClass;
        RegisterClassA(&wc);
        HWND window = CreateWindowA(wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                    wc.hInstance, nullptr);
        m_hWnd = window;
        WaitForSingleObject(m_hRelease, INFINITE);
        DestroyWindow(window);
    }

    HANDLE m_hName;
    bool m_bNameWasFree;
    HANDLE m_hRelease;
    HWND volatile m_hWnd = nullptr;
    std::thread m_thread;
};

TEST(OneInstance, ACopyThatDoesNotAnswerIsReportedAndTheLaterStartEnds)
{
    CFrozenCopy frozen;
    ASSERT_TRUE(frozen.HoldsTheName()) << "a copy is still running";
    ASSERT_NE(nullptr, frozen.Frame());
    CProgramUnderTest second;
    // The wait is the gate's; its length is not what is tested here.
    SetEnvironmentVariableA("LUMIGRAB_ANSWER_TIMEOUT_MS", "300");
    const bool started = second.Start();
    SetEnvironmentVariableA("LUMIGRAB_ANSWER_TIMEOUT_MS", nullptr);
    ASSERT_TRUE(started);
    HWND box = second.WaitForMessageBox(20000);
    ASSERT_NE(nullptr, box);
    const std::string text = MessageBoxText(box);
    const std::string said = ToGbk("Lumigrab 已在运行，但在 5 秒内没有响应。\n\n");
    EXPECT_EQ(0u, text.find(said)) << text;
    EXPECT_GT(text.size(), said.size()) << "with the reason";
    EXPECT_EQ(nullptr, second.FindWindow(CProgramUnderTest::kFrameClass));
    EXPECT_TRUE(CProgramUnderTest::PressButton(box, IDOK));
    DWORD exitCode = 0;
    EXPECT_TRUE(second.WaitForExit(10000, &exitCode));
    EXPECT_EQ(2u, exitCode);
}

// The name is let go of when the copy ends; the later start has waited for it, and runs.
TEST(OneInstance, AStartDuringACopysExitRunsByItselfOnceTheCopyHasGone)
{
    CProgramUnderTest later;
    {
        CFrozenCopy closing(false);
        ASSERT_TRUE(closing.HoldsTheName()) << "a copy is still running";
        ASSERT_TRUE(later.Start());
        EXPECT_EQ(nullptr, later.WaitForWindow(CProgramUnderTest::kFrameClass, 2000)) << "ran beside the copy";
    }
    HWND frame = later.MainFrame();
    ASSERT_NE(nullptr, frame);
    PostMessageA(frame, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    EXPECT_TRUE(later.WaitForExit(10000, &exitCode));
}

}  // namespace
