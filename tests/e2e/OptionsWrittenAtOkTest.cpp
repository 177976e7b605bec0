// What the Options sheet's OK stores is on disk at once, not only at exit: a program
// that is killed or crashes afterwards keeps it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "Gbk.h"
#include "e2e/ProgramUnderTest.h"
#include "res/resource.h"

namespace {

// Opens the sheet, types the delay on the General page and presses OK.
void SetDelayWithOk(const CProgramUnderTest& program, HWND frame, const char* delay)
{
    CProgramUnderTest::PostCommand(frame, ID_VIEW_OPTIONS);
    HWND sheet = program.WaitForWindow("#32770", 10000, ToGbk("选项").c_str());
    ASSERT_NE(sheet, nullptr);
    const HWND generalPage = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    SetDlgItemTextA(generalPage, IDC_CAPTURE_DELAY, delay);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
}

}  // namespace

TEST(OptionsWrittenAtOk, TheFileHoldsTheChoiceBeforeExitAndAFailedWriteSaysSo)
{
    CProgramUnderTest program;
    const std::string path = program.PathOf("lumigrab.cfg");
    ASSERT_TRUE(program.Start());
    HWND frame = program.MainFrame();
    ASSERT_NE(frame, nullptr);
    SetDelayWithOk(program, frame, "1234");
    ASSERT_TRUE(PumpUntil([&] { return ReadFileBytes(path).size() >= 16; }, 10000)) << "nothing written at OK";
    const std::string atOk = ReadFileBytes(path);
    EXPECT_EQ(atOk.substr(12, 4), std::string("\xD2\x04\0\0", 4)) << "the delay, 1234";

    // Another program holds the file: the user is told, and the file keeps its bytes.
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    SetDelayWithOk(program, frame, "999");
    HWND box = program.WaitForWindow("#32770", 10000, ToGbk("Lumigrab").c_str());
    CloseHandle(held);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), ToGbk("无法写入配置信息！"));
    EXPECT_TRUE(CProgramUnderTest::PressButton(box, IDOK));
    EXPECT_EQ(ReadFileBytes(path), atOk);

    // The exit writes the same record the same way.
    SetDelayWithOk(program, frame, "1234");
    ASSERT_TRUE(PumpUntil([&] { return ReadFileBytes(path) == atOk; }, 10000));
    PostMessageA(frame, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    ASSERT_TRUE(program.WaitForExit(10000, &exitCode));
    EXPECT_EQ(ReadFileBytes(path), atOk);
}
