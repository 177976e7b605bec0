#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "e2e/ProgramUnderTest.h"
#include "res/resource.h"

namespace {
std::vector<unsigned char> ReadWholeFile(const std::string& path)
{
    std::vector<unsigned char> bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    CloseHandle(file);
    return bytes;
}

void CloseAndExpectExitCodeOne(CProgramUnderTest& program, HWND frame)
{
    PostMessageA(frame, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    ASSERT_TRUE(program.WaitForExit(10000, &exitCode));
    EXPECT_EQ(1u, exitCode);
}
}

TEST(MainFrame, SettingsFileIsWrittenOnlyWhenSomethingChanged)
{
    CProgramUnderTest program;
    const std::string settings = program.PathOf("lumigrab.cfg");
    {
        ASSERT_TRUE(program.Start());
        HWND frame = program.MainFrame();
        ASSERT_NE(nullptr, frame);
        CloseAndExpectExitCodeOne(program, frame);
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(settings.c_str())) << "nothing changed, nothing written";
    }
    ASSERT_TRUE(program.Start());
    HWND frame = program.MainFrame();
    ASSERT_NE(nullptr, frame);
    CProgramUnderTest::PostCommand(frame, ID_CAPTURE_INCLUDE_CURSOR);
    CloseAndExpectExitCodeOne(program, frame);

    const std::vector<unsigned char> bytes = ReadWholeFile(settings);
    ASSERT_GE(bytes.size(), 68u);
    EXPECT_EQ(1, bytes[4]) << "include cursor is on";
    EXPECT_EQ(1, bytes[8]) << "the other fields have their defaults";
    EXPECT_EQ(300, bytes[12] | bytes[13] << 8);
}

TEST(MainFrame, MinimisingHidesTheWindowUntilTheTrayCommandShowsIt)
{
    CProgramUnderTest program;
    ASSERT_TRUE(program.Start());
    HWND frame = program.MainFrame();
    ASSERT_NE(nullptr, frame);

    PostMessageA(frame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(frame); }, 5000));
    CProgramUnderTest::PostCommand(frame, ID_TRAY_SHOW);
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(frame) && !IsIconic(frame); }, 5000));
    CloseAndExpectExitCodeOne(program, frame);
}
