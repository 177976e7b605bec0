#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "Gbk.h"
#include "e2e/ProgramUnderTest.h"

// Files named on the command line or dropped on the frame open as the Open command
// opens its choice, messages included.
namespace {
void WriteBytes(const std::string& path, const char* bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes, static_cast<DWORD>(strlen(bytes)), &written, nullptr);
    CloseHandle(file);
}

class OpenFilesTest : public ::testing::Test {
protected:
    void Start(const std::string& arguments = "")
    {
        ASSERT_TRUE(m_program.Start(arguments));
        m_frame = m_program.MainFrame();
        ASSERT_NE(nullptr, m_frame);
        m_tabs = FindWindowExA(m_frame, nullptr, WC_TABCONTROLA, nullptr);
        ASSERT_NE(nullptr, m_tabs);
    }

    void TearDown() override
    {
        PostMessageA(m_frame, WM_CLOSE, 0, 0);
        DWORD exitCode = 0;
        EXPECT_TRUE(m_program.WaitForExit(10000, &exitCode));
    }

    int TabCount() const { return static_cast<int>(SendMessageA(m_tabs, TCM_GETITEMCOUNT, 0, 0)); }

    // Waits for the failed-open message box, returns its text and answers it.
    std::string AnswerOpenFailure()
    {
        HWND box = m_program.WaitForWindow("#32770", 10000, ToGbk("加载文件失败").c_str());
        if (!box)
            return "no message";
        const std::string text = MessageBoxText(box);
        EXPECT_EQ(m_frame, GetWindow(box, GW_OWNER));
        EXPECT_TRUE(CProgramUnderTest::PressButton(box, IDOK));
        return text;
    }

    CProgramUnderTest m_program;
    HWND m_frame = nullptr;
    HWND m_tabs = nullptr;
};

TEST_F(OpenFilesTest, CommandLineFilesOpenInTheirOrder)
{
    const std::string first = m_program.PathOf("a.bmp");
    const std::string second = m_program.PathOf(ToGbk("截图 二.jpg").c_str());
    ASSERT_TRUE(WriteBlankImage(first, 64, 48, 1));
    ASSERT_TRUE(WriteBlankImage(second, 80, 60, 0));

    Start("\"" + first + "\" \"" + second + "\"");
    ASSERT_TRUE(PumpUntil([&] { return TabCount() == 2; }, 10000));
    EXPECT_EQ("a.bmp", m_program.TabText(m_tabs, 0));
    EXPECT_EQ(ToGbk("截图 二.jpg"), m_program.TabText(m_tabs, 1));
    EXPECT_TRUE(IsWindowVisible(m_frame));
}

TEST_F(OpenFilesTest, DroppedFilesOpenOneAfterTheOtherWithTheOpenMessages)
{
    Start();
    const std::string picture = m_program.PathOf("a.bmp");
    const std::string notes = m_program.PathOf("notes.tif");
    const std::string broken = m_program.PathOf("broken.bmp");
    const std::string photo = m_program.PathOf("c d.jpg");
    ASSERT_TRUE(WriteBlankImage(picture, 64, 48, 1));
    WriteBytes(notes, "GIF89a");
    WriteBytes(broken, "BM not really");
    ASSERT_TRUE(WriteBlankImage(photo, 80, 60, 0));

    m_program.DropFiles(m_frame, {picture, notes, broken, photo});
    EXPECT_EQ(ToGbk("不支持的文件类型！"), AnswerOpenFailure());
    EXPECT_EQ(1, TabCount()) << "the files before the failure are open, those after it wait";
    const std::string failure = AnswerOpenFailure();
    EXPECT_EQ(0u, failure.find(ToGbk("无法加载文件“") + broken + ToGbk("”。"))) << failure;
    ASSERT_TRUE(PumpUntil([&] { return TabCount() == 2; }, 10000));
    EXPECT_EQ("a.bmp", m_program.TabText(m_tabs, 0));
    EXPECT_EQ("c d.jpg", m_program.TabText(m_tabs, 1));
}
}
