// The Options sheet of the real program: what OK stores reaches the settings file at
// exit and comes back into the sheet at the next start.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "Gbk.h"
#include "e2e/ProgramUnderTest.h"
#include "res/resource.h"

namespace {

HWND OpenOptions(const CProgramUnderTest& program, HWND frame)
{
    CProgramUnderTest::PostCommand(frame, ID_VIEW_OPTIONS);
    return program.WaitForWindow("#32770", 10000, ToGbk("选项").c_str());
}

HWND ShowPage(HWND sheet, int index)
{
    SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

void CloseSheet(HWND sheet, int button)
{
    PostMessageA(sheet, PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0);
    EXPECT_TRUE(PumpUntil([sheet] { return !IsWindow(sheet); }, 5000));
}

void ExitProgram(CProgramUnderTest& program, HWND frame)
{
    EXPECT_TRUE(program.CloseLettingCapturesGo(frame));
}

uint32_t ReadU32(const std::string& bytes, size_t offset)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

}  // namespace

TEST(Options, NewPrefixAndDelayReachTheFileAndComeBackAfterARestart)
{
    CProgramUnderTest program;
    ASSERT_TRUE(program.Start());
    HWND frame = program.MainFrame();
    ASSERT_NE(nullptr, frame);
    HWND sheet = OpenOptions(program, frame);
    ASSERT_NE(nullptr, sheet);
    SetDlgItemTextA(ShowPage(sheet, 0), IDC_CAPTURE_DELAY, "1234");
    SetDlgItemTextA(ShowPage(sheet, 1), IDC_NAME_PREFIX, "e2e-");
    CloseSheet(sheet, PSBTN_OK);
    ExitProgram(program, frame);

    const std::string bytes = ReadFileBytes(program.PathOf("lumigrab.cfg"));
    ASSERT_GE(bytes.size(), 72u);
    EXPECT_EQ(1234u, ReadU32(bytes, 12));
    EXPECT_EQ(4u, ReadU32(bytes, 24));
    EXPECT_EQ("e2e-", bytes.substr(28, 4));

    ASSERT_TRUE(program.Start());
    frame = program.MainFrame();
    ASSERT_NE(nullptr, frame);
    sheet = OpenOptions(program, frame);
    ASSERT_NE(nullptr, sheet);
    char delay[16] = {}, prefix[16] = {};
    GetDlgItemTextA(ShowPage(sheet, 0), IDC_CAPTURE_DELAY, delay, sizeof delay);
    GetDlgItemTextA(ShowPage(sheet, 1), IDC_NAME_PREFIX, prefix, sizeof prefix);
    CloseSheet(sheet, PSBTN_CANCEL);
    ExitProgram(program, frame);
    EXPECT_STREQ("1234", delay);
    EXPECT_STREQ("e2e-", prefix);
}

TEST(Options, AutoSaveTurnedOnInTheSheetSavesTheNextCapture)
{
    CProgramUnderTest program;
    const std::string folder = program.PathOf("shots");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(program.Start());
    HWND frame = program.MainFrame();
    ASSERT_NE(nullptr, frame);
    HWND sheet = OpenOptions(program, frame);
    ASSERT_NE(nullptr, sheet);
    HWND savePage = ShowPage(sheet, 1);
    SendDlgItemMessageA(savePage, IDC_AUTO_SAVE, BM_CLICK, 0, 0);
    SetDlgItemTextA(savePage, IDC_SAVE_FOLDER, folder.c_str());
    CloseSheet(sheet, PSBTN_OK);

    CProgramUnderTest::PostCommand(frame, ID_CAPTURE_FULLSCREEN);
    HWND tabs = FindWindowExA(frame, nullptr, WC_TABCONTROLA, nullptr);
    EXPECT_TRUE(PumpUntil([&] { return SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0) == 1; }, 15000));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.jpg").c_str(), &found);
    EXPECT_NE(INVALID_HANDLE_VALUE, search) << "no JPEG in the folder chosen in the sheet";
    if (search != INVALID_HANDLE_VALUE) {
        EXPECT_EQ(0u, std::string(found.cFileName).rfind(ToGbk("快照-"), 0)) << found.cFileName;
        FindClose(search);
    }
    ExitProgram(program, frame);
}
